# Compiles the help project in a scratch folder, so the source tree stays clean, and copies the
# result to OUTPUT. chmcmd only warns about a page that a link names but that does not exist;
# here every warning stops the build.
# Arguments: CHMCMD, WORK_DIR, OUTPUT, SOURCES (a list of files).
file(REMOVE_RECURSE ${WORK_DIR})
file(MAKE_DIRECTORY ${WORK_DIR})
file(COPY ${SOURCES} DESTINATION ${WORK_DIR})

execute_process(
  COMMAND ${CHMCMD} Halvern.hhp
  WORKING_DIRECTORY ${WORK_DIR}
  OUTPUT_VARIABLE out
  ERROR_VARIABLE err
  RESULT_VARIABLE result
)
if(NOT result EQUAL 0 OR "${out}${err}" MATCHES "Warning|Error|exception")
  message(FATAL_ERROR "chmcmd failed (${result}):\n${out}${err}")
endif()
if(NOT EXISTS ${WORK_DIR}/Halvern.chm)
  message(FATAL_ERROR "chmcmd wrote no Halvern.chm:\n${out}${err}")
endif()
file(COPY_FILE ${WORK_DIR}/Halvern.chm ${OUTPUT})
