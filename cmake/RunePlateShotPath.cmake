# Read into the native build that RunePlateShotTool.cmake configures: once
# every folder has been read, it writes where runeplate-shot lands, so that
# the Windows build knows the tool by its target name alone.
cmake_language(DEFER CALL file GENERATE
  OUTPUT "${CMAKE_BINARY_DIR}/runeplate-shot.path"
  CONTENT "$<TARGET_FILE:runeplate-shot>")
