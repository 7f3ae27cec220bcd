# Runs Doxygen (cmake -P) and fails, printing what is missing, when it reports any warning or
# an enum value has no documentation (Doxygen 1.9 does not warn about those).
execute_process(COMMAND ${DOXYGEN} ${DOXYFILE} RESULT_VARIABLE result)
file(READ ${LOG} warnings)
execute_process(COMMAND ${PYTHON} ${CHECK_ENUMS} ${XML} RESULT_VARIABLE enum_result OUTPUT_VARIABLE enum_warnings)
file(REMOVE_RECURSE ${XML})
if(NOT result EQUAL 0 OR NOT warnings STREQUAL "" OR NOT enum_result EQUAL 0)
  file(REMOVE_RECURSE ${HTML})
  message(FATAL_ERROR "The reference has undocumented or wrongly documented items:\n${warnings}${enum_warnings}")
endif()
