// Button messages, styles and states, with the values Windows gives them, and the check-box
// helpers of the dialog manager.
#pragma once

#include "platform/win/window.h"

namespace win {

constexpr uint32_t BS_PUSHBUTTON = 0x0;
constexpr uint32_t BS_DEFPUSHBUTTON = 0x1;
constexpr uint32_t BS_CHECKBOX = 0x2;
constexpr uint32_t BS_AUTOCHECKBOX = 0x3;
constexpr uint32_t BS_RADIOBUTTON = 0x4;
constexpr uint32_t BS_3STATE = 0x5;
constexpr uint32_t BS_AUTO3STATE = 0x6;
constexpr uint32_t BS_GROUPBOX = 0x7;
constexpr uint32_t BS_AUTORADIOBUTTON = 0x9;
constexpr uint32_t BS_TYPEMASK = 0xF;

constexpr UINT BM_GETCHECK = 0x00F0;
constexpr UINT BM_SETCHECK = 0x00F1;
constexpr UINT BM_CLICK = 0x00F5;

constexpr UINT BST_UNCHECKED = 0;
constexpr UINT BST_CHECKED = 1;
constexpr UINT BST_INDETERMINATE = 2;

constexpr uint16_t BN_CLICKED = 0;

constexpr int IDOK = 1;
constexpr int IDCANCEL = 2;

BOOL CheckDlgButton(HWND dialog, int id, UINT check);
UINT IsDlgButtonChecked(HWND dialog, int id);

}  // namespace win
