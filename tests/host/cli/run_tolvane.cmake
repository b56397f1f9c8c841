# Runs the tolvane program once and checks its exit status and standard error; standard output
# is empty (a refusal) or matches STDOUT. Standard input is this script, never a terminal.
#   TOLVANE           the program
#   ARGS              its arguments, separated by "|"
#   STATUS            the expected exit status
#   STDERR            a regular expression standard error must match
#   STDOUT            a regular expression standard output must match; unset: it is empty
#   LOCALE            the value of LANG (LC_ALL and LC_MESSAGES unset); unset: C.UTF-8
# "@SCRATCH@" in ARGS is a folder of this run's own, made empty before and removed after, for the
# outputs a test names (which a refusal must not write).
string(RANDOM LENGTH 12 token)
set(scratch "${CMAKE_CURRENT_BINARY_DIR}/tolvane-run-${token}")
file(REMOVE_RECURSE "${scratch}")
file(MAKE_DIRECTORY "${scratch}")
string(REPLACE "@SCRATCH@" "${scratch}" ARGS "${ARGS}")
string(REPLACE "|" ";" arguments "${ARGS}")
set(ENV{LC_ALL} "")
set(ENV{LC_MESSAGES} "")
if(DEFINED LOCALE)
  set(ENV{LANG} "${LOCALE}")
else()
  set(ENV{LANG} "C.UTF-8")
endif()
execute_process(COMMAND "${TOLVANE}" ${arguments} INPUT_FILE "${CMAKE_CURRENT_LIST_FILE}"
                RESULT_VARIABLE status OUTPUT_VARIABLE out ERROR_VARIABLE err)
file(GLOB written RELATIVE "${scratch}" "${scratch}/*")
file(REMOVE_RECURSE "${scratch}")
set(failures "")
if(NOT status STREQUAL STATUS)
  string(APPEND failures "exit status ${status}, expected ${STATUS}\n")
endif()
if(NOT err MATCHES "${STDERR}")
  string(APPEND failures "standard error does not match: ${STDERR}\n")
endif()
if(DEFINED STDOUT)
  if(NOT out MATCHES "${STDOUT}")
    string(APPEND failures "standard output does not match: ${STDOUT}\n")
  endif()
elseif(NOT out STREQUAL "")
  string(APPEND failures "standard output is not empty\n")
endif()
if(written AND NOT STATUS STREQUAL "0")
  string(APPEND failures "a refusal wrote ${written}\n")
endif()
if(failures)
  list(JOIN arguments " " command_line)
  message(FATAL_ERROR "tolvane ${command_line}\n${failures}"
                      "--- standard output:\n${out}--- standard error:\n${err}")
endif()
