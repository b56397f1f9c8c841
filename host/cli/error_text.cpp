#include "host/cli/error_text.h"

#include <unistd.h>

#include <filesystem>

#include "tolvane/numbers.h"

namespace tlhost {

using namespace tolvane;
namespace fs = std::filesystem;

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
  std::error_code ignored;
  const fs::file_status status = fs::status(path, ignored);
  if (!fs::exists(status)) return "no such file";
  if (fs::is_directory(status)) return "is a folder";
  if (access(path.c_str(), R_OK) != 0) return "permission denied";
  return ErrorText(error);
}

std::string WriteProblem(const std::string& path, int32_t error) {
  if (error != ERR_FILE_WRITE) return ErrorText(error);
  std::error_code ignored;
  const fs::path target(path);
  const fs::path folder = target.has_parent_path() ? target.parent_path() : fs::path(".");
  if (!fs::is_directory(folder, ignored)) return "no such folder";
  if (fs::is_directory(target, ignored)) return "is a folder";
  // The file is written beside its target and renamed, so the folder must take new files.
  if (access(folder.c_str(), W_OK) != 0) return "permission denied";
  return ErrorText(error);
}

}  // namespace tlhost
