#include "platform/win/native_dialog.h"

#include <cctype>

#include "platform/win/button.h"
#include "platform/win/dialog_input.h"
#include "platform/win/dialog_template.h"
#include "platform/win/resources.h"
#include "platform/win/utf16.h"
#include "platform/win/window_record.h"

namespace win {
namespace {

DialogDriver* g_driver = nullptr;

bool SameName(const std::string& a, const char* b) {
  size_t i = 0;
  for (; i < a.size() && b[i]; ++i) {
    if (std::tolower(static_cast<unsigned char>(a[i])) !=
        std::tolower(static_cast<unsigned char>(b[i]))) {
      return false;
    }
  }
  return i == a.size() && !b[i];
}

// The control's window class, by the template's class atom or name; false when there is no
// such class.
bool ControlClass(const DialogControl& control, WindowClass& out) {
  switch (control.classAtom) {
    case kClassButton:
      out = WindowClass::Button;
      return true;
    case kClassEdit:
      out = WindowClass::Edit;
      return true;
    case kClassStatic:
      out = WindowClass::Static;
      return true;
    case kClassListBox:
      out = WindowClass::ListBox;
      return true;
    case 0:
      break;
    default:
      return false;
  }
  const struct {
    const char* name;
    WindowClass kind;
  } named[] = {{"Button", WindowClass::Button},
               {"Edit", WindowClass::Edit},
               {"Static", WindowClass::Static},
               {"ListBox", WindowClass::ListBox},
               {"SysDateTimePick32", WindowClass::DatePicker}};
  for (const auto& entry : named) {
    if (SameName(control.className, entry.name)) {
      out = entry.kind;
      return true;
    }
  }
  return false;
}

// Makes the dialog's window and its controls; null when a control's class does not exist.
HWND CreateDialogWindow(const DialogTemplate& layout, const std::string& name, HWND owner,
                        DLGPROC procedure) {
  WindowRecord record;
  record.kind = WindowClass::Dialog;
  record.text = Utf8ToWide(layout.title);
  record.style = layout.style;
  record.owner = IsWindow(owner) ? owner : nullptr;
  record.procedure = procedure;
  record.templateName = name;
  std::vector<WindowRecord> controls;
  for (const DialogControl& control : layout.controls) {
    WindowRecord child;
    if (!ControlClass(control, child.kind)) return nullptr;
    child.id = static_cast<int>(control.id);
    child.style = control.style | WS_CHILD;
    child.text = Utf8ToWide(control.caption);
    child.enabled = (control.style & WS_DISABLED) == 0;
    if (child.kind == WindowClass::DatePicker) child.time = CurrentLocalTime();
    controls.push_back(std::move(child));
  }
  HWND dialog = NewWindow(std::move(record));
  for (WindowRecord& child : controls) {
    child.parent = dialog;
    NewWindow(std::move(child));
  }
  return dialog;
}

bool CanTakeFocus(HWND control) {
  const WindowRecord* record = Record(control);
  return record && record->enabled && (record->style & WS_VISIBLE) && (record->style & WS_TABSTOP);
}

}  // namespace

DialogDriver* SetDialogDriver(DialogDriver* driver) {
  DialogDriver* previous = g_driver;
  g_driver = driver;
  return previous;
}

HWND GetDlgItem(HWND dialog, int id) {
  const WindowRecord* record = Record(dialog);
  if (!record) return nullptr;
  for (HWND child : record->children) {
    if (Record(child)->id == id) return child;
  }
  return nullptr;
}

int GetDlgCtrlID(HWND control) {
  const WindowRecord* record = Record(control);
  return record && record->parent ? record->id : 0;
}

LRESULT SendDlgItemMessage(HWND dialog, int id, UINT message, WPARAM wParam, LPARAM lParam) {
  HWND control = GetDlgItem(dialog, id);
  return control ? SendMessage(control, message, wParam, lParam) : 0;
}

HWND GetNextDlgTabItem(HWND dialog, HWND control, BOOL previous) {
  const WindowRecord* record = Record(dialog);
  if (!record || record->children.empty()) return nullptr;
  const auto& children = record->children;
  const size_t n = children.size();
  size_t start = n;
  for (size_t i = 0; i < n; ++i) {
    if (children[i] == control) start = i;
  }
  for (size_t step = 0; step < n; ++step) {
    size_t index;
    if (start == n) {  // no starting control: from the first (or the last) on
      index = previous ? n - 1 - step : step;
    } else {
      index = previous ? (start + n - 1 - step) % n : (start + 1 + step) % n;
    }
    if (CanTakeFocus(children[index])) return children[index];
  }
  return nullptr;
}

LRESULT DefDlgProcedure(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_SYSCOMMAND:
      if ((wParam & 0xFFF0) == SC_CLOSE) SendMessage(dialog, WM_CLOSE, 0, 0);
      return 0;
    case WM_CLOSE:
      SendMessage(dialog, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED),
                  reinterpret_cast<LPARAM>(GetDlgItem(dialog, IDCANCEL)));
      return 0;
    case DM_GETDEFID: {
      const WindowRecord* record = Record(dialog);
      for (HWND child : record->children) {
        const WindowRecord* c = Record(child);
        if (c->kind == WindowClass::Button && (c->style & BS_TYPEMASK) == BS_DEFPUSHBUTTON) {
          return static_cast<LRESULT>(MAKEWPARAM(static_cast<uint16_t>(c->id), DC_HASDEFID));
        }
      }
      return 0;
    }
    default:
      return DefWindowProcedure(*Record(dialog), message, wParam, lParam);
  }
}

