# The web preset (emscripten): the studio, one static site in
# build/web/site/ made of the same C++ as the tools, and its zip.
# Only the platform-free layers, the tools' common code, fontgen's library
# and the reference renderer are built; no tool, test or benchmark.
include(RunePlateWebLibraries)

# CLI11 and utf8cpp are header-only, but their installed targets point into
# /usr/include, which must not come before emscripten's own C library
# headers. Copies of just their headers stand in, found through package
# files of our own.
set(host_headers "${CMAKE_BINARY_DIR}/host-headers")
file(COPY /usr/include/CLI DESTINATION "${host_headers}")
file(COPY /usr/include/utf8cpp DESTINATION "${host_headers}")
foreach(package CLI11 utf8cpp)
  set(dir "${CMAKE_BINARY_DIR}/host-packages/${package}")
  if(package STREQUAL "CLI11")
    set(target CLI11::CLI11)
    set(include "${host_headers}")
  else()
    set(target utf8cpp)
    set(include "${host_headers}/utf8cpp")
  endif()
  file(WRITE "${dir}/${package}Config.cmake"
    "if(NOT TARGET ${target})\n"
    "  add_library(${target} INTERFACE IMPORTED)\n"
    "  set_target_properties(${target} PROPERTIES INTERFACE_INCLUDE_DIRECTORIES \"${include}\")\n"
    "endif()\n")
  set(${package}_DIR "${dir}" CACHE PATH "" FORCE)
endforeach()

add_subdirectory(src)
add_subdirectory(tools/common)
# Only the libraries: the tools' executables stay out of the web build.
add_subdirectory(tools/fontgen "${CMAKE_BINARY_DIR}/tools/fontgen" EXCLUDE_FROM_ALL)
add_subdirectory(tools/render "${CMAKE_BINARY_DIR}/tools/render" EXCLUDE_FROM_ALL)
add_subdirectory(web)
