cmake_minimum_required(VERSION 3.20)
# Runs "tolvane import" in a scratch folder on a copy of an example document and checks what the
# command saved and printed.
#   TOLVANE, PYTHON, REVIEWER, EXAMPLES   the program, the reviewer tool and the examples
#   WORK                                  the scratch folder's prefix: a random suffix makes it
#                                         this run's own; it is removed when the case passes
#   CASE                                  out, in-place, dry-run, refused, refusals, modes,
#                                         save-fails, summary, book-out, phases, repeat,
#                                         repeat-language, language, dialog-fault
string(RANDOM LENGTH 10 suffix)
set(WORK "${WORK}-${suffix}")
# The plug-in and the command line speak Japanese here, as the expectations below are written;
# the case "language" sets its own.
set(ENV{LC_ALL} "")
set(ENV{LC_MESSAGES} "")
set(ENV{LANG} "ja_JP.UTF-8")
file(MAKE_DIRECTORY "${WORK}")
set(ENV{TOLVANE_USER_DIR} "${WORK}/user")
set(failures "")

# Sets status, out and err in the caller.
function(tolvane)
  execute_process(COMMAND "${TOLVANE}" ${ARGN} WORKING_DIRECTORY "${WORK}"
                  RESULT_VARIABLE s OUTPUT_VARIABLE o ERROR_VARIABLE e)
  set(status "${s}" PARENT_SCOPE)
  set(out "${o}" PARENT_SCOPE)
  set(err "${e}" PARENT_SCOPE)
endfunction()

# expect(CONDITION... BECAUSE text): notes the text when the if() condition does not hold.
function(expect)
  cmake_parse_arguments(E "" "BECAUSE" "" ${ARGN})
  if(NOT (${E_UNPARSED_ARGUMENTS}))
    set(failures "${failures}${E_BECAUSE}\n" PARENT_SCOPE)
  endif()
endfunction()

macro(expect_doc_as_given)
  file(READ "${WORK}/doc.tlv" now)
  expect(now STREQUAL given BECAUSE "doc.tlv was written")
endmacro()

# Every file under WORK with its content's hash, into the variable `var`.
function(snapshot var)
  file(GLOB_RECURSE files LIST_DIRECTORIES true RELATIVE "${WORK}" "${WORK}/*")
  set(listing "")
  foreach(name IN LISTS files)
    if(IS_DIRECTORY "${WORK}/${name}")
      string(APPEND listing "${name}/\n")
    else()
      file(SHA1 "${WORK}/${name}" hash)
      string(APPEND listing "${name} ${hash}\n")
    endif()
  endforeach()
  set(${var} "${listing}" PARENT_SCOPE)
endfunction()

# The permission bits of a file, as "644".
function(mode_of path var)
  execute_process(COMMAND stat -c %a "${path}" OUTPUT_VARIABLE bits OUTPUT_STRIP_TRAILING_WHITESPACE)
  set(${var} "${bits}" PARENT_SCOPE)
endfunction()

function(review pdf out)
  execute_process(COMMAND "${PYTHON}" "${REVIEWER}" "${WORK}/${pdf}" "${EXAMPLES}/demo-review.json"
                          "${WORK}/${out}"
                  RESULT_VARIABLE s OUTPUT_QUIET ERROR_VARIABLE e)
  if(NOT s EQUAL 0)
    message(FATAL_ERROR "review.py failed: ${e}")
  endif()
endfunction()

# Two blank lines at the end, which a save drops, so that a saved doc.tlv differs from this.
file(READ "${EXAMPLES}/chapter1.tlv" given)
string(APPEND given "\n\n")
file(WRITE "${WORK}/doc.tlv" "${given}")
tolvane(export-pdf doc.tlv -o exported.pdf)
if(NOT status EQUAL 0)
  message(FATAL_ERROR "export-pdf failed: ${err}")
endif()

if(CASE STREQUAL "out")
  tolvane(import doc.tlv exported.pdf -o out.tlv)
  expect(status EQUAL 0 BECAUSE "exit status ${status}, expected 0")
  expect_doc_as_given()
  tolvane(show out.tlv)
  expect(status EQUAL 0 BECAUSE "out.tlv cannot be shown: ${err}")
