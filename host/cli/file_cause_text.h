// Why a file could not be read, locked or written, in the user's language: the engine's causes
// and the system's error numbers, one table per language, and the whole of an engine's
// FileProblem (without its path, which the sentence around it names).
#pragma once

#include <string>
#include <vector>

#include "host/cli/ui_language.h"
#include "host/engine/file_problem.h"

namespace tlhost {

// The words of an errno value in `language` as its table holds it; null when the table lacks it.
const char* SystemErrorTextOf(UiLanguage language, int error);

// The errno values the English table words.
std::vector<int> WordedSystemErrors();

// The words of an errno value; one no table words is given in the C library's own (English)
// text with its number, so that nothing is hidden.
std::string SystemErrorText(UiLanguage language, int error);

// The words of a cause that carries no value of its own ("no such file"); empty for None and for
// the causes whose words need the problem's values (System, Locked, SecondNameUnreadable,
// Malformed).
std::string CauseText(UiLanguage language, FileCause cause);

// The whole problem in words: "no space left on device", "locked by another import (process
// 42)", "malformed: line 4: unknown attribute ..."; empty when it has no cause.
std::string ProblemText(UiLanguage language, const FileProblem& problem);

}  // namespace tlhost
