#include "host/cli/import_outputs.h"

#include <sys/stat.h>

#include <cstdio>
#include <filesystem>

#include "host/cli/error_text.h"

namespace tlhost {

std::string OutputProblem(UiLanguage language, const std::string& output,
                          const std::vector<std::string>& inputs) {
  struct stat file {};
  if (stat(output.c_str(), &file) != 0) return "";
  for (const std::string& input : inputs) {
    struct stat other {};
    if (stat(input.c_str(), &other) == 0 && other.st_dev == file.st_dev &&
        other.st_ino == file.st_ino)
      return IsTheInputText(language, input);
  }
  if (S_ISDIR(file.st_mode)) return "is a folder";
  if (!S_ISREG(file.st_mode)) return "not a regular file";
  return "";
}

bool SameOutput(const std::string& one, const std::string& other) {
  struct stat a {};
  struct stat b {};
  if (stat(one.c_str(), &a) == 0 && stat(other.c_str(), &b) == 0)
    return a.st_dev == b.st_dev && a.st_ino == b.st_ino;
  std::error_code ignored;
  return std::filesystem::weakly_canonical(one, ignored) ==
         std::filesystem::weakly_canonical(other, ignored);
}

std::string JsonString(const std::string& text) {
  std::string quoted = "\"";
  for (const char c : text) {
    if (c == '"' || c == '\\') {
      quoted += '\\';
      quoted += c;
    } else if (static_cast<unsigned char>(c) < 0x20) {
      char escaped[8];
      std::snprintf(escaped, sizeof escaped, "\\u%04x", c);
      quoted += escaped;
    } else {
      quoted += c;
    }
  }
  return quoted + "\"";
}

std::string ReportWithSaveOutcome(const std::string& report, bool saved, const std::string& reason,
                                  const std::vector<SavedFile>& components) {
  const size_t open = report.find_first_not_of(" \t\r\n");
  if (open == std::string::npos || report[open] != '{') return report;
  std::string fields = std::string("\"saved\": ") + (saved ? "true" : "false");
  if (!saved) fields += ", \"reason\": " + JsonString(reason);
  if (!components.empty()) {
    fields += ", \"components\": [";
    for (size_t i = 0; i < components.size(); ++i) {
      const SavedFile& c = components[i];
      fields += (i ? ", " : "") + std::string("{\"document\": ") + JsonString(c.path) +
                ", \"saved\": " + (c.saved ? "true" : "false");
      if (!c.saved) fields += ", \"reason\": " + JsonString(c.reason);
      fields += "}";
    }
    fields += "]";
  }
  // An object with no field takes no comma after the new ones.
  const size_t next = report.find_first_not_of(" \t\r\n", open + 1);
  const bool empty = next != std::string::npos && report[next] == '}';
  return report.substr(0, open + 1) + fields + (empty ? "" : ", ") + report.substr(open + 1);
}

std::string SummaryWithFirstLine(const std::string& summary, const std::string& line) {
  const std::string ending = summary.find("\r\n") != std::string::npos ? "\r\n" : "\n";
  return line + ending + summary;
}

}  // namespace tlhost
