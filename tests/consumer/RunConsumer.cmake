# cmake -DBUILD=<build folder> -DWORK=<scratch folder> -DSOURCE=<this folder>
#       [-DCXX_FLAGS=<flags>] [-DLINK_FLAGS=<flags>]
#       [-DTOOLCHAIN=<toolchain file>] [-DEMULATOR=<runner|args>] -P RunConsumer.cmake
# Installs the build's development files into a scratch prefix, builds the
# consumer project against that prefix alone, runs it and compares its output
# with expected.txt. Natively it also builds the consumer by hand from the
# pkg-config file.
function(run)
  execute_process(COMMAND ${ARGN} RESULT_VARIABLE result OUTPUT_VARIABLE out ERROR_VARIABLE err)
  if(NOT result EQUAL 0)
    list(JOIN ARGN " " command)
    message(FATAL_ERROR "failed (${result}): ${command}\n${out}\n${err}")
  endif()
  set(RUN_OUTPUT "${out}" PARENT_SCOPE)
endfunction()

function(expect_output)
  string(REPLACE "\r\n" "\n" actual "${RUN_OUTPUT}")  # programs under Wine write CRLF
  file(READ "${SOURCE}/expected.txt" expected)
  if(NOT actual STREQUAL expected)
    message(FATAL_ERROR "consumer printed:\n${actual}\nexpected:\n${expected}")
  endif()
endfunction()

string(REPLACE "|" ";" EMULATOR "${EMULATOR}")
file(REMOVE_RECURSE "${WORK}")
set(prefix "${WORK}/prefix")
run(${CMAKE_COMMAND} --install "${BUILD}" --prefix "${prefix}" --component Development)

set(configure ${CMAKE_COMMAND} -S "${SOURCE}" -B "${WORK}/build" -DCMAKE_BUILD_TYPE=Release
  "-DCMAKE_CXX_FLAGS=${CXX_FLAGS}" "-DCMAKE_EXE_LINKER_FLAGS=${LINK_FLAGS}")
file(GLOB_RECURSE config "${prefix}/*/RuneplateConfig.cmake")
if(NOT config)
  message(FATAL_ERROR "no RuneplateConfig.cmake installed under ${prefix}")
endif()
get_filename_component(config_dir "${config}" DIRECTORY)
# Named directly: a cross build looks for packages only below its sysroot.
list(APPEND configure "-DRuneplate_DIR=${config_dir}")
if(TOOLCHAIN)
  list(APPEND configure "-DCMAKE_TOOLCHAIN_FILE=${TOOLCHAIN}")
endif()
run(${configure})
run(${CMAKE_COMMAND} --build "${WORK}/build")

file(GLOB program "${WORK}/build/consumer" "${WORK}/build/consumer.exe")
run(${EMULATOR} ${program})
expect_output()

if(NOT TOOLCHAIN)
  file(GLOB_RECURSE pc "${prefix}/*/runeplate.pc")
  get_filename_component(pc_dir "${pc}" DIRECTORY)
  set(ENV{PKG_CONFIG_PATH} "${pc_dir}")
  run(pkg-config --cflags --libs runeplate)
  string(STRIP "${RUN_OUTPUT}" flags)
  separate_arguments(flags UNIX_COMMAND "${flags}")
  separate_arguments(build_flags UNIX_COMMAND "${CXX_FLAGS} ${LINK_FLAGS}")
  run(c++ -std=c++17 ${build_flags} "${SOURCE}/main.cpp" ${flags} -o "${WORK}/consumer-pc")
  run("${WORK}/consumer-pc")
  expect_output()
endif()
