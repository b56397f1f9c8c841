// What the dialog drivers say to the person playing a dialog, as codes with values: why an
// action could not be done, and the terminal's prompts and labels. The drivers hold no words of
// their own; the command line hands them a wording in its user's language.
#pragma once

#include <string>
#include <utility>
#include <vector>

namespace tlhost {

using DialogValues = std::vector<std::pair<std::string, std::string>>;

// Why a native dialog action could not be done. Each code names in braces the values it carries.
enum class ActionFaultCode {
  None,
  NoControl,              // {id}
  NotATextBox,            // {id}
  NotAButton,             // {id}
  NotACheckBox,           // {id}
  NotARadioButton,        // {id}
  NotAList,               // {id}
  NotADatePicker,         // {id}
  ButtonCannotBeClicked,  // {id}
  NoListEntry,            // {entry} {id}
  ListCannotBeClicked,    // {id}
  DateNotTaken,           // {id}
  UnknownAction,
  Count  // not a fault: the number of codes
};

struct ActionFault {
  ActionFaultCode code = ActionFaultCode::None;
  DialogValues values;
};

// The drivers' own sentences and labels. The action keywords in the help lines (select, check,
// press, ...) are a command language and stay as they are in every wording.
enum class DialogSaying {
  ScriptActionNotDone,  // {dialog} {what}: a scripted action failed; the dialog is cancelled
  NotUnderstood,        // {line}
  NotDone,              // {what}
  HostActions,          // the help line under a host dialog
  NativeActions,        // the help lines under a native dialog
  Disabled,             // after a control that cannot be used
  NoEntries,            // in place of an empty list's entries
  NoDate,               // a date picker without a date
  Count                 // not a saying: the number of sayings
};

class DialogWording {
 public:
  virtual ~DialogWording() = default;
  virtual std::string Say(DialogSaying saying, const DialogValues& values = {}) const = 0;
  virtual std::string Say(const ActionFault& fault) const = 0;
};

}  // namespace tlhost
