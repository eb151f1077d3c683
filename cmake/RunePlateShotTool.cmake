# The end-to-end tests of the Windows build compare screenshots with the
# reference frames of the native runeplate-shot, so the Windows build carries
# a native build of that one tool in native-tools/: configured here, when the
# Windows build is configured, and brought up to date by the target
# runeplate_native_shot whenever the Windows build is built. Sets
# RUNEPLATE_SHOT to the tool's file.
set(RUNEPLATE_SHOT_BUILD_DIR "${CMAKE_BINARY_DIR}/native-tools")
set(path_file "${RUNEPLATE_SHOT_BUILD_DIR}/runeplate-shot.path")
include(RunePlateNativeBuild)
message(STATUS "Configuring the native runeplate-shot in ${RUNEPLATE_SHOT_BUILD_DIR}")
runeplate_configure_native_build("${RUNEPLATE_SHOT_BUILD_DIR}" "${CMAKE_CURRENT_LIST_DIR}/RunePlateShotPath.cmake")
file(READ "${path_file}" RUNEPLATE_SHOT)

add_custom_target(runeplate_native_shot ALL
  COMMAND "${CMAKE_COMMAND}" --build "${RUNEPLATE_SHOT_BUILD_DIR}" --target runeplate-shot
  COMMENT "Building the native runeplate-shot for the end-to-end tests"
  VERBATIM)
