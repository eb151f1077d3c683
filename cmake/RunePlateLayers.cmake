# Every header is included by its layer's name ("text/UDrawText.h",
# "errors/Exceptions.h"), and a target sees only the layers it links to:
# each library exports an include folder of its own that holds nothing but a
# link named after its layer. So native code cannot include a Windows-only
# header by accident, and an include line always says where a name lives.

# runeplate_export_headers(TARGET NAME)
# NAME is the include prefix of the calling folder, for example "text" or
# "support/msgbox".
function(runeplate_export_headers target name)
  set(root "${CMAKE_BINARY_DIR}/include/${target}")
  get_filename_component(parent "${root}/${name}" DIRECTORY)
  file(MAKE_DIRECTORY "${parent}")
  # Without the right to make links (plain Windows) a copy stands in; it is
  # refreshed at every configure.
  file(CREATE_LINK "${CMAKE_CURRENT_SOURCE_DIR}" "${root}/${name}" SYMBOLIC COPY_ON_ERROR)
  # The spelling of the installed headers works in the tree too.
  get_filename_component(parent "${root}/runeplate/${name}" DIRECTORY)
  file(MAKE_DIRECTORY "${parent}")
  file(CREATE_LINK "${CMAKE_CURRENT_SOURCE_DIR}" "${root}/runeplate/${name}" SYMBOLIC COPY_ON_ERROR)
  get_target_property(type ${target} TYPE)
  if(type STREQUAL "INTERFACE_LIBRARY")
    target_include_directories(${target} INTERFACE "$<BUILD_INTERFACE:${root}>")
  else()
    target_include_directories(${target} PUBLIC "$<BUILD_INTERFACE:${root}>")
  endif()
endfunction()
