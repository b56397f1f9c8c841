#include "host/cli/error_text.h"

#include <cstdio>

#include "host/cli/cli_texts.h"
#include "host/cli/file_cause_text.h"
#include "host/engine/file_access.h"
#include "tolvane/numbers.h"

namespace tlhost {

using namespace tolvane;

namespace {

struct ErrorWords {
  int32_t error;
  CliText words;
};

constexpr ErrorWords kErrorWords[] = {
    {ERR_NONE, CliText::EngineNoError},
    {ERR_FAILED, CliText::EngineFailed},
    {ERR_BAD_DOCUMENT, CliText::EngineNotOpenDocument},
    {ERR_BAD_OBJECT, CliText::EngineNoSuchObject},
    {ERR_BAD_PROPERTY, CliText::EngineNoSuchProperty},
    {ERR_BAD_TYPE, CliText::EngineWrongType},
    {ERR_BAD_VALUE, CliText::EngineValueNotAllowed},
    {ERR_NOT_FOUND, CliText::EngineNotFound},
    {ERR_BAD_NAME, CliText::EngineBadName},
    {ERR_NAME_IN_USE, CliText::EngineNameInUse},
    {ERR_READ_ONLY, CliText::EngineReadOnly},
    {ERR_BAD_LOCATION, CliText::EngineBadLocation},
    {ERR_FILE_OPEN, CliText::EngineCannotBeRead},
    {ERR_FILE_FORMAT, CliText::EngineMalformed},
    {ERR_FILE_WRITE, CliText::EngineCannotBeWritten},
    {ERR_NOT_SUPPORTED, CliText::EngineNotSupported},
    {ERR_CANCELLED, CliText::EngineCancelled},
    {ERR_BUSY, CliText::EngineBusy},
};

}  // namespace

std::string ErrorText(UiLanguage language, int32_t error) {
  for (const ErrorWords& known : kErrorWords) {
    if (known.error == error) return Said(language, known.words);
  }
  return Said(language, CliText::EngineErrorNumber, {{"number", std::to_string(error)}});
}

std::string ReadProblem(UiLanguage language, const std::string& path, int32_t error) {
  if (error != ERR_FILE_OPEN) return ErrorText(language, error);
  const std::string cause = CauseText(language, ReadCause(path));
  return cause.empty() ? ErrorText(language, error) : cause;
}

std::string WriteProblem(UiLanguage language, const std::string& path, int32_t error) {
  if (error != ERR_FILE_WRITE && error != ERR_READ_ONLY) return ErrorText(language, error);
  const std::string cause = CauseText(language, WriteCause(path));
  return cause.empty() ? ErrorText(language, error) : cause;
}

std::string OpenProblem(UiLanguage language, const Engine& engine, const std::string& path,
                        int32_t error) {
  const std::string noted = ProblemText(language, engine.lastProblem());
  return noted.empty() ? ReadProblem(language, path, error) : noted;
}

const char* const kDryRunReason = "dry run";

std::string EngineProblem(UiLanguage language, const FileProblem& problem, const std::string& path,
                          int32_t error) {
  const std::string noted = ProblemText(language, problem);
  return noted.empty() ? WriteProblem(language, path, error) : noted;
}

std::string UnknownCommandText(UiLanguage language, const std::string& word) {
  return Said(language, CliText::UnknownCommand, {{"word", word}});
}

std::string UnknownOptionText(UiLanguage language, const std::string& option) {
  return Said(language, CliText::UnknownOption, {{"option", option}});
}

std::string NotAnOptionOfText(UiLanguage language, const std::string& option,
                              const std::string& command) {
  return Said(language, CliText::NotAnOptionOf, {{"option", option}, {"command", command}});
}

std::string NeedsText(UiLanguage language, const std::string& option, const std::string& what) {
  return Said(language, CliText::Needs, {{"option", option}, {"what", what}});
}

std::string TakesOneText(UiLanguage language, const std::string& command,
                         const std::string& option) {
  return Said(language, CliText::TakesOne, {{"command", command}, {"option", option}});
}

std::string IsTheInputText(UiLanguage language, const std::string& input) {
  return Said(language, CliText::IsTheInput, {{"path", input}});
}

std::string NothingSavedText(UiLanguage language, const std::string& reason) {
  return Said(language, CliText::NothingSaved, {{"why", reason}});
}

std::string PartlySavedText(UiLanguage language, const std::string& reason) {
  return Said(language, CliText::PartlySaved, {{"why", reason}});
}

std::string WaitingText(UiLanguage language, const std::string& path, long holder, double seconds) {
  char limit[32];
  std::snprintf(limit, sizeof limit, "%g", seconds);
  if (holder > 0)
    return Said(language, CliText::WaitingForProcess,
                {{"path", path}, {"pid", std::to_string(holder)}, {"seconds", limit}});
  return Said(language, CliText::WaitingForAnother, {{"path", path}, {"seconds", limit}});
}

}  // namespace tlhost
