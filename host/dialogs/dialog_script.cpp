#include "host/dialogs/dialog_script.h"

#include <sstream>

#include "platform/win/date_time_picker.h"

namespace tlhost {
namespace {

bool ReadItem(std::istringstream& in, int& item) {
  if (!(in >> item)) return false;
  return true;
}

// The rest of the line after the one blank that follows the word before it.
std::string RestOfLine(std::istringstream& in) {
  in.get();
  std::string rest;
  std::getline(in, rest);
  return rest;
}

bool AtEndOfLine(std::istringstream& in) {
  std::string extra;
  return !(in >> extra);
}

bool ParseNumber(const std::string& text, size_t at, size_t length, uint16_t& out) {
  out = 0;
  for (size_t i = at; i < at + length; ++i) {
    if (text[i] < '0' || text[i] > '9') return false;
    out = static_cast<uint16_t>(out * 10 + (text[i] - '0'));
  }
  return true;
}

}  // namespace

std::optional<ScriptDate> ParseScriptDate(const std::string& text) {
  ScriptDate date;
  if (text.size() != 10 || text[4] != '-' || text[7] != '-' ||
      !ParseNumber(text, 0, 4, date.year) || !ParseNumber(text, 5, 2, date.month) ||
      !ParseNumber(text, 8, 2, date.day)) {
    return std::nullopt;
  }
  win::SYSTEMTIME fields;
  fields.wYear = date.year;
  fields.wMonth = date.month;
  fields.wDay = date.day;
  if (!win::IsValidSystemTime(fields)) return std::nullopt;
  return date;
}

bool ParseDialogScript(const std::string& text, DialogScript& out, ScriptFault& fault) {
  using Code = ScriptFaultCode;
  DialogScript script;
  std::istringstream lines(text);
  std::string line;
  int number = 0;
  ScriptedDialog* current = nullptr;
  fault = ScriptFault{};
  auto fail = [&](Code code, std::vector<std::pair<std::string, std::string>> values = {}) {
    fault = {code, number, std::move(values)};
    return false;
  };
  while (std::getline(lines, line)) {
    ++number;
    // A script written on Windows keeps its carriage returns, which no entry text holds.
    if (!line.empty() && line.back() == '\r') line.pop_back();
    std::istringstream in(line);
    std::string word;
    if (!(in >> word) || word[0] == '#') continue;
    if (word == "alert") {
      std::string answer;
      if (!(in >> answer) || (answer != "yes" && answer != "no" && answer != "ok")) {
        return fail(Code::AlertNeedsAnswer);
      }
      script.alertAnswers.push_back(answer);
    } else if (word == "file") {
      std::string path;
      std::getline(in >> std::ws, path);
      if (path.empty()) return fail(Code::FileNeedsPath);
      script.chosenFiles.push_back(path);
    } else if (word == "dialog") {
      std::string name;
      if (!(in >> name)) return fail(Code::DialogNeedsName);
      script.dialogs.push_back({name, {}, false});
      current = &script.dialogs.back();
    } else if (word == "end") {
      if (!current) return fail(Code::EndWithoutDialog);
      current = nullptr;
    } else {
      if (!current) return fail(Code::OutsideDialog, {{"word", word}});
      DialogAction action{DialogAction::Press, 0, {}, {}};
      if (word == "text") {
        action.kind = DialogAction::Text;
        if (!ReadItem(in, action.item)) return fail(Code::NeedsItem, {{"word", word}});
        action.text = RestOfLine(in);
      } else if (word == "check" || word == "choose" || word == "press") {
        action.kind = word == "check"    ? DialogAction::Check
                      : word == "choose" ? DialogAction::Choose
                                         : DialogAction::Press;
        if (!ReadItem(in, action.item)) return fail(Code::NeedsItem, {{"word", word}});
      } else if (word == "only" || word == "select" || word == "deselect") {
        action.kind = word == "only"     ? DialogAction::ListOnly
                      : word == "select" ? DialogAction::ListSelect
                                         : DialogAction::ListDeselect;
        if (!ReadItem(in, action.item)) return fail(Code::NeedsListId, {{"word", word}});
        action.text = RestOfLine(in);
        if (action.text.empty()) return fail(Code::NeedsEntryText, {{"word", word}});
      } else if (word == "date") {
        action.kind = DialogAction::Date;
        std::string value;
        if (!ReadItem(in, action.item) || !(in >> value) || !AtEndOfLine(in)) {
          return fail(Code::DateNeedsValue);
        }
        if (value != "none") {
          action.date = ParseScriptDate(value);
          if (!action.date) return fail(Code::NoSuchDate, {{"value", value}});
        }
      } else if (word == "close") {
        action.kind = DialogAction::Close;
      } else if (word == "confirm") {
        action.kind = DialogAction::Confirm;
      } else if (word == "escape" || word == "enter") {
        action.kind = word == "escape" ? DialogAction::Escape : DialogAction::Enter;
        if (!AtEndOfLine(in)) return fail(Code::TakesNothing, {{"word", word}});
      } else {
        return fail(Code::UnknownAction, {{"word", word}});
      }
      current->actions.push_back(action);
    }
  }
  if (current) return fail(Code::DialogHasNoEnd, {{"name", current->name}});
  out = std::move(script);
  return true;
}

bool ParseDialogScript(const std::string& text, DialogScript& out, std::string& error) {
  ScriptFault fault;
  if (ParseDialogScript(text, out, fault)) return true;
  error = "line " + std::to_string(fault.line) + ": fault " +
          std::to_string(static_cast<int>(fault.code));
  for (const auto& [name, value] : fault.values) error += " " + name + "=" + value;
  return false;
}

}  // namespace tlhost
