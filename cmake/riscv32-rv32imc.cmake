# Cross toolchain: a bare RV32IMC core (the class of the ESP32-C3 and CH32V),
# as qemu-system-riscv32's virt board emulates it; Debian's
# riscv64-unknown-elf GCC with picolibc. The freestanding core, the C
# interface and the framebuffer firmware only; the firmware talks to the host
# through semihosting (picolibc's libsemihost and its semihosting crt0).
#
# The toolchain has no rv32imc multilib: GCC links the rv32im libraries,
# which run on an IMC core (only our own code is compressed).
set(CMAKE_SYSTEM_NAME Generic)
set(CMAKE_SYSTEM_PROCESSOR riscv32)
set(RUNEPLATE_MCU riscv32)

find_program(CMAKE_C_COMPILER riscv64-unknown-elf-gcc REQUIRED)
find_program(CMAKE_CXX_COMPILER riscv64-unknown-elf-g++ REQUIRED)
find_program(RUNEPLATE_MCU_SIZE riscv64-unknown-elf-size)
set(CMAKE_TRY_COMPILE_TARGET_TYPE STATIC_LIBRARY)

set(flags "-march=rv32imc -mabi=ilp32 --specs=picolibc.specs -ffunction-sections -fdata-sections")
set(CMAKE_C_FLAGS_INIT "${flags}")
set(CMAKE_CXX_FLAGS_INIT "${flags} -fno-exceptions -fno-rtti -fno-threadsafe-statics")
# The virt board's RAM starts at 0x80000000, where qemu jumps with -bios
# none: picolibc's linker script puts the image (its "flash") there and the
# data 1 MB higher. (The compile flags, picolibc.specs among them, are on
# the link line too.)
set(CMAKE_EXE_LINKER_FLAGS_INIT
  "--oslib=semihost --crt0=semihost -Wl,--gc-sections -Wl,--defsym=__flash=0x80000000 -Wl,--defsym=__flash_size=0x100000 -Wl,--defsym=__ram=0x80100000 -Wl,--defsym=__ram_size=0x100000")
