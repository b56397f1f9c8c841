#include "platform/win/button.h"

#include "platform/win/dialog_input.h"
#include "platform/win/native_dialog.h"
#include "platform/win/window_record.h"

namespace win {
namespace {

uint32_t ButtonType(const WindowRecord& button) {
  return button.style & BS_TYPEMASK;
}

bool HasCheck(const WindowRecord& button) {
  const uint32_t type = ButtonType(button);
  return type == BS_CHECKBOX || type == BS_AUTOCHECKBOX || type == BS_RADIOBUTTON ||
         type == BS_3STATE || type == BS_AUTO3STATE || type == BS_AUTORADIOBUTTON;
}

}  // namespace

LRESULT ButtonProcedure(WindowRecord& button, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case BM_GETCHECK:
      return HasCheck(button) ? static_cast<LRESULT>(button.check) : BST_UNCHECKED;
    case BM_SETCHECK:
      if (HasCheck(button)) button.check = static_cast<UINT>(wParam);
      return 0;
    case BM_CLICK:
      ClickButton(&button);
      return 0;
    default:
      return DefWindowProcedure(button, message, wParam, lParam);
  }
}

bool ClickButton(HWND handle) {
  WindowRecord* button = Record(handle);
  if (!button || button->kind != WindowClass::Button || !button->enabled ||
      ButtonType(*button) == BS_GROUPBOX) {
    return false;
  }
  switch (ButtonType(*button)) {
    case BS_AUTOCHECKBOX:
      button->check = button->check == BST_CHECKED ? BST_UNCHECKED : BST_CHECKED;
      break;
    case BS_AUTO3STATE:
      button->check = (button->check + 1) % 3;
      break;
    case BS_AUTORADIOBUTTON:
      button->check = BST_CHECKED;
      break;
    default:
      break;
  }
  SetFocus(handle);
  NotifyParent(*button, BN_CLICKED);
  return true;
}

BOOL CheckDlgButton(HWND dialog, int id, UINT check) {
  HWND button = GetDlgItem(dialog, id);
  if (!button) return FALSE;
  SendMessage(button, BM_SETCHECK, check, 0);
  return TRUE;
}

UINT IsDlgButtonChecked(HWND dialog, int id) {
  return static_cast<UINT>(SendDlgItemMessage(dialog, id, BM_GETCHECK, 0, 0));
}

}  // namespace win
