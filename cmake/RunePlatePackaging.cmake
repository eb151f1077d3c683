# The Windows release package: `cpack` in the Windows build folder makes
# runeplate-<version>-win64.zip holding one folder with the program, the font
# file it reads from its current folder, the users' README and the licence
# notices.
# The program is linked statically, so no runtime DLL goes with it.
install(TARGETS runeplate RUNTIME DESTINATION . COMPONENT Runtime)
# Packaging takes what the build made: without this, cpack (and install)
# would first build every target, tests included, which the package does
# not need and which the package test would otherwise pay for.
set(CMAKE_SKIP_INSTALL_ALL_DEPENDENCY ON)

# The users' README, not the developers': with the version filled in and
# CRLF line endings, which every Windows editor shows as lines.
configure_file("${CMAKE_SOURCE_DIR}/packaging/README.txt" "${CMAKE_BINARY_DIR}/package/README.txt"
               @ONLY NEWLINE_STYLE CRLF)

set(RUNEPLATE_PACKAGE_FILES
  "${RUNEPLATE_ASSETS_DIR}/a1bit.bmp"
  "${CMAKE_BINARY_DIR}/package/README.txt"
  "${CMAKE_SOURCE_DIR}/LICENSE")
foreach(file ${RUNEPLATE_PACKAGE_FILES})
  if(NOT EXISTS "${file}")
    message(STATUS "Package: ${file} is missing; cpack will fail until it is there")
  endif()
endforeach()
install(FILES ${RUNEPLATE_PACKAGE_FILES} DESTINATION . COMPONENT Runtime)
# The atlases to choose from, each with its notice; a1bit.bmp is a copy of
# fonts/round/a1bit.bmp, and copying another one over it switches the font.
foreach(font unifont round dotum)
  install(FILES "${RUNEPLATE_ASSETS_DIR}/fonts/${font}/a1bit.bmp" "${RUNEPLATE_ASSETS_DIR}/fonts/${font}/NOTICE"
    DESTINATION fonts/${font} COMPONENT Runtime)
endforeach()

set(CPACK_GENERATOR ZIP)
# The zip is the program for its users; the engine's development files
# (component Development) are for cmake --install.
set(CPACK_INSTALL_CMAKE_PROJECTS "${CMAKE_BINARY_DIR};${PROJECT_NAME};Runtime;/")
set(CPACK_PACKAGE_NAME runeplate)
set(CPACK_PACKAGE_VERSION "${PROJECT_VERSION}")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "${PROJECT_DESCRIPTION}")
set(CPACK_PACKAGE_FILE_NAME "runeplate-${PROJECT_VERSION}-win64")
set(CPACK_INCLUDE_TOPLEVEL_DIRECTORY ON)
set(CPACK_STRIP_FILES ON)
set(CPACK_PACKAGE_CHECKSUM SHA256)
# Two builds of one commit give the same zip (and checksum).
set(CPACK_RUNEPLATE_SOURCE_DIR "${CMAKE_SOURCE_DIR}")
set(CPACK_POST_BUILD_SCRIPTS "${CMAKE_CURRENT_LIST_DIR}/ReproducibleCPackZip.cmake")
include(CPack)
