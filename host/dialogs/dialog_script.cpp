#include "host/dialogs/dialog_script.h"

#include <sstream>

namespace tlhost {
namespace {

bool ReadItem(std::istringstream& in, int& item) {
  if (!(in >> item)) return false;
  return true;
}

}  // namespace

bool ParseDialogScript(const std::string& text, DialogScript& out, std::string& error) {
  DialogScript script;
  std::istringstream lines(text);
  std::string line;
  int number = 0;
  ScriptedDialog* current = nullptr;
  auto fail = [&](const std::string& reason) {
    error = "line " + std::to_string(number) + ": " + reason;
    return false;
  };
  while (std::getline(lines, line)) {
    ++number;
    std::istringstream in(line);
    std::string word;
    if (!(in >> word) || word[0] == '#') continue;
    if (word == "alert") {
      std::string answer;
      if (!(in >> answer) || (answer != "yes" && answer != "no" && answer != "ok")) {
        return fail("alert needs yes, no or ok");
      }
      script.alertAnswers.push_back(answer);
    } else if (word == "file") {
      std::string path;
      std::getline(in >> std::ws, path);
      if (path.empty()) return fail("file needs a path or cancel");
      script.chosenFiles.push_back(path);
    } else if (word == "dialog") {
      std::string name;
      if (!(in >> name)) return fail("dialog needs a name");
      script.dialogs.push_back({name, {}, false});
      current = &script.dialogs.back();
    } else if (word == "end") {
      if (!current) return fail("end without dialog");
      current = nullptr;
    } else {
      if (!current) return fail("\"" + word + "\" outside a dialog");
      DialogAction action{DialogAction::Press, 0, {}};
      if (word == "text") {
        action.kind = DialogAction::Text;
        if (!ReadItem(in, action.item)) return fail("text needs an item number");
        in.get();  // the one blank after the number
        std::getline(in, action.text);
      } else if (word == "check" || word == "choose" || word == "press") {
        action.kind = word == "check"    ? DialogAction::Check
                      : word == "choose" ? DialogAction::Choose
                                         : DialogAction::Press;
        if (!ReadItem(in, action.item)) return fail(word + " needs an item number");
      } else if (word == "close") {
        action.kind = DialogAction::Close;
      } else if (word == "confirm") {
        action.kind = DialogAction::Confirm;
      } else {
        return fail("unknown action " + word);
      }
      current->actions.push_back(action);
    }
  }
  if (current) return fail("dialog " + current->name + " has no end");
  out = std::move(script);
  return true;
}

}  // namespace tlhost
