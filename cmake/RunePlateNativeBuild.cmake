# Cross builds that need native programs of this tree (the Windows build's
# runeplate-shot, the microcontroller builds' font generator and example)
# make them in a native build of their own, configured when the cross build
# is configured.

# runeplate_configure_native_build(DIR INCLUDE)
# Configures a native build of this source tree in DIR, reading INCLUDE into
# it (CMAKE_PROJECT_Runeplate_INCLUDE: a file that writes where the wanted
# programs land). Nothing of the cross build may reach it, not even from the
# environment. Stops the configure with the log's name when it fails.
function(runeplate_configure_native_build dir include)
  set(log "${dir}/configure.log")
  file(MAKE_DIRECTORY "${dir}")
  execute_process(
    COMMAND "${CMAKE_COMMAND}" -E env --unset=CMAKE_TOOLCHAIN_FILE --unset=CC --unset=CXX
            "${CMAKE_COMMAND}" -S "${CMAKE_SOURCE_DIR}" -B "${dir}"
            -G "${CMAKE_GENERATOR}" -DCMAKE_BUILD_TYPE=Release -DRUNEPLATE_BUILD_BENCH=OFF
            "-DCMAKE_PROJECT_Runeplate_INCLUDE=${include}"
    RESULT_VARIABLE result
    OUTPUT_FILE "${log}"
    ERROR_FILE "${log}")
  if(NOT result EQUAL 0)
    message(FATAL_ERROR "Configuring the native build in ${dir} failed; see ${log}")
  endif()
endfunction()