BOOL EndDialog(HWND dialog, INT_PTR result) {
  WindowRecord* record = Record(dialog);
  if (!record || record->kind != WindowClass::Dialog) return FALSE;
  record->ended = true;
  record->result = result;
  return TRUE;
}

INT_PTR DialogBoxParam(HMODULE module, const char16_t* templateName, HWND owner, DLGPROC procedure,
                       LPARAM initParam, uint16_t language) {
  if (!templateName || !procedure) return -1;
  const std::string name = WideToUtf8(templateName);
  ResourceData data;
  DialogTemplate layout;
  std::string error;
  if (!FindResourceForLanguage(module, RT_DIALOG, name, language, data) ||
      !ParseDialogTemplate(data.bytes, data.size, layout, error)) {
    return -1;
  }
  HWND dialog = CreateDialogWindow(layout, name, owner, procedure);
  if (!dialog) return -1;
  const HWND previousFocus = GetFocus();
  const bool ownerWasDisabled = IsWindow(owner) && EnableWindow(owner, FALSE);
  SetForegroundWindow(dialog);

  HWND first = GetNextDlgTabItem(dialog, nullptr, FALSE);
  if (SendMessage(dialog, WM_INITDIALOG, reinterpret_cast<WPARAM>(first), initParam)) {
    SetFocus(first);
  }
  while (Record(dialog) && !Record(dialog)->ended) {
    if (g_driver && g_driver->Step(dialog, name)) continue;
    // Nobody (or nothing more) to act: the user is taken to have pressed Escape.
    PressEscape(dialog);
    if (Record(dialog) && !Record(dialog)->ended) EndDialog(dialog, IDCANCEL);
  }
  const INT_PTR result = Record(dialog) ? Record(dialog)->result : IDCANCEL;
  DestroyWindow(dialog);
  if (IsWindow(owner)) {
    EnableWindow(owner, ownerWasDisabled ? FALSE : TRUE);
    SetForegroundWindow(owner);
  }
  if (IsWindow(previousFocus)) SetFocus(previousFocus);
  return result;
}

void PressEscape(HWND dialog) {
  SendMessage(dialog, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED),
              reinterpret_cast<LPARAM>(GetDlgItem(dialog, IDCANCEL)));
}

void PressEnter(HWND dialog) {
  const LRESULT defId = SendMessage(dialog, DM_GETDEFID, 0, 0);
  const int id = HIWORD(static_cast<uintptr_t>(defId)) == DC_HASDEFID
                     ? LOWORD(static_cast<uintptr_t>(defId))
                     : IDOK;
  SendMessage(dialog, WM_COMMAND, MAKEWPARAM(static_cast<uint16_t>(id), BN_CLICKED),
              reinterpret_cast<LPARAM>(GetDlgItem(dialog, id)));
}

void ClickCloseBox(HWND dialog) {
  SendMessage(dialog, WM_SYSCOMMAND, SC_CLOSE, 0);
}

}  // namespace win
