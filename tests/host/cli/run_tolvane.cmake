# Runs the tolvane program once and checks its exit status and output.
#   TOLVANE           the program
#   ARGS              its arguments, separated by "|"
#   STATUS            the expected exit status
#   STDOUT, STDERR    regular expressions the outputs must match (optional)
#   STDOUT_EMPTY      when set, standard output must be empty
#   ONCE              a text that must occur exactly once in standard output (optional)
string(REPLACE "|" ";" arguments "${ARGS}")
execute_process(COMMAND "${TOLVANE}" ${arguments}
                RESULT_VARIABLE status OUTPUT_VARIABLE out ERROR_VARIABLE err)
set(failures "")
if(NOT status STREQUAL STATUS)
  string(APPEND failures "exit status ${status}, expected ${STATUS}\n")
endif()
if(DEFINED STDOUT AND NOT out MATCHES "${STDOUT}")
  string(APPEND failures "standard output does not match: ${STDOUT}\n")
endif()
if(DEFINED STDERR AND NOT err MATCHES "${STDERR}")
  string(APPEND failures "standard error does not match: ${STDERR}\n")
endif()
if(STDOUT_EMPTY AND NOT out STREQUAL "")
  string(APPEND failures "standard output is not empty\n")
endif()
if(DEFINED ONCE)
  string(FIND "${out}" "${ONCE}" first)
  string(FIND "${out}" "${ONCE}" last REVERSE)
  if(first EQUAL -1 OR NOT first EQUAL last)
    string(APPEND failures "\"${ONCE}\" does not occur exactly once in standard output\n")
  endif()
endif()
if(failures)
  list(JOIN arguments " " command_line)
  message(FATAL_ERROR "tolvane ${command_line}\n${failures}"
                      "--- standard output:\n${out}--- standard error:\n${err}")
endif()
