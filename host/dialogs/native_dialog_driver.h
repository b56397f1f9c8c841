// Plays the user of the native dialogs a client runs with the dialog manager: from the dialog
// script's block for the dialog's template, else on a terminal, else not at all (the dialog is
// then cancelled). Every native dialog met is recorded.
#pragma once

#include <iosfwd>
#include <map>
#include <string>

#include "host/dialogs/dialog_script.h"
#include "host/dialogs/dialog_wording.h"
#include "host/link/recorder.h"
#include "platform/win/native_dialog.h"

namespace tlhost {

class NativeDialogDriver : public win::DialogDriver {
 public:
  // Script errors (an entry or control that is not there) go to `errors`; all it says is worded
  // by `words`.
  NativeDialogDriver(Recorder& recorder, std::ostream& errors, const DialogWording& words);

  void UseScript(DialogScript* script) { script_ = script; }
  void UseTerminal(std::istream* in, std::ostream* out) {
    in_ = in;
    out_ = out;
  }

  bool Step(win::HWND dialog, const std::string& templateName) override;

 private:
  // What the driver knows of one running dialog.
  struct Run {
    std::string templateName;
    ScriptedDialog* scripted = nullptr;
  };

  Run& Begin(win::HWND dialog, const std::string& templateName);
  bool AskTerminal(win::HWND dialog, const std::string& templateName);
  void Show(win::HWND dialog, const std::string& templateName) const;

  Recorder& recorder_;
  std::ostream& errors_;
  const DialogWording& words_;
  DialogScript* script_ = nullptr;
  std::istream* in_ = nullptr;
  std::ostream* out_ = nullptr;
  std::map<win::HWND, Run> runs_;  // dialogs still open; nested ones each have their own
};

// Performs one action in a native dialog; false with `fault` when the control or list entry it
// names is not there or does not take that action.
bool PerformNativeAction(win::HWND dialog, const DialogAction& action, ActionFault& fault);

}  // namespace tlhost
