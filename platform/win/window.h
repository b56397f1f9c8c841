// Windows as the Windows user interface knows them, reduced to what dialogs need: handles,
// ownership, the foreground window, enabling, text and message sending. Host programs make
// plain frame windows to stand for their main window and for the dialogs they run themselves.
#pragma once

#include <cstdint>
#include <string>

namespace win {

struct WindowRecord;
using HWND = WindowRecord*;
using UINT = uint32_t;
using BOOL = int;
using WPARAM = uintptr_t;
using LPARAM = intptr_t;
using LRESULT = intptr_t;
using INT_PTR = intptr_t;
using LONG_PTR = intptr_t;

// Other headers (ICU's among them) may already define these as macros of the same values.
#ifndef FALSE
constexpr BOOL FALSE = 0;
#endif
#ifndef TRUE
constexpr BOOL TRUE = 1;
#endif

constexpr UINT WM_DESTROY = 0x0002;
constexpr UINT WM_SETTEXT = 0x000C;
constexpr UINT WM_GETTEXT = 0x000D;
constexpr UINT WM_GETTEXTLENGTH = 0x000E;
constexpr UINT WM_CLOSE = 0x0010;
constexpr UINT WM_INITDIALOG = 0x0110;
constexpr UINT WM_COMMAND = 0x0111;
constexpr UINT WM_SYSCOMMAND = 0x0112;
constexpr WPARAM SC_CLOSE = 0xF060;

// GetWindow relations.
constexpr UINT GW_HWNDNEXT = 2;
constexpr UINT GW_OWNER = 4;
constexpr UINT GW_CHILD = 5;

// GetWindowLong indexes.
constexpr int GWL_STYLE = -16;
constexpr int GWL_ID = -12;
// GetWindowLongPtr/SetWindowLongPtr index: a value the window's owner keeps with it.
constexpr int GWLP_USERDATA = -21;

// Window styles.
constexpr uint32_t WS_TABSTOP = 0x00010000;
constexpr uint32_t WS_DISABLED = 0x08000000;
constexpr uint32_t WS_VISIBLE = 0x10000000;
constexpr uint32_t WS_CHILD = 0x40000000;

constexpr uint16_t LOWORD(uintptr_t value) {
  return static_cast<uint16_t>(value & 0xFFFF);
}
constexpr uint16_t HIWORD(uintptr_t value) {
  return static_cast<uint16_t>((value >> 16) & 0xFFFF);
}
constexpr WPARAM MAKEWPARAM(uint16_t low, uint16_t high) {
  return static_cast<WPARAM>(low) | (static_cast<WPARAM>(high) << 16);
}

// A top-level window that only owns and is owned: the host's main window, or the window of a
// dialog the host runs itself. Title in UTF-16.
HWND CreateFrameWindow(const std::u16string& title, HWND owner);
BOOL DestroyWindow(HWND window);
BOOL IsWindow(HWND window);

HWND GetForegroundWindow();
BOOL SetForegroundWindow(HWND window);
// The owner (GW_OWNER), first child (GW_CHILD) or next sibling (GW_HWNDNEXT); null when none.
HWND GetWindow(HWND window, UINT relation);
HWND GetParent(HWND window);

// Answers whether the window was disabled before.
BOOL EnableWindow(HWND window, BOOL enable);
BOOL IsWindowEnabled(HWND window);

int32_t GetWindowLong(HWND window, int index);
// GWLP_USERDATA only; SetWindowLongPtr answers the value before, 0 when the handle names no
// window.
LONG_PTR GetWindowLongPtr(HWND window, int index);
LONG_PTR SetWindowLongPtr(HWND window, int index, LONG_PTR value);
// "Button", "Edit", "Static", "ListBox", "SysDateTimePick32", "#32770" for a dialog, or
// "Frame"; 0 when the handle names no window.
int GetClassName(HWND window, char* buffer, int capacity);
int GetWindowText(HWND window, char16_t* buffer, int capacity);
int GetWindowTextLength(HWND window);
BOOL SetWindowText(HWND window, const char16_t* text);

HWND GetFocus();
HWND SetFocus(HWND window);

// Delivers the message to the window's procedure and answers its result.
LRESULT SendMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

}  // namespace win
