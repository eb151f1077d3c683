# A microcontroller build needs two native programs of this tree: the font
# generator (for the compact font the firmware carries) and the framebuffer
# example (whose picture the firmware's must equal). They come from a native
# build in native-tools/: configured here, when the microcontroller build is
# configured, and brought up to date by the target runeplate_native_tools.
# Sets RUNEPLATE_NATIVE_FONTGEN and RUNEPLATE_NATIVE_FRAMEBUFFER to their files.
set(native_dir "${CMAKE_BINARY_DIR}/native-tools")
set(log "${native_dir}/configure.log")
file(MAKE_DIRECTORY "${native_dir}")
message(STATUS "Configuring the native tools in ${native_dir}")
# A native configure of this source tree: nothing of the cross build may
# reach it, not even from the environment.
execute_process(
  COMMAND "${CMAKE_COMMAND}" -E env --unset=CMAKE_TOOLCHAIN_FILE --unset=CC --unset=CXX
          "${CMAKE_COMMAND}" -S "${CMAKE_SOURCE_DIR}" -B "${native_dir}"
          -G "${CMAKE_GENERATOR}" -DCMAKE_BUILD_TYPE=Release -DRUNEPLATE_BUILD_BENCH=OFF
          "-DCMAKE_PROJECT_Runeplate_INCLUDE=${CMAKE_CURRENT_LIST_DIR}/RunePlateNativeToolPaths.cmake"
  RESULT_VARIABLE result
  OUTPUT_FILE "${log}"
  ERROR_FILE "${log}")
if(NOT result EQUAL 0 OR NOT EXISTS "${native_dir}/runeplate-fontgen.path")
  message(FATAL_ERROR "Configuring the native tools failed; see ${log}")
endif()
file(READ "${native_dir}/runeplate-fontgen.path" RUNEPLATE_NATIVE_FONTGEN)
file(READ "${native_dir}/runeplate_framebuffer.path" RUNEPLATE_NATIVE_FRAMEBUFFER)

add_custom_target(runeplate_native_tools ALL
  COMMAND "${CMAKE_COMMAND}" --build "${native_dir}" --target runeplate-fontgen runeplate_framebuffer
  BYPRODUCTS "${RUNEPLATE_NATIVE_FONTGEN}" "${RUNEPLATE_NATIVE_FRAMEBUFFER}"
  COMMENT "Building the native font generator and framebuffer example"
  VERBATIM)
