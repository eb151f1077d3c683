# What the Cortex-M toolchain files share (they set RUNEPLATE_MCU and
# RUNEPLATE_ARM_CPU first): Debian's arm-none-eabi GCC with newlib-nano. The
# freestanding core, the C interface and the framebuffer firmware only; the
# firmware talks to the host through semihosting (rdimon).
set(CMAKE_SYSTEM_NAME Generic)
set(CMAKE_SYSTEM_PROCESSOR arm)

find_program(CMAKE_C_COMPILER arm-none-eabi-gcc REQUIRED)
find_program(CMAKE_CXX_COMPILER arm-none-eabi-g++ REQUIRED)
find_program(RUNEPLATE_MCU_SIZE arm-none-eabi-size)
# The compilers cannot link a program without the board's start-up code.
set(CMAKE_TRY_COMPILE_TARGET_TYPE STATIC_LIBRARY)

set(flags "-mcpu=${RUNEPLATE_ARM_CPU} -mthumb -ffunction-sections -fdata-sections")
set(CMAKE_C_FLAGS_INIT "${flags}")
set(CMAKE_CXX_FLAGS_INIT "${flags} -fno-exceptions -fno-rtti -fno-threadsafe-statics")
set(CMAKE_EXE_LINKER_FLAGS_INIT "--specs=nano.specs --specs=rdimon.specs -nostartfiles -Wl,--gc-sections")
