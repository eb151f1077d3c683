# Cross toolchain: a bare Cortex-M3 (the TI LM3S6965 evaluation board that
# qemu-system-arm emulates); see ArmNoneEabi.cmake.
set(RUNEPLATE_MCU cortex-m3)
set(RUNEPLATE_ARM_CPU cortex-m3)
include(${CMAKE_CURRENT_LIST_DIR}/ArmNoneEabi.cmake)
