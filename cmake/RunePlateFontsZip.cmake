# The fonts download: build/.../runeplate-fonts-VERSION.zip, each atlas of
# assets/fonts as a font for other programs (cmake/MakeFontsZip.cmake).
option(RUNEPLATE_BUILD_FONTS_ZIP "make runeplate-fonts-VERSION.zip with every build" ON)
set(RUNEPLATE_FONTS_ZIP "${CMAKE_BINARY_DIR}/runeplate-fonts-${PROJECT_VERSION}.zip")
if(RUNEPLATE_BUILD_FONTS_ZIP)
  set(fonts round unifont dotum)
  set(inputs "")
  foreach(font IN LISTS fonts)
    list(APPEND inputs "${RUNEPLATE_ASSETS_DIR}/fonts/${font}/a1bit.bmp" "${RUNEPLATE_ASSETS_DIR}/fonts/${font}/NOTICE")
  endforeach()
  add_custom_command(OUTPUT "${RUNEPLATE_FONTS_ZIP}"
    COMMAND "${CMAKE_COMMAND}" -DFONTGEN=$<TARGET_FILE:runeplate-fontgen>
            "-DASSETS=${RUNEPLATE_ASSETS_DIR}/fonts" "-DSTAGE=${CMAKE_BINARY_DIR}/fonts-zip"
            "-DZIP=${RUNEPLATE_FONTS_ZIP}" "-DFONTS=${fonts}" "-DSOURCE_DIR=${CMAKE_SOURCE_DIR}"
            -P "${CMAKE_CURRENT_LIST_DIR}/MakeFontsZip.cmake"
    DEPENDS runeplate-fontgen ${inputs} "${CMAKE_CURRENT_LIST_DIR}/MakeFontsZip.cmake"
            "${CMAKE_CURRENT_LIST_DIR}/ReproducibleZip.cmake"
    COMMENT "Making runeplate-fonts-${PROJECT_VERSION}.zip"
    VERBATIM)
  add_custom_target(runeplate_fonts_zip ALL DEPENDS "${RUNEPLATE_FONTS_ZIP}")
endif()
