// List-box messages, styles and answers, with the values Windows gives them. Entry texts are
// UTF-16 and passed as `const char16_t*` in lParam.
#pragma once

#include "platform/win/window.h"

namespace win {

constexpr uint32_t LBS_NOTIFY = 0x0001;
constexpr uint32_t LBS_MULTIPLESEL = 0x0008;
constexpr uint32_t LBS_EXTENDEDSEL = 0x0800;

constexpr UINT LB_ADDSTRING = 0x0180;
constexpr UINT LB_RESETCONTENT = 0x0184;
constexpr UINT LB_SETSEL = 0x0185;  // wParam TRUE/FALSE, lParam index or -1 for every entry
constexpr UINT LB_SETCURSEL = 0x0186;
constexpr UINT LB_GETSEL = 0x0187;
constexpr UINT LB_GETCURSEL = 0x0188;
constexpr UINT LB_GETTEXT = 0x0189;  // wParam index, lParam buffer large enough for the text
constexpr UINT LB_GETTEXTLEN = 0x018A;
constexpr UINT LB_GETCOUNT = 0x018B;
constexpr UINT LB_GETSELCOUNT = 0x0190;
constexpr UINT LB_GETSELITEMS = 0x0191;  // wParam capacity, lParam int array
constexpr UINT LB_GETHORIZONTALEXTENT = 0x0193;
constexpr UINT LB_SETHORIZONTALEXTENT = 0x0194;

constexpr LRESULT LB_OKAY = 0;
constexpr LRESULT LB_ERR = -1;

// Notification codes in the high word of WM_COMMAND's wParam.
constexpr uint16_t LBN_SELCHANGE = 1;

}  // namespace win
