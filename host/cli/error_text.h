// The words the command line prints (the sentences in the user's language, from cli_texts): the
// engine's error numbers, the cause of a failed read or write of a file as the engine noted it or
// as far as the file system can tell it, and the lines about saving.
#pragma once

#include <cstdint>
#include <string>

#include "host/cli/ui_language.h"
#include "host/engine/engine.h"

namespace tlhost {

// The words below are said in `language`; a report, which programs read, takes them in English.

// A few words for a tolvane::HostError, e.g. "no such object"; "error N" for a number the
// interface does not define.
std::string ErrorText(UiLanguage language, int32_t error);

// Why `path` could not be opened with `error`: ReadCause(path) in words, else ErrorText(error).
std::string ReadProblem(UiLanguage language, const std::string& path, int32_t error);

// Why `path` could not be written with `error`: WriteCause(path) in words, else
// ErrorText(error).
std::string WriteProblem(UiLanguage language, const std::string& path, int32_t error);

// The reason of a failed save or write as the engine noted it in `problem`, without the path;
// WriteProblem(path, error) when it noted none.
std::string EngineProblem(UiLanguage language, const FileProblem& problem, const std::string& path,
                          int32_t error);

// Why a document or book did not open in `engine`, as the engine noted it (a malformed file with
// its line and fault); ReadProblem(path, error) when it noted none.
std::string OpenProblem(UiLanguage language, const Engine& engine, const std::string& path,
                        int32_t error);

// An output that is one of the command's inputs: "is the input PATH".
std::string IsTheInputText(UiLanguage language, const std::string& input);

// The first line of a summary, and the console's line, when no document was saved.
std::string NothingSavedText(UiLanguage language, const std::string& reason);
// The same when some of a book's files were saved and others not.
std::string PartlySavedText(UiLanguage language, const std::string& reason);

// The console's line while an import waits for another process's lock on `path`.
std::string WaitingText(UiLanguage language, const std::string& path, long holder, double seconds);

// Wrong uses of the command line.
std::string UnknownCommandText(UiLanguage language, const std::string& word);
std::string UnknownOptionText(UiLanguage language, const std::string& option);
std::string NotAnOptionOfText(UiLanguage language, const std::string& option,
                              const std::string& command);
// "--wait needs SECONDS": an option given without its value.
std::string NeedsText(UiLanguage language, const std::string& option, const std::string& what);
// "import takes one -o OUT": an option given twice that may be given once.
std::string TakesOneText(UiLanguage language, const std::string& command,
                         const std::string& option);

// The reason recorded in the report for a dry run, which saves nothing by design; the report
// is read by programs, so it is the same in every language.
extern const char* const kDryRunReason;

}  // namespace tlhost
