#include "host/cli/error_text.h"

#include <cstdio>

#include "host/cli/cli_texts.h"
#include "host/engine/file_access.h"
#include "tolvane/numbers.h"

namespace tlhost {

using namespace tolvane;

namespace {

struct ErrorWords {
  int32_t error;
  const char* words;
};

constexpr ErrorWords kErrorWords[] = {
    {ERR_NONE, "no error"},
    {ERR_FAILED, "failed"},
    {ERR_BAD_DOCUMENT, "not an open document"},
    {ERR_BAD_OBJECT, "no such object"},
    {ERR_BAD_PROPERTY, "no such property"},
    {ERR_BAD_TYPE, "wrong type of value"},
    {ERR_BAD_VALUE, "value not allowed"},
    {ERR_NOT_FOUND, "not found"},
    {ERR_BAD_NAME, "bad name"},
    {ERR_NAME_IN_USE, "name in use"},
    {ERR_READ_ONLY, "read-only"},
    {ERR_BAD_LOCATION, "bad text location"},
    {ERR_FILE_OPEN, "cannot be read"},
    {ERR_FILE_FORMAT, "malformed"},
    {ERR_FILE_WRITE, "cannot be written"},
    {ERR_NOT_SUPPORTED, "not supported"},
    {ERR_CANCELLED, "cancelled"},
    {ERR_BUSY, "host busy"},
};

}  // namespace

std::string ErrorText(int32_t error) {
  for (const ErrorWords& known : kErrorWords) {
    if (known.error == error) return known.words;
  }
  return "error " + std::to_string(error);
}

std::string ReadProblem(const std::string& path, int32_t error) {
  if (error != ERR_FILE_OPEN) return ErrorText(error);
  const std::string cause = ReadCause(path);
  return cause.empty() ? ErrorText(error) : cause;
}

std::string WriteProblem(const std::string& path, int32_t error) {
  if (error != ERR_FILE_WRITE && error != ERR_READ_ONLY) return ErrorText(error);
  const std::string cause = WriteCause(path);
  return cause.empty() ? ErrorText(error) : cause;
}

const char* const kDryRunReason = "dry run";

std::string EngineProblem(const std::string& lastError, const std::string& path, int32_t error) {
  const std::string prefix = path + ": ";
  if (lastError.rfind(prefix, 0) == 0 && lastError.size() > prefix.size())
    return lastError.substr(prefix.size());
  return WriteProblem(path, error);
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
