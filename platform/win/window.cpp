#include "platform/win/window.h"

#include <algorithm>
#include <cstring>
#include <map>
#include <memory>
#include <vector>

#include "platform/win/window_record.h"

namespace win {
namespace {

// Live windows, and the records of destroyed ones. A handle is its record's address, so freeing a
// record would let the next window take the same address and a stale handle name that window;
// a stale handle is refused rather than reused. The two are made together, at the first window,
// so that both outlive whatever made it, also at the program's exit.
struct WindowTables {
  std::map<HWND, std::unique_ptr<WindowRecord>> live;
  std::vector<std::unique_ptr<WindowRecord>> retired;
};

WindowTables& Tables() {
  static WindowTables tables;
  return tables;
}

std::map<HWND, std::unique_ptr<WindowRecord>>& Windows() {
  return Tables().live;
}
std::vector<std::unique_ptr<WindowRecord>>& Retired() {
  return Tables().retired;
}

HWND g_foreground = nullptr;
HWND g_focus = nullptr;

int CopyOut(const std::u16string& text, char16_t* buffer, int capacity) {
  if (!buffer || capacity <= 0) return 0;
  const size_t n = std::min(text.size(), static_cast<size_t>(capacity - 1));
  std::copy_n(text.data(), n, buffer);
  buffer[n] = 0;
  return static_cast<int>(n);
}

bool IsAncestor(HWND ancestor, HWND window) {
  for (WindowRecord* r = Record(window); r; r = Record(r->parent)) {
    if (r->parent == ancestor) return true;
  }
  return false;
}

}  // namespace

WindowRecord* Record(HWND window) {
  auto found = Windows().find(window);
  return found == Windows().end() ? nullptr : found->second.get();
}

HWND NewWindow(WindowRecord record) {
  auto owned = std::make_unique<WindowRecord>(std::move(record));
  HWND handle = owned.get();
  Windows()[handle] = std::move(owned);
  if (WindowRecord* parent = Record(handle->parent)) parent->children.push_back(handle);
  return handle;
}

HWND CreateFrameWindow(const std::u16string& title, HWND owner) {
  WindowRecord record;
  record.kind = WindowClass::Frame;
  record.text = title;
  record.owner = Record(owner) ? owner : nullptr;
  record.style = WS_VISIBLE;
  return NewWindow(std::move(record));
}

BOOL DestroyWindow(HWND window) {
  WindowRecord* record = Record(window);
  if (!record) return FALSE;
  if (record->kind == WindowClass::Dialog && record->procedure) {
    record->procedure(window, WM_DESTROY, 0, 0);
  }
  for (HWND child : std::vector<HWND>(record->children)) DestroyWindow(child);
  if (WindowRecord* parent = Record(record->parent)) {
    auto& siblings = parent->children;
    siblings.erase(std::remove(siblings.begin(), siblings.end(), window), siblings.end());
  }
  // Windows it owned lose their owner; the foreground passes to its own owner.
  for (auto& [handle, other] : Windows()) {
    if (other->owner == window) other->owner = nullptr;
  }
  if (g_foreground == window) g_foreground = Record(record->owner) ? record->owner : nullptr;
  if (g_focus == window || IsAncestor(window, g_focus)) g_focus = nullptr;
  auto live = Windows().find(window);
  live->second->children.clear();
  live->second->entries.clear();
  Retired().push_back(std::move(live->second));
  Windows().erase(live);
  return TRUE;
}

BOOL IsWindow(HWND window) {
  return Record(window) ? TRUE : FALSE;
}

HWND GetForegroundWindow() {
  return Record(g_foreground) ? g_foreground : nullptr;
}

BOOL SetForegroundWindow(HWND window) {
  WindowRecord* record = Record(window);
  if (!record || record->parent) return FALSE;
  g_foreground = window;
  return TRUE;
}

HWND GetWindow(HWND window, UINT relation) {
  WindowRecord* record = Record(window);
  if (!record) return nullptr;
  switch (relation) {
    case GW_OWNER:
      return Record(record->owner) ? record->owner : nullptr;
    case GW_CHILD:
      return record->children.empty() ? nullptr : record->children.front();
    case GW_HWNDNEXT: {
      WindowRecord* parent = Record(record->parent);
      if (!parent) return nullptr;
      auto at = std::find(parent->children.begin(), parent->children.end(), window);
      if (at == parent->children.end() || ++at == parent->children.end()) return nullptr;
      return *at;
    }
    default:
      return nullptr;
  }
}

HWND GetParent(HWND window) {
  WindowRecord* record = Record(window);
  if (!record) return nullptr;
  // As in Windows, a top-level window answers its owner.
  return record->parent ? record->parent : GetWindow(window, GW_OWNER);
}

BOOL EnableWindow(HWND window, BOOL enable) {
  WindowRecord* record = Record(window);
  if (!record) return FALSE;
  const BOOL wasDisabled = record->enabled ? FALSE : TRUE;
  record->enabled = enable != FALSE;
  if (record->enabled) {
    record->style &= ~WS_DISABLED;
  } else {
    record->style |= WS_DISABLED;
  }
  return wasDisabled;
}

BOOL IsWindowEnabled(HWND window) {
  WindowRecord* record = Record(window);
  return record && record->enabled ? TRUE : FALSE;
}

int32_t GetWindowLong(HWND window, int index) {
  WindowRecord* record = Record(window);
  if (!record) return 0;
  if (index == GWL_STYLE) return static_cast<int32_t>(record->style);
  if (index == GWL_ID) return record->id;
  return 0;
}

LONG_PTR GetWindowLongPtr(HWND window, int index) {
  const WindowRecord* record = Record(window);
  return record && index == GWLP_USERDATA ? record->userData : 0;
}

LONG_PTR SetWindowLongPtr(HWND window, int index, LONG_PTR value) {
  WindowRecord* record = Record(window);
  if (!record || index != GWLP_USERDATA) return 0;
  const LONG_PTR before = record->userData;
  record->userData = value;
  return before;
}

int GetClassName(HWND window, char* buffer, int capacity) {
  WindowRecord* record = Record(window);
  if (!record || !buffer || capacity <= 0) return 0;
  const char* name = "Frame";
  switch (record->kind) {
    case WindowClass::Frame:
      break;
    case WindowClass::Dialog:
      name = "#32770";
      break;
    case WindowClass::Button:
      name = "Button";
      break;
    case WindowClass::Edit:
      name = "Edit";
      break;
    case WindowClass::Static:
      name = "Static";
      break;
    case WindowClass::ListBox:
      name = "ListBox";
      break;
    case WindowClass::DatePicker:
      name = "SysDateTimePick32";
      break;
  }
  const size_t n = std::min(std::strlen(name), static_cast<size_t>(capacity - 1));
  std::memcpy(buffer, name, n);
  buffer[n] = 0;
  return static_cast<int>(n);
}

int GetWindowText(HWND window, char16_t* buffer, int capacity) {
  WindowRecord* record = Record(window);
  return record ? CopyOut(record->text, buffer, capacity) : 0;
}

int GetWindowTextLength(HWND window) {
  WindowRecord* record = Record(window);
  return record ? static_cast<int>(record->text.size()) : 0;
}

BOOL SetWindowText(HWND window, const char16_t* text) {
  WindowRecord* record = Record(window);
  if (!record) return FALSE;
  record->text = text ? std::u16string(text) : std::u16string();
  return TRUE;
}

HWND GetFocus() {
  return Record(g_focus) ? g_focus : nullptr;
}

HWND SetFocus(HWND window) {
  HWND previous = GetFocus();
  WindowRecord* record = Record(window);
  if (window && (!record || !record->enabled)) return nullptr;
  g_focus = window;
  // A dialog remembers which of its controls has the focus.
  if (record) {
    if (WindowRecord* dialog = Record(record->parent);
        dialog && dialog->kind == WindowClass::Dialog) {
      dialog->focus = window;
    }
  }
  return previous;
}

LRESULT SendMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  WindowRecord* record = Record(window);
  if (!record) return 0;
  switch (record->kind) {
    case WindowClass::Dialog: {
      const INT_PTR handled =
          record->procedure ? record->procedure(window, message, wParam, lParam) : FALSE;
      if (handled || message == WM_INITDIALOG) return handled;
      return Record(window) ? DefDlgProcedure(window, message, wParam, lParam) : 0;
    }
    case WindowClass::ListBox:
      return ListBoxProcedure(*record, message, wParam, lParam);
    case WindowClass::Button:
      return ButtonProcedure(*record, message, wParam, lParam);
    case WindowClass::DatePicker:
      return DatePickerProcedure(*record, message, wParam, lParam);
    case WindowClass::Frame:
    case WindowClass::Edit:
    case WindowClass::Static:
      break;
  }
  return DefWindowProcedure(*record, message, wParam, lParam);
}

LRESULT DefWindowProcedure(WindowRecord& record, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_SETTEXT:
      return SetWindowText(&record, reinterpret_cast<const char16_t*>(lParam));
    case WM_GETTEXT:
      return CopyOut(record.text, reinterpret_cast<char16_t*>(lParam), static_cast<int>(wParam));
    case WM_GETTEXTLENGTH:
      return static_cast<LRESULT>(record.text.size());
    default:
      return 0;
  }
}

void NotifyParent(WindowRecord& control, uint16_t code) {
  SendMessage(control.parent, WM_COMMAND, MAKEWPARAM(static_cast<uint16_t>(control.id), code),
              reinterpret_cast<LPARAM>(&control));
}

}  // namespace win
