// What tolvane-review-page says to a person about its own use and about inputs it cannot make a
// page from, one table per language (a third language is one more table). "{name}" in a text
// stands for a value. Its exit codes never change with the language.
#pragma once

#include <string>

#include "host/cli/cli_texts.h"
#include "host/cli/ui_language.h"

namespace osprevan::review {

enum class ToolText {
  Usage,
  About,
  NeedsPath,
  LangTakes,
  UnexpectedArgument,
  NeedsInputs,
  NeedsPage,
  CannotOpenDocument,
  CannotOpenComponent,
  NotAnOpenDocument,
  CannotOpenPdf,
  CannotWrite,
  CannotWriteBecause,
  CannotOpenReport,
  ReportNotAnObject,
  ReportHasNoComments,
  CommentNotAnObject,
  ReportUnreadable,
  Count  // not a text: the number of texts
};

// The text of `key` in `language` as its table holds it; null when the table lacks it.
const char* ToolTextOf(tlhost::UiLanguage language, ToolText key);

// The text of `key` in `language` (in English when that table lacks it), filled with `values`.
std::string ToolSaid(tlhost::UiLanguage language, ToolText key,
                     const tlhost::TextValues& values = {});

}  // namespace osprevan::review
