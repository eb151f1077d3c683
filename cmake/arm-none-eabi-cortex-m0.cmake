# Cross toolchain: a bare Cortex-M0, ARMv6-M (the class of the RP2040, SAMD21
# and nRF51; here the micro:bit's nRF51822 that qemu-system-arm emulates),
# whose Thumb subset lacks the M3's wide instructions and division; newlib
# comes from the toolchain's thumb/v6-m multilib. See ArmNoneEabi.cmake.
set(RUNEPLATE_MCU cortex-m0)
set(RUNEPLATE_ARM_CPU cortex-m0)
include(${CMAKE_CURRENT_LIST_DIR}/ArmNoneEabi.cmake)
