# What the framebuffer firmware of every microcontroller shares: the screen
# (Screen.cpp), the start-up check (StartupCheck.cpp), the C interface, the Round font in its compact form made by
# the native font generator, a linker map, no C++ runtime and the file name
# framebuffer.elf.
set(compact_dir ${CMAKE_CURRENT_BINARY_DIR}/compact)
file(MAKE_DIRECTORY ${compact_dir})
set(round ${RUNEPLATE_ASSETS_DIR}/fonts/round)
add_custom_command(OUTPUT ${compact_dir}/runeplate_round.h
  COMMAND ${RUNEPLATE_NATIVE_FONTGEN} ${round}/a1bit.bmp -o ${compact_dir}/runeplate_round.h
          --compact --c-name runeplate_round
  DEPENDS runeplate_native_tools ${round}/a1bit.bmp ${round}/NOTICE
  COMMENT "Writing the Round font in its compact form")

# runeplate_firmware_common(TARGET)
function(runeplate_firmware_common target)
  target_sources(${target} PRIVATE ${CMAKE_CURRENT_FUNCTION_LIST_DIR}/Screen.cpp
    ${CMAKE_CURRENT_FUNCTION_LIST_DIR}/StartupCheck.cpp ${compact_dir}/runeplate_round.h)
  target_include_directories(${target} PRIVATE ${CMAKE_CURRENT_FUNCTION_LIST_DIR} ${compact_dir})
  target_link_libraries(${target} PRIVATE runeplate_c)
  target_link_options(${target} PRIVATE -Wl,-Map=${CMAKE_CURRENT_BINARY_DIR}/framebuffer.map)
  # Linked as C: the core needs nothing of the C++ runtime, and the
  # toolchains carry none (Debian installs no libstdc++ for arm-none-eabi).
  set_target_properties(${target} PROPERTIES OUTPUT_NAME framebuffer SUFFIX .elf
    LINKER_LANGUAGE C)
endfunction()
