# The microcontroller builds (presets cortex-m3, cortex-m0, riscv32 and avr,
# toolchain files arm-none-eabi-cortex-m3.cmake, arm-none-eabi-cortex-m0.cmake,
# riscv32-rv32imc.cmake and avr-atmega328p.cmake, which set RUNEPLATE_MCU):
# the freestanding core as C++14, which is what avr-g++ 5 speaks, the framebuffer example as firmware for the target, and the tests
# that run it in an emulator and compare its picture with the native
# example's. The compact font header and the native example come from a
# native build of this tree in native-tools/ (see RunePlateNativeTools.cmake).
set(CMAKE_CXX_STANDARD 14)
set(CMAKE_CXX_EXTENSIONS OFF)
add_compile_options(-ffreestanding)

add_subdirectory(src)
include(RunePlateNativeTools)
add_subdirectory(examples/framebuffer/${RUNEPLATE_MCU})
add_subdirectory(tests/mcu)
