# Script mode (cmake -P): zips folder TOP of STAGE into ZIP reproducibly
# (cmake/ReproducibleZip.cmake), dated by SOURCE_DIR's last commit.
#   -DSTAGE=folder -DTOP=name -DZIP=out.zip -DSOURCE_DIR=repository
include("${CMAKE_CURRENT_LIST_DIR}/ReproducibleZip.cmake")
runeplate_source_date_epoch(epoch "${SOURCE_DIR}")
runeplate_zip_folder("${ZIP}" "${STAGE}" "${TOP}" "${epoch}")
