// What a person does in a dialog, for the drivers that play the user: each action changes the
// control as a click or a key would and sends the dialog procedure what Windows sends it.
#pragma once

#include "platform/win/date_time_picker.h"
#include "platform/win/window.h"

namespace win {

enum class ListClick {
  Only,      // a plain click: the entry becomes the only selected one
  Select,    // a control-click on an unselected entry
  Deselect,  // a control-click on a selected entry
};

// False when the handle is no list box or the index is out of range. A change sends
// LBN_SELCHANGE to the dialog when the list has LBS_NOTIFY.
bool ClickListEntry(HWND list, int index, ListClick click);
// The index of the first entry with exactly that text, or -1.
int FindListEntry(HWND list, const std::u16string& text);

// Clicks a button: a check box or radio button with an automatic style changes its state, then
// the dialog gets WM_COMMAND (id, BN_CLICKED). False for a disabled or non-button control.
bool ClickButton(HWND button);

// Sets a picker to a date (null: no date), as the user does in its calendar. False when the
// handle is no picker or the date is not valid.
bool PickDate(HWND picker, const SYSTEMTIME* date);

// Escape: WM_COMMAND IDCANCEL. Return: WM_COMMAND with the default push button's id (IDOK when
// there is none). The close box: WM_SYSCOMMAND SC_CLOSE, which the dialog manager turns into
// WM_CLOSE and then into WM_COMMAND IDCANCEL unless the procedure handles them.
void PressEscape(HWND dialog);
void PressEnter(HWND dialog);
void ClickCloseBox(HWND dialog);

}  // namespace win
