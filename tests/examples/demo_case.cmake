# Runs examples/demo.sh with the build at BUILD (relative to the top of the tree), checks that
# the round trip shows what it promises, and removes the demo's folder.
# The demo speaks the user's language; the expectations below are the Japanese texts.
set(ENV{LC_ALL} "")
set(ENV{LC_MESSAGES} "")
set(ENV{LANG} "ja_JP.UTF-8")
execute_process(COMMAND bash "${TOP}/examples/demo.sh" "${BUILD}" WORKING_DIRECTORY "${TOP}"
                RESULT_VARIABLE status OUTPUT_VARIABLE out ERROR_VARIABLE err)
string(REGEX MATCH "The demo's files are in ([^\n]+)" found "${out}")
if(CMAKE_MATCH_1)
  file(REMOVE_RECURSE "${CMAKE_MATCH_1}")
endif()
set(expected
  "\\[dialog\\] smry"
  "\\[summary\\]      置換        1           0         0"
  "\\[summary\\] ハイライト        1           0         0"
  "\\{-Kim [^|]*\\|該当する-\\}\\{\\+Kim [^|]*\\|元の\\+\\}"
  "\"outcome\": \"successful\""
  "after-1.png")
foreach(pattern ${expected})
  if(NOT out MATCHES "${pattern}")
    message(FATAL_ERROR "the demo's output lacks ${pattern} (status ${status})\n${out}${err}")
  endif()
endforeach()
if(NOT status EQUAL 0)
  message(FATAL_ERROR "the demo failed with status ${status}\n${out}${err}")
endif()