elseif(CASE STREQUAL "in-place")
  tolvane(import doc.tlv exported.pdf)
  expect(status EQUAL 0 BECAUSE "exit status ${status}, expected 0")
  file(READ "${WORK}/doc.tlv" now)
  expect(NOT now STREQUAL given BECAUSE "doc.tlv was not saved")
  tolvane(show doc.tlv)
  expect(status EQUAL 0 BECAUSE "the saved doc.tlv cannot be shown: ${err}")
elseif(CASE STREQUAL "dry-run")
  # Nothing is written: no document, no summary or report beside the PDF; the summary is printed.
  review(exported.pdf reviewed.pdf)
  snapshot(before)
  tolvane(import doc.tlv reviewed.pdf -o out.tlv --dry-run)
  expect(status EQUAL 0 BECAUSE "exit status ${status}, expected 0")
  snapshot(after)
  expect(after STREQUAL before BECAUSE "the folder changed:\n${before}--- to ---\n${after}")
  expect(out MATCHES "\n\\[summary\\] ハイライト +1 " BECAUSE "the summary is not printed")
  expect(NOT out MATCHES "\\[report\\]" BECAUSE "a report was written")
  # With --report, the report goes there and nowhere else.
  tolvane(import doc.tlv reviewed.pdf --dry-run --report asked.json)
  expect(status EQUAL 0 BECAUSE "exit status ${status} with --report, expected 0")
  snapshot(after)
  expect(after STREQUAL "${before}" OR after MATCHES "^asked.json [0-9a-f]+\n${before}$"
         BECAUSE "--report wrote more than asked.json:\n${after}")
  file(READ "${WORK}/asked.json" report)
  expect(report MATCHES "\"markedText\": \"マニュアル\"" BECAUSE "asked.json holds no report")
  expect(out MATCHES "\\[report\\] asked.json\n" BECAUSE "the report's path is not printed")
elseif(CASE STREQUAL "refusals")
  # Each refusal: the plug-in's message on a line of its own, the cause on the error output,
  # the exit status 1 and the document as it was.
  file(MAKE_DIRECTORY "${WORK}/folder.pdf")
  file(WRITE "${WORK}/empty.pdf" "")
  file(WRITE "${WORK}/text.pdf" "no PDF at all\n")
  tolvane(export-pdf doc.tlv -o other.pdf --creator "Other 1.0")
  execute_process(COMMAND "${PYTHON}" -c "import fitz; d = fitz.open('exported.pdf'); \
d.xref_set_key(d.pdf_catalog(), 'StructTreeRoot', 'null'); d.save('untagged.pdf')"
                  WORKING_DIRECTORY "${WORK}" RESULT_VARIABLE s)
  if(NOT s EQUAL 0)
    message(FATAL_ERROR "the untagged PDF could not be made")
  endif()
  execute_process(COMMAND qpdf --encrypt reader owner 256 -- exported.pdf locked.pdf
                  WORKING_DIRECTORY "${WORK}" RESULT_VARIABLE s)
  if(NOT s EQUAL 0)
    message(FATAL_ERROR "the encrypted PDF could not be made")
  endif()
  # In each language: the cause on the error output, and after "Import stopped:" the message
  # the plug-in showed, not a developer's words.
  foreach(row "nofile.pdf|no such file|ファイルがありません"
              "folder.pdf|is a folder|フォルダーです"
              "empty.pdf|empty file|空のファイルです"
              "text.pdf|not a PDF|PDF ではありません"
              "untagged.pdf|not tagged|タグ付き PDF ではありません"
              "other.pdf|made by another program|別のプログラムで作成されています"
              "locked.pdf|needs a password|パスワードが必要です")
    string(REPLACE "|" ";" row "${row}")
    list(GET row 0 pdf)
    foreach(lang en ja)
      if(lang STREQUAL "en")
        list(GET row 1 cause)
        set(did_not_run "the import did not run:")
        set(called "Called from client")
        set(stopped "Import stopped:")
        set(password "password")
      else()
        list(GET row 2 cause)
        set(did_not_run "読み込みを実行できませんでした :")
        set(called "クライアントからの呼び出し")
        set(stopped "読み込みを中止しました :")
        set(password "パスワード")
      endif()
      tolvane(import doc.tlv ${pdf} --lang ${lang})
      expect(status EQUAL 1 BECAUSE "${pdf} ${lang}: exit status ${status}, expected 1")
      expect(err STREQUAL "tolvane: ${did_not_run} ${pdf}: ${cause}\n"
             BECAUSE "${pdf} ${lang}: the error output is not the cause: ${err}")
      set(shown "")
      set(reason "")
      if(out MATCHES "\n${called}\n([^\n]+)\n")
        set(shown "${CMAKE_MATCH_1}")
      endif()
      if(out MATCHES "\n${stopped} ([^\n]+)\n")
        set(reason "${CMAKE_MATCH_1}")
      endif()
      expect(shown MATCHES "." BECAUSE "${pdf} ${lang}: no message on a line of its own")
      expect(reason STREQUAL shown
             BECAUSE "${pdf} ${lang}: the caller is not told why in the message shown (${reason})")
      # Only the PDF that needs a password says so; every other one is told what it is.
      if(pdf STREQUAL "locked.pdf")
        expect(shown MATCHES "${password}" BECAUSE "${pdf}: the message does not name the password")
      else()
        expect(NOT shown MATCHES "${password}" BECAUSE "${pdf}: the message names a password")
      endif()
      expect_doc_as_given()
    endforeach()
  endforeach()
