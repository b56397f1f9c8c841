// The dialog manager: modal dialogs made from a DLGTEMPLATE or DLGTEMPLATEEX in a module's
// resources, driven by a dialog procedure, as DialogBoxParam runs them.
//
// The user's input comes from the DialogDriver the host program installs (a script in tests, the
// terminal for a person). Each turn of the modal loop asks the driver for one action; when there
// is no driver, or it has nothing more to do, the dialog gets Escape (WM_COMMAND IDCANCEL), and
// is ended with IDCANCEL should its procedure not end it then: a dialog without a user is
// cancelled.
#pragma once

#include <string>

#include "platform/win/module.h"
#include "platform/win/resources.h"
#include "platform/win/window.h"

namespace win {

using DLGPROC = INT_PTR (*)(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);

// Creates the dialog of template `templateName` (compared without case) from `module`, owned by
// `owner`, which stays disabled while the dialog runs. WM_INITDIALOG carries the first tab-stop
// control in wParam and `initParam` in lParam; when the procedure answers TRUE that control gets
// the focus. The template is the one for `language` as FindResourceForLanguage chooses it.
// Answers the value given to EndDialog, or -1 when the template is missing, malformed or names a
// control class that does not exist.
INT_PTR DialogBoxParam(HMODULE module, const char16_t* templateName, HWND owner, DLGPROC procedure,
                       LPARAM initParam, uint16_t language = LANG_NEUTRAL);
// Ends the modal loop once the current message has been handled.
BOOL EndDialog(HWND dialog, INT_PTR result);

HWND GetDlgItem(HWND dialog, int id);
int GetDlgCtrlID(HWND control);
LRESULT SendDlgItemMessage(HWND dialog, int id, UINT message, WPARAM wParam, LPARAM lParam);
// The control WM_INITDIALOG would name: the first visible, enabled control with WS_TABSTOP.
HWND GetNextDlgTabItem(HWND dialog, HWND control, BOOL previous);

// Dialog-manager messages.
constexpr UINT DM_GETDEFID = 0x0400;  // answers MAKELONG(id, DC_HASDEFID)
constexpr uint16_t DC_HASDEFID = 0x534B;

// The user's side of a modal dialog.
class DialogDriver {
 public:
  virtual ~DialogDriver() = default;
  // Performs one action of the user in `dialog` (with the functions of dialog_input.h); false
  // when the user has nothing more to do. `templateName` is the name the dialog was made from.
  virtual bool Step(HWND dialog, const std::string& templateName) = 0;
};

// Installs the driver for every modal dialog from now on (null: no user); answers the previous.
DialogDriver* SetDialogDriver(DialogDriver* driver);

}  // namespace win
