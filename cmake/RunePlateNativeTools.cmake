# A microcontroller build needs two native programs of this tree: the font
# generator (for the compact font the firmware carries) and the framebuffer
# example (whose picture the firmware's must equal). They come from a native
# build in native-tools/, brought up to date by the target
# runeplate_native_tools. Sets RUNEPLATE_NATIVE_FONTGEN and
# RUNEPLATE_NATIVE_FRAMEBUFFER to their files.
include(RunePlateNativeBuild)
set(native_dir "${CMAKE_BINARY_DIR}/native-tools")
message(STATUS "Configuring the native tools in ${native_dir}")
runeplate_configure_native_build("${native_dir}" "${CMAKE_CURRENT_LIST_DIR}/RunePlateNativeToolPaths.cmake")
file(READ "${native_dir}/runeplate-fontgen.path" RUNEPLATE_NATIVE_FONTGEN)
file(READ "${native_dir}/runeplate_framebuffer.path" RUNEPLATE_NATIVE_FRAMEBUFFER)

add_custom_target(runeplate_native_tools ALL
  COMMAND "${CMAKE_COMMAND}" --build "${native_dir}" --target runeplate-fontgen runeplate_framebuffer
  BYPRODUCTS "${RUNEPLATE_NATIVE_FONTGEN}" "${RUNEPLATE_NATIVE_FRAMEBUFFER}"
  COMMENT "Building the native font generator and framebuffer example"
  VERBATIM)