elseif(CASE STREQUAL "modes")
  # Saved in place, a document keeps its permission bits; one its owner may not write is
  # refused before anything is imported, and left as it was.
  review(exported.pdf reviewed.pdf)
  foreach(row "600|0" "640|0" "444|1")
    string(REPLACE "|" ";" row "${row}")
    list(GET row 0 bits)
    list(GET row 1 expected)
    file(WRITE "${WORK}/d${bits}.tlv" "${given}")
    execute_process(COMMAND chmod ${bits} "${WORK}/d${bits}.tlv")
    tolvane(import d${bits}.tlv reviewed.pdf)
    expect(status EQUAL expected BECAUSE "mode ${bits}: exit status ${status}, expected ${expected}")
    mode_of("${WORK}/d${bits}.tlv" now)
    expect(now STREQUAL bits BECAUSE "mode ${bits} became ${now}")
    file(READ "${WORK}/d${bits}.tlv" text)
    if(expected EQUAL 0)
      expect(NOT text STREQUAL given BECAUSE "mode ${bits}: the document was not saved")
    else()
      expect(text STREQUAL given BECAUSE "mode ${bits}: the read-only document was written")
      expect(err STREQUAL "tolvane: 読み込みを実行できませんでした : d${bits}.tlv: 上書き禁止文書です\n"
             BECAUSE "mode ${bits}: the cause is not given: ${err}")
      expect(out MATCHES "\\[alert\\] 上書き禁止文書には注釈を読み込めません。"
             BECAUSE "mode ${bits}: the plug-in's message is not shown")
    endif()
  endforeach()
  # Saved to another place, a read-only source is imported and stays as it was.
  tolvane(import d444.tlv reviewed.pdf -o copy.tlv)
  expect(status EQUAL 0 BECAUSE "-o from a read-only source: exit status ${status}, expected 0")
  file(READ "${WORK}/copy.tlv" text)
  expect(text MATCHES "TL_PDF_Comments" BECAUSE "copy.tlv holds no import")
  file(READ "${WORK}/d444.tlv" text)
  expect(text STREQUAL given BECAUSE "the read-only source was written")
elseif(CASE STREQUAL "refused")
  # A summary left by an earlier run is not this run's.
  file(WRITE "${WORK}/missing.smry" "stale\n")
  tolvane(import doc.tlv missing.pdf -o out.tlv)
  expect(status EQUAL 1 BECAUSE "exit status ${status}, expected 1")
  expect_doc_as_given()
  expect(NOT EXISTS "${WORK}/out.tlv" BECAUSE "out.tlv was written")
  expect(NOT out MATCHES stale BECAUSE "a stale summary was printed")
