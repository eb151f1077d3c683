# Zips that two builds of one commit make byte for byte alike: every file
# dated SOURCE_DATE_EPOCH, stored in name order, with no extra fields (the
# access and change times a zip otherwise records differ on every build).
# Included by the scripts that make the fonts, Arduino and release zips;
# needs zip and touch, which scripts/setup installs.

# The time the build's outputs carry, in seconds since 1970: SOURCE_DATE_EPOCH
# when set, else the date of the last commit of `source_dir`, else (not a git
# checkout, or no git) a fixed date, never the clock.
function(runeplate_source_date_epoch out source_dir)
  if(NOT "$ENV{SOURCE_DATE_EPOCH}" STREQUAL "")
    set(${out} "$ENV{SOURCE_DATE_EPOCH}" PARENT_SCOPE)
    return()
  endif()
  set(epoch 1704067200)  # 2024-01-01 00:00:00 UTC
  find_program(git_program git)
  if(git_program AND EXISTS "${source_dir}")
    execute_process(COMMAND "${git_program}" -C "${source_dir}" log -1 --format=%ct
      OUTPUT_VARIABLE commit RESULT_VARIABLE status OUTPUT_STRIP_TRAILING_WHITESPACE ERROR_QUIET)
    if(status EQUAL 0 AND commit MATCHES "^[0-9]+$")
      set(epoch "${commit}")
    endif()
  endif()
  set(${out} "${epoch}" PARENT_SCOPE)
endfunction()

# Zips folder `top` of `stage` (and everything in it) into `zip`, whole or not
# at all, as described above; the files get mode 644, the folders 755.
function(runeplate_zip_folder zip stage top epoch)
  file(GLOB_RECURSE files LIST_DIRECTORIES false RELATIVE "${stage}" "${stage}/${top}/*")
  file(GLOB_RECURSE dirs LIST_DIRECTORIES true RELATIVE "${stage}" "${stage}/${top}/*")
  list(REMOVE_ITEM dirs ${files})
  list(SORT files)
  if(files STREQUAL "")
    message(FATAL_ERROR "${stage}/${top} holds no file to zip")
  endif()
  execute_process(COMMAND chmod -R u=rwX,go=rX "${top}" WORKING_DIRECTORY "${stage}" RESULT_VARIABLE status)
  if(status EQUAL 0)
    execute_process(COMMAND touch -h -d "@${epoch}" ${files} ${dirs} "${top}"
      WORKING_DIRECTORY "${stage}" RESULT_VARIABLE status)
  endif()
  if(NOT status EQUAL 0)
    message(FATAL_ERROR "could not date the files of ${stage}/${top}")
  endif()
  file(REMOVE "${zip}.part")
  # -X leaves out the extra fields, -D the folder entries; TZ fixes the
  # local time zip's DOS dates are written in.
  execute_process(COMMAND "${CMAKE_COMMAND}" -E env TZ=UTC zip -q -X -D "${zip}.part" ${files}
    WORKING_DIRECTORY "${stage}" RESULT_VARIABLE status)
  if(NOT status EQUAL 0)
    file(REMOVE "${zip}.part")
    message(FATAL_ERROR "could not make ${zip}")
  endif()
  file(RENAME "${zip}.part" "${zip}")
endfunction()
