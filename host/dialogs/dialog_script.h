// The user's part in a scripted run: answers to alerts and the file chooser, and the actions
// taken in each host dialog, read from a small text file.
//
//   # a comment
//   alert yes|no|ok           answers the next alert
//   file PATH|cancel          answers the next file chooser
//   dialog NAME               the actions below belong to the next dialog of that name
//     text ITEM TEXT          types TEXT into a text box (the rest of the line, as it stands)
//     check ITEM              ticks or clears a check box
//     choose ITEM             chooses a radio button
//     press ITEM              presses a button
//     close                   closes the dialog through its window (pseudo-item -1)
//     confirm                 confirms it other than by its button (pseudo-item -4)
//   end                       ends the dialog's actions
#pragma once

#include <deque>
#include <string>
#include <vector>

namespace tlhost {

struct DialogAction {
  enum Kind { Text, Check, Choose, Press, Close, Confirm } kind;
  int item = 0;
  std::string text;
};

struct ScriptedDialog {
  std::string name;
  std::deque<DialogAction> actions;
  bool used = false;
};

struct DialogScript {
  std::vector<std::string> alertAnswers;
  std::vector<std::string> chosenFiles;
  std::vector<ScriptedDialog> dialogs;
};

// False with "line N: reason" when the script is malformed; nothing is kept then.
bool ParseDialogScript(const std::string& text, DialogScript& out, std::string& error);

}  // namespace tlhost
