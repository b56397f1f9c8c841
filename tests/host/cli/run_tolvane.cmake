# Runs the tolvane program once and checks that it refused: its exit status, nothing on
# standard output, and its message on standard error.
#   TOLVANE           the program
#   ARGS              its arguments, separated by "|"
#   STATUS            the expected exit status
#   STDERR            a regular expression standard error must match
string(REPLACE "|" ";" arguments "${ARGS}")
execute_process(COMMAND "${TOLVANE}" ${arguments}
                RESULT_VARIABLE status OUTPUT_VARIABLE out ERROR_VARIABLE err)
set(failures "")
if(NOT status STREQUAL STATUS)
  string(APPEND failures "exit status ${status}, expected ${STATUS}\n")
endif()
if(NOT err MATCHES "${STDERR}")
  string(APPEND failures "standard error does not match: ${STDERR}\n")
endif()
if(NOT out STREQUAL "")
  string(APPEND failures "standard output is not empty\n")
endif()
if(failures)
  list(JOIN arguments " " command_line)
  message(FATAL_ERROR "tolvane ${command_line}\n${failures}"
                      "--- standard output:\n${out}--- standard error:\n${err}")
endif()
