// The user's part in a scripted run: answers to alerts and the file chooser, and the actions
// taken in each host dialog and each native dialog, read from a small text file.
//
//   # a comment
//   alert yes|no|ok           answers the next alert
//   file PATH|cancel          answers the next file chooser
//   dialog NAME               the actions below belong to the next dialog of that name (a host
//                             dialog's resource name, or a native dialog's template name, which
//                             compares without case)
//     text ITEM TEXT          types TEXT into a text box (the rest of the line, as it stands)
//     check ITEM              ticks or clears a check box
//     choose ITEM             chooses a radio button
//     press ITEM              presses a button
//     close                   closes the dialog through its window (pseudo-item -1)
//     confirm                 confirms it other than by its button (pseudo-item -4)
//   In a native dialog ITEM is the control's identifier, and these apply as well:
//     only ID TEXT            clicks the list entry whose text is exactly TEXT (rest of the line)
//     select ID TEXT          control-clicks it to add it to the selection
//     deselect ID TEXT        control-clicks it to take it out of the selection
//     date ID YYYY-MM-DD      sets a date picker; "date ID none" leaves it without a date
//     escape                  presses Escape
//     enter                   presses Return (the default button)
//   end                       ends the dialog's actions
#pragma once

#include <cstdint>
#include <deque>
#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace tlhost {

struct ScriptDate {
  uint16_t year = 0, month = 0, day = 0;
};

struct DialogAction {
  enum Kind {
    Text,
    Check,
    Choose,
    Press,
    Close,
    Confirm,
    ListOnly,
    ListSelect,
    ListDeselect,
    Date,
    Escape,
    Enter,
  } kind;
  int item = 0;
  std::string text;                // typed text, or a list entry's text
  std::optional<ScriptDate> date;  // Date: none means "no date"
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

// What is wrong with a line of a script, as a code and the values it speaks of; the command
// line words it in its user's language. Each code names in braces the values it carries.
enum class ScriptFaultCode {
  None,
  AlertNeedsAnswer,
  FileNeedsPath,
  DialogNeedsName,
  EndWithoutDialog,
  OutsideDialog,   // {word}
  NeedsItem,       // {word}: text, check, choose or press without its item number
  NeedsListId,     // {word}
  NeedsEntryText,  // {word}
  DateNeedsValue,
  NoSuchDate,      // {value}
  TakesNothing,    // {word}
  UnknownAction,   // {word}
  DialogHasNoEnd,  // {name}
  Count            // not a fault: the number of codes
};

struct ScriptFault {
  ScriptFaultCode code = ScriptFaultCode::None;
  int line = 0;
  std::vector<std::pair<std::string, std::string>> values;
};

// False with the first `fault` when the script is malformed; nothing is kept then.
bool ParseDialogScript(const std::string& text, DialogScript& out, ScriptFault& fault);

// The same for a caller that only logs why: `error` is "line N: fault K word=..." (not for users).
bool ParseDialogScript(const std::string& text, DialogScript& out, std::string& error);

// "YYYY-MM-DD" as a calendar day that exists; nullopt otherwise.
std::optional<ScriptDate> ParseScriptDate(const std::string& text);

}  // namespace tlhost
