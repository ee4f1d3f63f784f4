# Makes DATABASE with TOOL unless the file exists already.
if(NOT EXISTS ${DATABASE})
  execute_process(COMMAND ${TOOL} ${DATABASE} RESULT_VARIABLE rc)
  if(NOT rc EQUAL 0)
    message(FATAL_ERROR "tallybridge-newdb failed for ${DATABASE}")
  endif()
endif()
