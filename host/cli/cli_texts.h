// The sentences the command line says to a person, one table per language (a third language is
// one more table). "{name}" in a text stands for a value. Exit codes and the report never change
// with the language.
#pragma once

#include <cstddef>
#include <string>
#include <utility>
#include <vector>

#include "host/cli/ui_language.h"

namespace tlhost {

enum class CliText {
  CannotOpen,
  ImportDidNotRun,
  ImportDidNotRunBecause,
  NotRun,
  CannotWrite,
  CannotWriteOutput,
  CannotSave,
  CannotSaveInto,
  CannotSaveComponent,
  IsTheInput,
  IsAlso,
  TheSummaryFile,
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
  // The help, each command's usage line and what the command does, and the version.
  HelpHeading,
  HelpOptions,
  HelpExitStatus,
  UsageLine,
  AboutShow,
  AboutMenus,
  AboutRun,
  AboutImport,
  AboutExportPdf,
  AboutHelp,
  VersionLine,
  // export-pdf's own refusals.
  RotateGivePages,
  RotateDegrees,
  ExportIsAFolder,
  ExportNotARegularFile,
  ExportNotAPdf,
  ExportFailed,
  // The engine's error numbers in words.
  EngineNoError,
  EngineFailed,
  EngineNotOpenDocument,
  EngineNoSuchObject,
  EngineNoSuchProperty,
  EngineWrongType,
  EngineValueNotAllowed,
  EngineNotFound,
  EngineBadName,
  EngineNameInUse,
  EngineReadOnly,
  EngineBadLocation,
  EngineCannotBeRead,
  EngineMalformed,
  EngineCannotBeWritten,
  EngineNotSupported,
  EngineCancelled,
  EngineBusy,
  EngineErrorNumber,
  // Why the plug-in did not run an import another client asked for.
  RefusalNoSuchFile,
  RefusalIsAFolder,
  RefusalEmptyFile,
  RefusalCannotBeRead,
  RefusalNotAPdf,
  RefusalNotTagged,
  RefusalOtherCreator,
  RefusalBrokenStructure,
  RefusalReadOnly,
  RefusalNoDocument,
  RefusalMap,
  RefusalNeedsPassword,
  // Why a file could not be read, locked or written, as the engine found it.
  CauseNoSuchFile,
  CauseNoSuchFolder,
  CauseIsAFolder,
  CauseNotARegularFile,
  CauseReadOnlyFile,
  CausePermissionDenied,
  CauseCannotBeRead,
  CauseSecondNameUnreadable,
  CauseChangedOnDisk,
  CauseLocked,
  CauseLockedByProcess,
  // An errno value no table words, in the C library's text.
  SystemError,
  // A fault of a file, or of a dialog script, on its line.
  OnLine,
  MalformedDetail,
  // --repeat's closing line and its refusals.
  RepeatSummary,
  CannotHoldPdfLibrary,
  Count  // not a text: the number of texts
};

using TextValues = std::vector<std::pair<std::string, std::string>>;

// One text of a language's table, by its key; every table of texts is a list of these.
template <typename Key>
struct TextEntry {
  Key key;
  const char* text;
};

// The text of `key` in `table`; null when the table lacks it.
template <typename Key, size_t N>
const char* TextIn(const TextEntry<Key> (&table)[N], Key key) {
  for (const TextEntry<Key>& entry : table)
    if (entry.key == key) return entry.text;
  return nullptr;
}

// The text of `key` in `language` as its table holds it; null when the table lacks it.
const char* CliTextOf(UiLanguage language, CliText key);

// `text` with each "{name}" replaced by its value; values are inserted, never scanned again.
std::string Filled(const std::string& text, const TextValues& values);

// The text `textOf` finds for `key` in `language` (in English when that table lacks it), filled
// with `values`.
template <typename Key>
std::string SaidFrom(const char* (*textOf)(UiLanguage, Key), UiLanguage language, Key key,
                     const TextValues& values) {
  const char* text = textOf(language, key);
  if (!text) text = textOf(UiLanguage::English, key);
  return Filled(text ? text : "", values);
}

// The text of `key` in `language` (in English when that table lacks it), filled with `values`.
std::string Said(UiLanguage language, CliText key, const TextValues& values = {});

}  // namespace tlhost
