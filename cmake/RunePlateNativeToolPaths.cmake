# Read into the native build that RunePlateNativeTools.cmake configures: once
# every folder has been read, it writes where the tools the microcontroller
# build runs land, so that build knows them by their target names alone.
# (A deferred call's arguments are read when it runs, so no loop variable.)
cmake_language(DEFER CALL file GENERATE OUTPUT "${CMAKE_BINARY_DIR}/runeplate-fontgen.path"
  CONTENT "$<TARGET_FILE:runeplate-fontgen>")
cmake_language(DEFER CALL file GENERATE OUTPUT "${CMAKE_BINARY_DIR}/runeplate_framebuffer.path"
  CONTENT "$<TARGET_FILE:runeplate_framebuffer>")
