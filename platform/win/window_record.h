// The record behind a window handle, shared by the window, control and dialog code of the
// platform layer (not for callers).
#pragma once

#include <string>
#include <vector>

#include "platform/win/date_time_picker.h"
#include "platform/win/native_dialog.h"
#include "platform/win/window.h"

namespace win {

enum class WindowClass { Frame, Dialog, Button, Edit, Static, ListBox, DatePicker };

struct ListEntry {
  std::u16string text;
  bool selected = false;
};

struct WindowRecord {
  WindowClass kind = WindowClass::Frame;
  int id = 0;
  uint32_t style = 0;
  std::u16string text;
  HWND parent = nullptr;  // for controls
  HWND owner = nullptr;   // for top-level windows
  std::vector<HWND> children;
  bool enabled = true;
  LONG_PTR userData = 0;

  // List box.
  std::vector<ListEntry> entries;
  int horizontalExtent = 0;
  int caret = -1;
  // Button.
  UINT check = 0;
  // Date picker.
  SYSTEMTIME time;
  bool hasDate = true;
  // Dialog.
  DLGPROC procedure = nullptr;
  std::string templateName;
  bool ended = false;
  INT_PTR result = 0;
  HWND focus = nullptr;
};

// The record of a live handle, or null.
WindowRecord* Record(HWND window);
// Registers a new window (a child is appended to its parent's children).
HWND NewWindow(WindowRecord record);
// What every window does with the messages its class leaves alone (text).
LRESULT DefWindowProcedure(WindowRecord& window, UINT message, WPARAM wParam, LPARAM lParam);
// Class procedures of the controls.
LRESULT ListBoxProcedure(WindowRecord& list, UINT message, WPARAM wParam, LPARAM lParam);
LRESULT ButtonProcedure(WindowRecord& button, UINT message, WPARAM wParam, LPARAM lParam);
LRESULT DatePickerProcedure(WindowRecord& picker, UINT message, WPARAM wParam, LPARAM lParam);
// The dialog manager's handling of what the dialog procedure left alone.
LRESULT DefDlgProcedure(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);
// The current local time, as a new date picker shows it.
SYSTEMTIME CurrentLocalTime();
// Tells the control's dialog about a notification (WM_COMMAND with the code in the high word).
void NotifyParent(WindowRecord& control, uint16_t code);

}  // namespace win
