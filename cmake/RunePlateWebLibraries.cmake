# The libraries the studio's module links, compiled with emscripten from the
# Debian source packages scripts/setup unpacks into build/cache/web-src/:
# zlib, libpng, FreeType, and Brotli and Google's woff2 for the WOFF2 writer.
# Each is built once, at configure time, into
# build/cache/web-libs/<package>-<version>/ and reused by every later build
# (a stamp file says it finished), since emscripten's own ports would
# download and its cache here is frozen.
#
# They are built for size: the site's whole download is to stay small, and
# nothing in them is on a path the page redraws with.
#
# Afterwards the usual find modules (FindZLIB, FindPNG, FindFreetype) find
# them through the cache variables set here, so the tools' CMakeLists take
# them unchanged.

set(RUNEPLATE_WEB_SOURCES "${CMAKE_SOURCE_DIR}/build/cache/web-src" CACHE PATH
  "the unpacked Debian sources of zlib, libpng and FreeType (scripts/setup)")
set(RUNEPLATE_WEB_LIBRARIES "${CMAKE_SOURCE_DIR}/build/cache/web-libs" CACHE PATH
  "where the emscripten builds of the libraries are kept across builds")

foreach(dir zlib-1.2.13.dfsg libpng1.6-1.6.39 freetype-2.12.1+dfsg brotli-1.0.9 woff2-1.0.2)
  if(NOT EXISTS "${RUNEPLATE_WEB_SOURCES}/${dir}")
    message(FATAL_ERROR "${RUNEPLATE_WEB_SOURCES}/${dir}: missing; scripts/setup fetches the web build's sources")
  endif()
endforeach()

# Configures, builds and installs the CMake project in `source` with
# emscripten into `prefix`, unless `prefix`/.done says that happened. The
# files of RUNEPLATE_WEB_OVERLAY_<name> (a folder), if set, are put into the
# build folder first, where a project's own generated headers go.
function(runeplate_web_library name source prefix)
  if(EXISTS "${prefix}/.done")
    return()
  endif()
  message(STATUS "Building ${name} with emscripten into ${prefix} (once)")
  set(work "${prefix}.build")
  # A second attempt from scratch: a try_compile of the project's own checks
  # has been seen to fail once under emscripten's CMake modules and pass the
  # next time.
  foreach(attempt 1 2)
    file(REMOVE_RECURSE "${work}" "${prefix}")
    file(MAKE_DIRECTORY "${work}")
    if(DEFINED RUNEPLATE_WEB_OVERLAY_${name})
      file(COPY "${RUNEPLATE_WEB_OVERLAY_${name}}/" DESTINATION "${work}")
    endif()
    execute_process(
      COMMAND "${CMAKE_COMMAND}" -S "${source}" -B "${work}"
        "-DCMAKE_TOOLCHAIN_FILE=${CMAKE_TOOLCHAIN_FILE}" -DCMAKE_BUILD_TYPE=MinSizeRel
        "-DCMAKE_INSTALL_PREFIX=${prefix}" "-DCMAKE_PREFIX_PATH=${RUNEPLATE_WEB_PREFIXES}"
        "-DCMAKE_FIND_ROOT_PATH=${RUNEPLATE_WEB_PREFIXES}" -DBUILD_SHARED_LIBS=OFF ${ARGN}
      RESULT_VARIABLE failed OUTPUT_FILE "${work}.log" ERROR_FILE "${work}.log")
    if(NOT failed)
      execute_process(COMMAND "${CMAKE_COMMAND}" --build "${work}" --parallel 2 --target install
        RESULT_VARIABLE failed OUTPUT_FILE "${work}.log" ERROR_FILE "${work}.log")
    endif()
    if(NOT failed)
      break()
    endif()
  endforeach()
  if(failed)
    message(FATAL_ERROR "building ${name} with emscripten failed; see ${work}.log")
  endif()
  file(REMOVE_RECURSE "${work}")
  file(REMOVE "${work}.log")
  file(TOUCH "${prefix}/.done")
endfunction()

set(zlib_prefix "${RUNEPLATE_WEB_LIBRARIES}/zlib-1.2.13-os")
set(png_prefix "${RUNEPLATE_WEB_LIBRARIES}/libpng-1.6.39-os")
set(freetype_prefix "${RUNEPLATE_WEB_LIBRARIES}/freetype-2.12.1-fontgen-os")
set(RUNEPLATE_WEB_PREFIXES "${zlib_prefix};${png_prefix}")

runeplate_web_library(zlib "${CMAKE_CURRENT_LIST_DIR}/web-zlib" "${zlib_prefix}"
  "-DZLIB_SOURCE=${RUNEPLATE_WEB_SOURCES}/zlib-1.2.13.dfsg")
