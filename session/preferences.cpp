#include "session/preferences.h"

#include <vector>

#include "hostlink/host_ops.h"
#include "hostlink/last_call.h"
#include "support/file_channel.h"
#include "support/paths.h"
#include "support/unicode_text.h"

namespace osprevan::session {
namespace {

constexpr size_t kPathCapacity = 1023;
constexpr int32_t kDirectories[] = {tolvane::P_SESSION_USER_DIR, tolvane::P_SESSION_HOST_DIR};

std::string Trim(const std::string& text, bool leading, bool trailing) {
  size_t begin = 0;
  size_t end = text.size();
  if (leading) {
    while (begin < end && (text[begin] == ' ' || text[begin] == '\t')) ++begin;
  }
  if (trailing) {
    while (end > begin && (text[end - 1] == ' ' || text[end - 1] == '\t')) --end;
  }
  return text.substr(begin, end - begin);
}

bool EqualAsciiIgnoringCase(const std::string& a, const char* b) {
  size_t i = 0;
  for (; i < a.size() && b[i]; ++i) {
    auto lower = [](char c) {
      return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
    };
    if (lower(a[i]) != lower(b[i])) return false;
  }
  return i == a.size() && b[i] == '\0';
}

// The preferences path in the directory the host names under `property`; false when the call
// fails, empty when the host gave no directory or the path would not fit.
bool PathIn(int32_t property, std::string& path) {
  const std::string directory = HostGetString(0, 0, property);
  if (!hostlink::LastCallStatus("reading the directory").ok()) return false;
  path.clear();
  if (directory.empty()) return true;
  std::string candidate = support::JoinPath(directory, kPreferencesFileName);
  if (candidate.size() <= kPathCapacity) path = std::move(candidate);
  return true;
}

}  // namespace

int32_t PreferenceValue(const std::string& contents, const char* key) {
  int32_t value = 0;
  std::vector<std::string> lines;
  std::string line;
  for (char c : contents) {
    if (c == '\r' || c == '\n') {
      if (!line.empty()) lines.push_back(line);
      line.clear();
    } else {
      line.push_back(c);
    }
  }
  if (!line.empty()) lines.push_back(line);
  for (const std::string& l : lines) {
    if (l[0] == ';') continue;
    const size_t equals = l.find('=');
    if (equals == std::string::npos || equals == 0 || equals + 1 >= l.size()) continue;
    const std::string name = Trim(l.substr(0, equals), true, true);
    std::string text = Trim(l.substr(equals + 1), true, false);
    const size_t blank = text.find_first_of(" \t");
    if (blank != std::string::npos) text.resize(blank);
    if (name.empty() || text.empty()) continue;
    if (EqualAsciiIgnoringCase(name, key)) value = EqualAsciiIgnoringCase(text, "Yes") ? 1 : 0;
  }
  return value;
}

int32_t ParsePreferences(const std::string& contents) {
  return PreferenceValue(contents, kWarningKey);
}

support::Status ReadPreferences(Preferences& preferences) {
  preferences = Preferences{};
  for (int32_t property : kDirectories) {
    std::string path;
    if (!PathIn(property, path)) return support::Status::Failed("no preferences folder");
    if (path.empty() || !support::IsReadableFile(path)) continue;
    support::FileChannel file;
    std::string contents;
    if (!file.Open(path, "rb") || !file.ReadAll(contents)) continue;
    preferences.dontShowWarning = PreferenceValue(contents, kWarningKey);
    preferences.writeReport = PreferenceValue(contents, kReportKey);
    return support::Status::Done();
  }
  return support::Status::Failed("no preferences file to read");
}

support::Status WritePreferences(const Preferences& preferences) {
  // The report line is written only when it is on, so that a file that never had it stays
  // one line; a user's "WriteReport=Yes" survives the warning's check box.
  std::string line =
      std::string(kWarningKey) + "=" + (preferences.dontShowWarning ? "Yes" : "No") + "\r\n";
  if (preferences.writeReport) line += std::string(kReportKey) + "=Yes\r\n";
  for (int32_t property : kDirectories) {
    std::string path;
    if (!PathIn(property, path)) return support::Status::Failed("no preferences folder");
    if (path.empty()) continue;
    support::FileChannel file;
    if (!file.Open(path, "wb")) continue;
    const bool written = file.Write(line);
    if (file.Close() && written) return support::Status::Done();
  }
  return support::Status::Failed("no preferences folder may be written");
}

}  // namespace osprevan::session
