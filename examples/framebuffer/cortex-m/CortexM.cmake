# What the Cortex-M3 and Cortex-M0 firmware share: the semihosted example
# (../Semihosted.cpp), the start-up (Startup.c) and the sections
# (Sections.ld), which a board's linker script includes after its memory.
include(${CMAKE_CURRENT_LIST_DIR}/../Firmware.cmake)

# runeplate_cortex_m_firmware(LINKER_SCRIPT): the target runeplate_firmware.
function(runeplate_cortex_m_firmware script)
  set(here ${CMAKE_CURRENT_FUNCTION_LIST_DIR})
  add_executable(runeplate_firmware ${here}/../Semihosted.cpp ${here}/Startup.c)
  target_link_options(runeplate_firmware PRIVATE -L${here} -T${script})
  set_target_properties(runeplate_firmware PROPERTIES LINK_DEPENDS "${script};${here}/Sections.ld")
  runeplate_firmware_common(runeplate_firmware)
endfunction()
