# Script mode (cmake -P): makes the fonts download, a zip with one folder per
# atlas holding the atlas as a font for every other program (BDF, OTB, TTF,
# OTF, WOFF2, BMFont), its NOTICE and the full text of its licence. Two
# builds of one commit make the same bytes (cmake/ReproducibleZip.cmake); the
# fonts' own dates come from the same SOURCE_DATE_EPOCH.
#   -DFONTGEN=runeplate-fontgen -DASSETS=assets/fonts -DSTAGE=folder
#   -DZIP=runeplate-fonts-VERSION.zip -DFONTS="round;unifont;dotum"
#   -DSOURCE_DIR=the repository, whose last commit dates the zip
include("${CMAKE_CURRENT_LIST_DIR}/ReproducibleZip.cmake")
runeplate_source_date_epoch(epoch "${SOURCE_DIR}")
set(ENV{SOURCE_DATE_EPOCH} "${epoch}")
get_filename_component(top "${ZIP}" NAME_WLE)
set(root "${STAGE}/${top}")
file(REMOVE_RECURSE "${STAGE}")
foreach(font IN LISTS FONTS)
  set(dir "${root}/${font}")
  file(MAKE_DIRECTORY "${dir}")
  foreach(format bdf otb ttf otf woff2 fnt)
    execute_process(
      COMMAND "${FONTGEN}" "${ASSETS}/${font}/a1bit.bmp" -o "${dir}/runeplate-${font}.${format}"
      RESULT_VARIABLE status)
    if(NOT status EQUAL 0)
      message(FATAL_ERROR "runeplate-fontgen could not write ${font}.${format}")
    endif()
  endforeach()
  file(COPY "${ASSETS}/${font}/NOTICE" DESTINATION "${dir}")
  # The licence's full text, as the NOTICE quotes it at its end.
  file(READ "${ASSETS}/${font}/NOTICE" notice)
  string(FIND "${notice}" "SIL OPEN FONT LICENSE Version 1.1" at)
  set(licence OFL.txt)
  if(at EQUAL -1)
    string(FIND "${notice}" "                    GNU GENERAL PUBLIC LICENSE" at)
    set(licence GPL-2.0.txt)
  endif()
  if(at EQUAL -1)
    message(FATAL_ERROR "${ASSETS}/${font}/NOTICE quotes no licence text we know")
  endif()
  string(SUBSTRING "${notice}" ${at} -1 text)
  file(WRITE "${dir}/${licence}" "${text}")
endforeach()
runeplate_zip_folder("${ZIP}" "${STAGE}" "${top}" "${epoch}")