elseif(CASE STREQUAL "save-fails")
  # A folder in the way: the temporary file cannot be renamed onto it.
  file(MAKE_DIRECTORY "${WORK}/taken/inside")
  tolvane(import doc.tlv exported.pdf -o taken)
  expect(status EQUAL 1 BECAUSE "exit status ${status}, expected 1")
  expect(err MATCHES "^tolvane: taken に保存できません : フォルダーです\n"
         BECAUSE "standard error does not give the cause")
  expect(IS_DIRECTORY "${WORK}/taken/inside" BECAUSE "the folder in the way was changed")
  expect_doc_as_given()
elseif(CASE STREQUAL "summary")
  # A PDF without extension in a folder with a dot: the summary is "rev.2/review.smry".
  file(MAKE_DIRECTORY "${WORK}/rev.2")
  review(exported.pdf rev.2/review)
  file(WRITE "${WORK}/rev.2/review.smry" "stale\n")
  tolvane(import doc.tlv rev.2/review -o out.tlv)
  expect(status EQUAL 0 BECAUSE "exit status ${status}, expected 0")
  file(READ "${WORK}/rev.2/review.smry" summary)
  expect(NOT summary STREQUAL "stale\n" BECAUSE "the import wrote no summary")
  string(REGEX REPLACE "\n$" "" summary "${summary}")
  string(REPLACE "\n" "\n[summary] " printed "[summary] ${summary}")
  string(FIND "${out}" "${printed}\n" at)
  expect(NOT at EQUAL -1 BECAUSE "the summary's lines are not printed")
  string(FIND "${out}" "[phases]" at)
  expect(at EQUAL -1 BECAUSE "phase times printed unasked")
  expect(NOT out MATCHES stale BECAUSE "the stale summary was printed")
elseif(CASE STREQUAL "language")
  # The locale settings, or --lang over them, choose the words of the console, the summary file
  # and the markers; the report is the same whatever the language.
  review(exported.pdf reviewed.pdf)
  # A "." stands for each ";" of the line, which a CMake argument cannot hold.
  set(english_header "Summary\t")
  set(japanese_header "概要 :\t")
  set(english_line "doc-[0-9].tlv: 3 of 3 comments placed, 0 flagged for review, 0 failed, 0 already imported. saved. report ")
  set(japanese_line "doc-[0-9].tlv: 3 件中 3 件の注釈を配置、0 件は要確認、0 件は失敗、0 件は読み込み済み. 保存しました. レポート ")
  set(first_report "")
  set(n 0)
  # LC_ALL LC_MESSAGES LANG --lang | language
  foreach(setting "|||C.UTF-8||english|Highlight"
                  "|||ja_JP.UTF-8||japanese|ハイライト"
                  "|||C.UTF-8|ja|japanese|ハイライト"
                  "|||ja_JP.UTF-8|en|english|Highlight"
                  "|ja_JP.UTF-8||C.UTF-8||japanese|ハイライト"
                  "|en_US.UTF-8|ja_JP.UTF-8|||english|Highlight"
                  "||ja_JP.eucJP|C||japanese|ハイライト")
    string(REPLACE "|" ";" fields "${setting}")
    list(GET fields 1 lc_all)
    list(GET fields 2 lc_messages)
    list(GET fields 3 lang)
    list(GET fields 4 option)
    list(GET fields 5 language)
    list(GET fields 6 marker)
    math(EXPR n "${n} + 1")
    set(ENV{LC_ALL} "${lc_all}")
    set(ENV{LC_MESSAGES} "${lc_messages}")
    set(ENV{LANG} "${lang}")
    file(WRITE "${WORK}/doc-${n}.tlv" "${given}")
    if(option)
      tolvane(import doc-${n}.tlv reviewed.pdf --lang ${option})
    else()
      tolvane(import doc-${n}.tlv reviewed.pdf)
    endif()
    set(because "with '${setting}'")
    expect(status EQUAL 0 BECAUSE "exit status ${status} ${because}")
    file(READ "${WORK}/reviewed.smry" summary)
    file(READ "${WORK}/reviewed.report.json" report)
    # Each round imports into its own copy, which the report names; the rest must not change.
    string(REPLACE "\"document\": \"doc-${n}.tlv\"" "\"document\": \"doc.tlv\"" report "${report}")
    if(first_report STREQUAL "")
      set(first_report "${report}")
    endif()
    expect(report STREQUAL first_report BECAUSE "the report changed ${because}")
    expect(summary MATCHES "^${${language}_header}" BECAUSE "the summary file is not in ${language} ${because}")
    expect(summary MATCHES "\n$" BECAUSE "the summary file does not end its last line ${because}")
    expect(out MATCHES "\n\\[summary\\] ${${language}_header}" BECAUSE "the printed summary is not in ${language} ${because}")
    expect(out MATCHES "\n${${language}_line}[^\n]*reviewed.report.json\n$" BECAUSE "no last line in ${language} ${because}")
    tolvane(show doc-${n}.tlv)
    expect(out MATCHES "TL_PDF_Comment: ${marker} :" BECAUSE "the markers are not in ${language} ${because}")
  endforeach()
  # Imported in one language, then again in the other: every comment is known as imported,
  # whichever language wrote its marker.
  set(ENV{LC_ALL} "")
  set(ENV{LC_MESSAGES} "")
  set(ENV{LANG} "C.UTF-8")
  foreach(pair "1|ja|3 件は読み込み済み. 保存しました" "2|en|3 already imported. saved")
    string(REPLACE "|" ";" fields "${pair}")
    list(GET fields 0 written)
    list(GET fields 1 option)
    list(GET fields 2 said)
    tolvane(import doc-${written}.tlv reviewed.pdf --lang ${option})
    expect(status EQUAL 0 BECAUSE "exit status ${status} re-importing doc-${written}.tlv")
    file(READ "${WORK}/reviewed.report.json" report)
    string(REGEX MATCHALL "\"outcome\": \"alreadyImported\"" known "${report}")
    list(LENGTH known count)
    expect(count EQUAL 3 BECAUSE "doc-${written}.tlv imported again in ${option}: ${count} of 3 known")
    expect(out MATCHES "${said}. " BECAUSE "doc-${written}.tlv: the last line does not say so")
  endforeach()
