# Run by CPack after it has made the release zip (CPACK_POST_BUILD_SCRIPTS):
# zips the package's files again, reproducibly (cmake/ReproducibleZip.cmake),
# dated by the last commit of CPACK_RUNEPLATE_SOURCE_DIR. CPack's own zip
# records each file's access and change times.
include("${CMAKE_CURRENT_LIST_DIR}/ReproducibleZip.cmake")
runeplate_source_date_epoch(epoch "${CPACK_RUNEPLATE_SOURCE_DIR}")
foreach(package IN LISTS CPACK_PACKAGE_FILES)
  if(NOT package MATCHES "\\.zip$")
    continue()
  endif()
  get_filename_component(top "${package}" NAME_WLE)
  set(stage "${package}.stage")
  file(REMOVE_RECURSE "${stage}")
  file(MAKE_DIRECTORY "${stage}")
  execute_process(COMMAND unzip -q "${package}" -d "${stage}" RESULT_VARIABLE status)
  if(NOT status EQUAL 0 OR NOT IS_DIRECTORY "${stage}/${top}")
    message(FATAL_ERROR "${package}: cannot unpack it to zip it again (is there one top folder ${top}?)")
  endif()
  runeplate_zip_folder("${package}" "${stage}" "${top}" "${epoch}")
  file(REMOVE_RECURSE "${stage}")
endforeach()
