// The sentences the command line says to a person, one table per language (a third language is
// one more table). "{name}" in a text stands for a value. Exit codes, the report and the
// system's own words for a failed read or write never change with the language.
#pragma once

#include <string>
#include <utility>
#include <vector>

#include "host/cli/ui_language.h"

namespace tlhost {

enum class CliText {
  CannotOpen,
  ImportDidNotRun,
  ImportDidNotRunBecause,
  CannotWrite,
  CannotWriteOutput,
  CannotSave,
  IsTheInput,
  IsAlso,
  NothingSaved,
  PartlySaved,
  WaitingForProcess,
  WaitingForAnother,
  NoReviewPage,
  NoReportWritten,
  HandshakeRefused,
  NoImportCommand,
  CannotBeRead,
  RoundRefused,
  NoCommandGiven,
  LangTakes,
  ShowNeedsOneFile,
  ExportNeedsFile,
  ExportTakesOneFile,
  ExportNeedsOut,
  MenusTakesNoArguments,
  RunNeedsOneFile,
  RunNeedsTerminal,
  ImportNeedsFiles,
  ImportTakesOneEach,
  RepeatNeeds,
  WaitNeeds,
  UnknownCommand,
  UnknownOption,
  NotAnOptionOf,
  Needs,
  TakesOne,
  Count  // not a text: the number of texts
};

using TextValues = std::vector<std::pair<std::string, std::string>>;

// The text of `key` in `language` as its table holds it; null when the table lacks it.
const char* CliTextOf(UiLanguage language, CliText key);

// `text` with each "{name}" replaced by its value; values are inserted, never scanned again.
std::string Filled(const std::string& text, const TextValues& values);

// The text of `key` in `language` (in English when that table lacks it), filled with `values`.
std::string Said(UiLanguage language, CliText key, const TextValues& values = {});

}  // namespace tlhost