elseif(CASE STREQUAL "book-out")
  # A book's changed component documents go into the folder -o names; the sources stay.
  foreach(name manual.tlb chapter1.tlv table-footnote.tlv structured.tlv)
    file(COPY "${EXAMPLES}/${name}" DESTINATION "${WORK}")
  endforeach()
  tolvane(export-pdf manual.tlb -o book.pdf)
  review(book.pdf reviewed.pdf)
  tolvane(import manual.tlb reviewed.pdf -o changed)
  expect(status EQUAL 0 BECAUSE "exit status ${status}, expected 0")
  file(READ "${WORK}/chapter1.tlv" source)
  file(READ "${EXAMPLES}/chapter1.tlv" original)
  expect(source STREQUAL original BECAUSE "the component's source was written")
  tolvane(show changed/chapter1.tlv)
  expect(out MATCHES "TL_PDF_Comments_Highlight\\|マニュアル"
         BECAUSE "changed/chapter1.tlv lacks the highlight")
  expect(NOT EXISTS "${WORK}/changed/table-footnote.tlv"
         BECAUSE "an unchanged component was saved")
elseif(CASE STREQUAL "phases")
  # Asked, the host prints its own phases and the plug-in its own, in seconds.
  review(exported.pdf reviewed.pdf)
  tolvane(import doc.tlv reviewed.pdf -o out.tlv --phases)
  expect(status EQUAL 0 BECAUSE "exit status ${status}, expected 0")
  set(seconds "[0-9]+[.][0-9]+")
  # The output quoted in a reason must not hold the ";" of a CMake list.
  string(REPLACE ";" "," printed "${out}")
  expect(out MATCHES "\\[phases\\] open ${seconds} annotations ${seconds} content ${seconds} structure ${seconds} place ${seconds} apply ${seconds}\n"
         BECAUSE "no phases of the plug-in in: ${printed}")
  expect(out MATCHES "\\[phases\\] load [0-9.e-]+ call [0-9.e-]+ save [0-9.e-]+\n"
         BECAUSE "no phases of the host in: ${printed}")
