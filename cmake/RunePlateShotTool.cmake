# The end-to-end tests of the Windows build compare screenshots with the
# reference frames of the native runeplate-shot, so the Windows build carries
# a native build of that one tool in native-tools/: configured here, when the
# Windows build is configured, and brought up to date by the target
# runeplate_native_shot whenever the Windows build is built. Sets
# RUNEPLATE_SHOT to the tool's file.
set(RUNEPLATE_SHOT_BUILD_DIR "${CMAKE_BINARY_DIR}/native-tools")
set(path_file "${RUNEPLATE_SHOT_BUILD_DIR}/runeplate-shot.path")
set(log "${RUNEPLATE_SHOT_BUILD_DIR}/configure.log")
file(MAKE_DIRECTORY "${RUNEPLATE_SHOT_BUILD_DIR}")
message(STATUS "Configuring the native runeplate-shot in ${RUNEPLATE_SHOT_BUILD_DIR}")
# A native configure of this source tree: nothing of the cross build may
# reach it, not even from the environment.
execute_process(
  COMMAND "${CMAKE_COMMAND}" -E env --unset=CMAKE_TOOLCHAIN_FILE --unset=CC --unset=CXX
          "${CMAKE_COMMAND}" -S "${CMAKE_SOURCE_DIR}" -B "${RUNEPLATE_SHOT_BUILD_DIR}"
          -G "${CMAKE_GENERATOR}" -DCMAKE_BUILD_TYPE=Release -DRUNEPLATE_BUILD_BENCH=OFF
          "-DCMAKE_PROJECT_Runeplate_INCLUDE=${CMAKE_CURRENT_LIST_DIR}/RunePlateShotPath.cmake"
  RESULT_VARIABLE result
  OUTPUT_FILE "${log}"
  ERROR_FILE "${log}")
if(NOT result EQUAL 0 OR NOT EXISTS "${path_file}")
  message(FATAL_ERROR "Configuring the native runeplate-shot failed; see ${log}")
endif()
file(READ "${path_file}" RUNEPLATE_SHOT)

add_custom_target(runeplate_native_shot ALL
  COMMAND "${CMAKE_COMMAND}" --build "${RUNEPLATE_SHOT_BUILD_DIR}" --target runeplate-shot
  COMMENT "Building the native runeplate-shot for the end-to-end tests"
  VERBATIM)
