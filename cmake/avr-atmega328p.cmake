# Cross toolchain: the 8-bit ATmega328P of an Arduino Uno (32 KB flash, 2 KB
# RAM) at 16 MHz, as simavr emulates it; Debian's avr-gcc (GCC 5.4) with
# avr-libc, which has no C++ standard headers. The freestanding core, the C
# interface and the framebuffer firmware only.
set(CMAKE_SYSTEM_NAME Generic)
set(CMAKE_SYSTEM_PROCESSOR avr)
set(RUNEPLATE_MCU avr)

find_program(CMAKE_C_COMPILER avr-gcc REQUIRED)
find_program(CMAKE_CXX_COMPILER avr-g++ REQUIRED)
find_program(RUNEPLATE_MCU_SIZE avr-size)
set(CMAKE_TRY_COMPILE_TARGET_TYPE STATIC_LIBRARY)

# Link-time optimisation (through avr-gcc-ar's plugin), shared prologues and
# relaxed calls: each saves about a kilobyte of the Uno's 32 KB, together
# enough to keep the framebuffer example under 20 KB with the whole font.
set(flags "-mmcu=atmega328p -DF_CPU=16000000UL -ffunction-sections -fdata-sections -mcall-prologues -mrelax")
set(CMAKE_C_FLAGS_INIT "${flags}")
set(CMAKE_CXX_FLAGS_INIT "${flags} -fno-exceptions -fno-rtti -fno-threadsafe-statics")
set(CMAKE_EXE_LINKER_FLAGS_INIT "-mmcu=atmega328p -mcall-prologues -mrelax -Wl,--gc-sections")
set(CMAKE_INTERPROCEDURAL_OPTIMIZATION ON)