set(ZLIB_INCLUDE_DIR "${zlib_prefix}/include" CACHE PATH "" FORCE)
set(ZLIB_LIBRARY "${zlib_prefix}/lib/libz.a" CACHE FILEPATH "" FORCE)

runeplate_web_library(libpng "${RUNEPLATE_WEB_SOURCES}/libpng1.6-1.6.39" "${png_prefix}"
  -DPNG_SHARED=OFF -DPNG_STATIC=ON -DPNG_EXECUTABLES=OFF -DPNG_TESTS=OFF
  -DPNG_HARDWARE_OPTIMIZATIONS=OFF -Dld-version-script=OFF
  "-DZLIB_INCLUDE_DIR=${ZLIB_INCLUDE_DIR}" "-DZLIB_LIBRARY=${ZLIB_LIBRARY}")
set(PNG_PNG_INCLUDE_DIR "${png_prefix}/include" CACHE PATH "" FORCE)
set(PNG_LIBRARY "${png_prefix}/lib/libpng16.a" CACHE FILEPATH "" FORCE)

# Only what fontgen reads: the modules of web-freetype's ftmodule.h (found
# before the source's own: FreeType puts its build folder's headers first),
# gzip through the zlib above (FreeType's own copy of zlib would clash with
# it at link time), no bzip2, PNG glyphs, HarfBuzz or Brotli.
set(RUNEPLATE_WEB_OVERLAY_FreeType "${CMAKE_CURRENT_LIST_DIR}/web-freetype")
runeplate_web_library(FreeType "${RUNEPLATE_WEB_SOURCES}/freetype-2.12.1+dfsg" "${freetype_prefix}"
  -DFT_REQUIRE_ZLIB=TRUE "-DZLIB_INCLUDE_DIR=${ZLIB_INCLUDE_DIR}" "-DZLIB_LIBRARY=${ZLIB_LIBRARY}"
  -DFT_DISABLE_BZIP2=TRUE -DFT_DISABLE_PNG=TRUE
  -DFT_DISABLE_HARFBUZZ=TRUE -DFT_DISABLE_BROTLI=TRUE)
set(FREETYPE_INCLUDE_DIR_ft2build "${freetype_prefix}/include/freetype2" CACHE PATH "" FORCE)
set(FREETYPE_INCLUDE_DIR_freetype2 "${freetype_prefix}/include/freetype2" CACHE PATH "" FORCE)
set(FREETYPE_LIBRARY "${freetype_prefix}/lib/libfreetype.a" CACHE FILEPATH "" FORCE)

# WOFF2 by Google's woff2 library on Brotli, as the native build has it from
# Debian's libwoff-dev; found by fontgen through pkg-config, which is pointed
# at these builds' package files alone (the machine's are for the host).
set(brotli_prefix "${RUNEPLATE_WEB_LIBRARIES}/brotli-1.0.9-os")
set(woff2_prefix "${RUNEPLATE_WEB_LIBRARIES}/woff2-1.0.2-os")
runeplate_web_library(Brotli "${CMAKE_CURRENT_LIST_DIR}/web-brotli" "${brotli_prefix}"
  "-DBROTLI_SOURCE=${RUNEPLATE_WEB_SOURCES}/brotli-1.0.9")
list(APPEND RUNEPLATE_WEB_PREFIXES "${brotli_prefix}")
set(ENV{PKG_CONFIG_LIBDIR} "${brotli_prefix}/lib/pkgconfig")
runeplate_web_library(woff2 "${RUNEPLATE_WEB_SOURCES}/woff2-1.0.2" "${woff2_prefix}" -DNOISY_LOGGING=OFF)
# Static libraries need their private requirements too, which a plain
# pkg-config query leaves out: the encoder's package names woff2common itself.
set(woff2enc_pc "${woff2_prefix}/lib/pkgconfig/libwoff2enc.pc")
file(READ "${woff2enc_pc}" pc)
string(REPLACE "-lwoff2enc\n" "-lwoff2enc -lwoff2common\n" pc "${pc}")
file(WRITE "${woff2enc_pc}" "${pc}")
set(ENV{PKG_CONFIG_LIBDIR} "${brotli_prefix}/lib/pkgconfig:${woff2_prefix}/lib/pkgconfig")
set(ENV{PKG_CONFIG_PATH} "")
# FindPkgConfig looks the libraries up with find_library, which emscripten's
# toolchain confines to its own system root: these prefixes are roots too.
list(APPEND CMAKE_FIND_ROOT_PATH "${brotli_prefix}" "${woff2_prefix}")