elseif(CASE STREQUAL "repeat")
  # A hundred imports in one process: every round imports, leaves no block of the task allocator
  # or the PDF library behind, and the heap stops growing (a few allocator pages of slack).
  review(exported.pdf reviewed.pdf)
  tolvane(import doc.tlv reviewed.pdf --repeat 100)
  expect(status EQUAL 0 BECAUSE "exit status ${status}, expected 0")
  string(REGEX MATCHALL "\\[round\\] [0-9]+ imported [^\n]* task blocks 0, PDF library blocks 0,"
         clean "${out}")
  list(LENGTH clean rounds)
  expect(rounds EQUAL 100 BECAUSE "${rounds} of 100 rounds imported and left nothing behind")
  string(REGEX MATCH "\\[round\\] 25 [^\n]*heap ([0-9]+) bytes" ignored "${out}")
  set(heap25 "${CMAKE_MATCH_1}")
  string(REGEX MATCH "\\[round\\] 100 [^\n]*heap ([0-9]+) bytes" ignored "${out}")
  math(EXPR growth "${CMAKE_MATCH_1}0 / 10 - ${heap25}0 / 10")
  expect(growth LESS 16384 BECAUSE "the heap grew by ${growth} bytes from round 25 to 100")
  expect_doc_as_given()
elseif(CASE STREQUAL "repeat-language")
  # --repeat's closing line is said in the user's language; the per-round lines, which programs
  # read, and every figure's place stay the same in every language.
  review(exported.pdf reviewed.pdf)
  set(figure "[0-9]+[.][0-9][0-9][0-9][0-9]")
  set(round "\\[round\\] [12] imported ${figure} s, task blocks [0-9]+, PDF library blocks 0, heap [0-9]+ bytes\n")
  foreach(setting "C.UTF-8||\\[repeat\\] 2 rounds, first ${figure} s, last ${figure} s, last/first ${figure}\n"
                  "C.UTF-8|ja|\\[repeat\\] 2 回、最初 ${figure} 秒、最後 ${figure} 秒、最後/最初 ${figure}\n")
    string(REPLACE "|" ";" fields "${setting}")
    list(GET fields 0 lang)
    list(GET fields 1 option)
    list(GET fields 2 closing)
    set(ENV{LANG} "${lang}")
    if(option)
      tolvane(import doc.tlv reviewed.pdf --repeat 2 --lang ${option})
    else()
      tolvane(import doc.tlv reviewed.pdf --repeat 2)
    endif()
    expect(status EQUAL 0 BECAUSE "exit status ${status} with '${option}'")
    expect(out MATCHES "${round}${round}${closing}" BECAUSE "the lines with '${option}' are not as expected")
  endforeach()
  expect_doc_as_given()
elseif(CASE STREQUAL "dialog-fault")
  # A scripted action that names no control of the plug-in's filter dialog is said in the
  # language of --lang, the dialog is cancelled, and the exit status is the same in every
  # language.
  file(WRITE "${WORK}/fault.dialogs"
       "dialog warningdialog\n  press 3\nend\n"
       "dialog inputfile\n  text 3 ${WORK}/exported.pdf\n  choose 12\n  press 1\nend\n"
       "dialog customfilterdialog\n  check 999\n  press 100\nend\n")
  foreach(language "en|tolvane: dialog customfilterdialog: no control 999\n"
                   "ja|tolvane: ダイアログ customfilterdialog : コントロール 999 がありません\n")
    string(REPLACE "|" ";" fields "${language}")
    list(GET fields 0 option)
    list(GET fields 1 said)
    tolvane(--lang ${option} run doc.tlv --dialogs fault.dialogs)
    expect(status EQUAL 1 BECAUSE "exit status ${status} with --lang ${option}")
    string(FIND "${err}" "${said}" at)
    expect(at EQUAL 0 BECAUSE "with --lang ${option}, standard error does not begin with: ${said}")
  endforeach()
  expect_doc_as_given()
else()
  message(FATAL_ERROR "unknown CASE ${CASE}")
endif()

# A save leaves no temporary file behind, whether it succeeded or not.
file(GLOB_RECURSE leftovers "${WORK}/.*tmp*")
expect(NOT leftovers BECAUSE "temporary files left: ${leftovers}")

if(NOT failures)
  file(REMOVE_RECURSE "${WORK}")
else()
  message(FATAL_ERROR "import case ${CASE} (files kept in ${WORK})\n${failures}"
                      "--- standard output:\n${out}--- standard error:\n${err}")
endif()
