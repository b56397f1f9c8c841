# Exports the bundled chapter, reviews it with examples/demo-review.json and runs
# osprevan-comments on the result with the source document; the output must match PATTERN.
#   TOLVANE, COMMENTS, PYTHON, REVIEWER, EXAMPLES, WORK, PATTERN
file(REMOVE_RECURSE "${WORK}")
file(MAKE_DIRECTORY "${WORK}")
file(COPY "${EXAMPLES}/chapter1.tlv" DESTINATION "${WORK}")
execute_process(COMMAND "${TOLVANE}" export-pdf "${WORK}/chapter1.tlv" -o "${WORK}/exported.pdf"
                RESULT_VARIABLE status)
if(status EQUAL 0)
  execute_process(COMMAND "${PYTHON}" "${REVIEWER}" "${WORK}/exported.pdf"
                          "${EXAMPLES}/demo-review.json" "${WORK}/reviewed.pdf"
                  RESULT_VARIABLE status OUTPUT_QUIET)
endif()
if(NOT status EQUAL 0)
  message(FATAL_ERROR "the reviewed PDF could not be made")
endif()
execute_process(COMMAND "${COMMENTS}" "${WORK}/reviewed.pdf" --document "${WORK}/chapter1.tlv"
                RESULT_VARIABLE status OUTPUT_VARIABLE out ERROR_VARIABLE err)
file(REMOVE_RECURSE "${WORK}")
if(NOT status EQUAL 0 OR NOT out MATCHES "${PATTERN}")
  message(FATAL_ERROR "status ${status}, output does not match ${PATTERN}\n${out}${err}")
endif()
