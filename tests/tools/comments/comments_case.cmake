# Exports DOCUMENT, reviews it with REVIEW and runs osprevan-comments on the result with the
# document; each of PATTERN_1 to PATTERN_<PATTERN_COUNT> must match a line of the output.
#   TOLVANE, COMMENTS, PYTHON, REVIEWER, DOCUMENT, REVIEW, WORK, PATTERN_COUNT, PATTERN_n
file(REMOVE_RECURSE "${WORK}")
file(MAKE_DIRECTORY "${WORK}")
get_filename_component(name "${DOCUMENT}" NAME)
file(COPY "${DOCUMENT}" DESTINATION "${WORK}")
execute_process(COMMAND "${TOLVANE}" export-pdf "${WORK}/${name}" -o "${WORK}/exported.pdf"
                RESULT_VARIABLE status)
if(status EQUAL 0)
  execute_process(COMMAND "${PYTHON}" "${REVIEWER}" "${WORK}/exported.pdf" "${REVIEW}"
                          "${WORK}/reviewed.pdf"
                  RESULT_VARIABLE status OUTPUT_QUIET)
endif()
if(NOT status EQUAL 0)
  message(FATAL_ERROR "the reviewed PDF could not be made")
endif()
execute_process(COMMAND "${COMMENTS}" "${WORK}/reviewed.pdf" --document "${WORK}/${name}"
                RESULT_VARIABLE status OUTPUT_VARIABLE out ERROR_VARIABLE err)
file(REMOVE_RECURSE "${WORK}")
set(failures "")
foreach(n RANGE 1 ${PATTERN_COUNT})
  if(NOT out MATCHES "(^|\n)[^\n]*${PATTERN_${n}}")
    string(APPEND failures "no line matches ${PATTERN_${n}}\n")
  endif()
endforeach()
if(NOT status EQUAL 0 OR failures)
  message(FATAL_ERROR "status ${status}\n${failures}--- output:\n${out}${err}")
endif()
