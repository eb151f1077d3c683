# The layout engine and the font layer for other programs:
#   cmake --install <build> --prefix P --component Development
# installs their static libraries, headers under P/include/runeplate/, a CMake
# package (find_package(Runeplate CONFIG) gives Runeplate::text and
# Runeplate::font), a pkg-config file and the licences. Only platform-free
# layers are installed.
include(GNUInstallDirs)
include(CMakePackageConfigHelpers)

set(RUNEPLATE_CMAKE_DIR "${CMAKE_INSTALL_LIBDIR}/cmake/Runeplate")
set(RUNEPLATE_INCLUDE_DIR "${CMAKE_INSTALL_INCLUDEDIR}/runeplate")

# runeplate_install_layer(TARGET LAYER HEADERS...)
function(runeplate_install_layer target layer)
  set_target_properties(${target} PROPERTIES EXPORT_NAME ${layer})
  # Users write <runeplate/text/UDrawText.h>; the headers themselves name
  # each other by layer ("text/UDrawText.h"), so both folders are searched.
  target_include_directories(${target} INTERFACE
    "$<INSTALL_INTERFACE:${CMAKE_INSTALL_INCLUDEDIR}>"
    "$<INSTALL_INTERFACE:${RUNEPLATE_INCLUDE_DIR}>")
  target_compile_features(${target} PUBLIC cxx_std_17)
  install(TARGETS ${target} EXPORT RuneplateTargets
    ARCHIVE DESTINATION ${CMAKE_INSTALL_LIBDIR} COMPONENT Development)
  install(FILES ${ARGN} DESTINATION "${RUNEPLATE_INCLUDE_DIR}/${layer}" COMPONENT Development)
endfunction()

set(text_headers UDrawText.h Flash.h JamoIndices.h GlyphSets.h GlyphCells.h ComposedText.h Utf8.h
  Walk.h)
list(TRANSFORM text_headers PREPEND ${PROJECT_SOURCE_DIR}/src/text/)
runeplate_install_layer(runeplate_text text ${text_headers})
# The composer is a library of its own (the freestanding part of the font
# layer), installed beside it.
runeplate_install_layer(runeplate_composer font ${PROJECT_SOURCE_DIR}/src/font/GlyphComposer.h)
set_target_properties(runeplate_composer PROPERTIES EXPORT_NAME composer)
runeplate_install_layer(runeplate_font font ${PROJECT_SOURCE_DIR}/src/font/FontFile.h
  ${PROJECT_SOURCE_DIR}/src/font/HanFile.h ${PROJECT_SOURCE_DIR}/src/font/CompactFont.h)
add_library(Runeplate::text ALIAS runeplate_text)
add_library(Runeplate::font ALIAS runeplate_font)

install(EXPORT RuneplateTargets NAMESPACE Runeplate:: DESTINATION "${RUNEPLATE_CMAKE_DIR}"
  COMPONENT Development)
configure_package_config_file("${CMAKE_CURRENT_LIST_DIR}/RuneplateConfig.cmake.in"
  "${CMAKE_BINARY_DIR}/RuneplateConfig.cmake" INSTALL_DESTINATION "${RUNEPLATE_CMAKE_DIR}")
write_basic_package_version_file("${CMAKE_BINARY_DIR}/RuneplateConfigVersion.cmake"
  COMPATIBILITY SameMajorVersion)
install(FILES "${CMAKE_BINARY_DIR}/RuneplateConfig.cmake"
              "${CMAKE_BINARY_DIR}/RuneplateConfigVersion.cmake"
  DESTINATION "${RUNEPLATE_CMAKE_DIR}" COMPONENT Development)

# The .pc file finds its prefix from its own place (pkg-config's pcfiledir),
# one ".." for each folder between it and the prefix.
string(REGEX REPLACE "[^/]+" ".." RUNEPLATE_PC_UP "${CMAKE_INSTALL_LIBDIR}/pkgconfig")
configure_file("${CMAKE_CURRENT_LIST_DIR}/runeplate.pc.in" "${CMAKE_BINARY_DIR}/runeplate.pc" @ONLY)
install(FILES "${CMAKE_BINARY_DIR}/runeplate.pc"
  DESTINATION "${CMAKE_INSTALL_LIBDIR}/pkgconfig" COMPONENT Development)

set(RUNEPLATE_DEVELOPMENT_NOTICES "${PROJECT_SOURCE_DIR}/LICENSE")
install(FILES ${RUNEPLATE_DEVELOPMENT_NOTICES}
  DESTINATION "${CMAKE_INSTALL_DATADIR}/doc/runeplate" COMPONENT Development)
