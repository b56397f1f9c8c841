#include "host/dialogs/native_dialog_driver.h"

#include <cctype>
#include <cstdio>
#include <istream>
#include <ostream>
#include <vector>

#include "platform/win/button.h"
#include "platform/win/date_time_picker.h"
#include "platform/win/dialog_input.h"
#include "platform/win/list_box.h"
#include "platform/win/utf16.h"

namespace tlhost {
namespace {

using win::HWND;

bool SameNameIgnoringCase(const std::string& a, const std::string& b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i) {
    if (std::tolower(static_cast<unsigned char>(a[i])) !=
        std::tolower(static_cast<unsigned char>(b[i]))) {
      return false;
    }
  }
  return true;
}

std::string ClassOf(HWND window) {
  char name[32] = {};
  win::GetClassName(window, name, sizeof name);
  return name;
}

uint32_t StyleOf(HWND window) {
  return static_cast<uint32_t>(win::GetWindowLong(window, win::GWL_STYLE));
}

std::string TextOf(HWND window) {
  std::vector<char16_t> text(static_cast<size_t>(win::GetWindowTextLength(window)) + 1);
  const int length = win::GetWindowText(window, text.data(), static_cast<int>(text.size()));
  return win::WideToUtf8(std::u16string(text.data(), static_cast<size_t>(length)));
}

bool IsCheckBox(uint32_t style) {
  const uint32_t type = style & win::BS_TYPEMASK;
  return type == win::BS_CHECKBOX || type == win::BS_AUTOCHECKBOX || type == win::BS_3STATE ||
         type == win::BS_AUTO3STATE;
}

bool IsRadioButton(uint32_t style) {
  const uint32_t type = style & win::BS_TYPEMASK;
  return type == win::BS_RADIOBUTTON || type == win::BS_AUTORADIOBUTTON;
}

std::string EntryText(HWND list, int index) {
  const auto length =
      win::SendMessage(list, win::LB_GETTEXTLEN, static_cast<win::WPARAM>(index), 0);
  if (length < 0) return {};
  std::vector<char16_t> text(static_cast<size_t>(length) + 1);
  win::SendMessage(list, win::LB_GETTEXT, static_cast<win::WPARAM>(index),
                   reinterpret_cast<win::LPARAM>(text.data()));
  return win::WideToUtf8(std::u16string(text.data(), static_cast<size_t>(length)));
}

std::string DateText(HWND picker, const DialogWording& words) {
  win::SYSTEMTIME time;
  if (win::SendMessage(picker, win::DTM_GETSYSTEMTIME, 0, reinterpret_cast<win::LPARAM>(&time)) !=
      win::GDT_VALID) {
    return words.Say(DialogSaying::NoDate);
  }
  char text[24];
  std::snprintf(text, sizeof text, "%04u-%02u-%02u", unsigned{time.wYear}, unsigned{time.wMonth},
                unsigned{time.wDay});
  return text;
}

}  // namespace

bool PerformNativeAction(HWND dialog, const DialogAction& action, ActionFault& fault) {
  const std::string id = std::to_string(action.item);
  auto fail = [&](ActionFaultCode code) {
    fault = {code, {{"id", id}}};
    return false;
  };
  // The control the action names, when it is of that class.
  auto control = [&](const char* className, ActionFaultCode otherClass) -> HWND {
    HWND found = win::GetDlgItem(dialog, action.item);
    if (!found) {
      fail(ActionFaultCode::NoControl);
    } else if (ClassOf(found) != className) {
      fail(otherClass);
      found = nullptr;
    }
    return found;
  };
  switch (action.kind) {
    case DialogAction::Text: {
      HWND edit = control("Edit", ActionFaultCode::NotATextBox);
      if (!edit) return false;
      win::SetWindowText(edit, win::Utf8ToWide(action.text).c_str());
      return true;
    }
    case DialogAction::Check:
    case DialogAction::Choose:
    case DialogAction::Press: {
      HWND button = control("Button", ActionFaultCode::NotAButton);
      if (!button) return false;
      const uint32_t style = StyleOf(button);
      if (action.kind == DialogAction::Check && !IsCheckBox(style)) {
        return fail(ActionFaultCode::NotACheckBox);
      }
      if (action.kind == DialogAction::Choose && !IsRadioButton(style)) {
        return fail(ActionFaultCode::NotARadioButton);
      }
      if (!win::ClickButton(button)) {
        return fail(ActionFaultCode::ButtonCannotBeClicked);
      }
      return true;
    }
    case DialogAction::ListOnly:
    case DialogAction::ListSelect:
    case DialogAction::ListDeselect: {
      HWND list = control("ListBox", ActionFaultCode::NotAList);
      if (!list) return false;
      const int index = win::FindListEntry(list, win::Utf8ToWide(action.text));
      if (index < 0) {
        fault = {ActionFaultCode::NoListEntry, {{"entry", action.text}, {"id", id}}};
        return false;
      }
      const win::ListClick click = action.kind == DialogAction::ListOnly ? win::ListClick::Only
                                   : action.kind == DialogAction::ListSelect
                                       ? win::ListClick::Select
                                       : win::ListClick::Deselect;
      if (!win::ClickListEntry(list, index, click)) {
        return fail(ActionFaultCode::ListCannotBeClicked);
      }
      return true;
    }
    case DialogAction::Date: {
      HWND picker = control("SysDateTimePick32", ActionFaultCode::NotADatePicker);
      if (!picker) return false;
      win::SYSTEMTIME fields;
      if (action.date) {
        fields.wYear = action.date->year;
        fields.wMonth = action.date->month;
        fields.wDay = action.date->day;
      }
      if (!win::PickDate(picker, action.date ? &fields : nullptr)) {
        return fail(ActionFaultCode::DateNotTaken);
      }
      return true;
    }
    case DialogAction::Escape:
      win::PressEscape(dialog);
      return true;
    case DialogAction::Enter:
    case DialogAction::Confirm:
      win::PressEnter(dialog);
      return true;
    case DialogAction::Close:
      win::ClickCloseBox(dialog);
      return true;
  }
  fault = {ActionFaultCode::UnknownAction, {}};
  return false;
}

NativeDialogDriver::NativeDialogDriver(Recorder& recorder, std::ostream& errors,
                                       const DialogWording& words)
    : recorder_(recorder), errors_(errors), words_(words) {}

NativeDialogDriver::Run& NativeDialogDriver::Begin(HWND dialog, const std::string& templateName) {
  for (auto it = runs_.begin(); it != runs_.end();) {
    it = win::IsWindow(it->first) ? std::next(it) : runs_.erase(it);
  }
  auto found = runs_.find(dialog);
  if (found != runs_.end()) return found->second;
  Run& run = runs_[dialog];
  run.templateName = templateName;
  recorder_.nativeDialogs.push_back(templateName);
  if (script_) {
    for (ScriptedDialog& candidate : script_->dialogs) {
      if (!candidate.used && SameNameIgnoringCase(candidate.name, templateName)) {
        candidate.used = true;
        run.scripted = &candidate;
        break;
      }
    }
  }
  return run;
}

bool NativeDialogDriver::Step(HWND dialog, const std::string& templateName) {
  Run& run = Begin(dialog, templateName);
  if (run.scripted) {
    if (run.scripted->actions.empty()) return false;
    const DialogAction action = run.scripted->actions.front();
    run.scripted->actions.pop_front();
    ActionFault fault;
    if (PerformNativeAction(dialog, action, fault)) return true;
    errors_ << words_.Say(DialogSaying::ScriptActionNotDone,
                          {{"dialog", templateName}, {"what", words_.Say(fault)}})
            << "\n";
    run.scripted->actions.clear();
    return false;
  }
  return in_ && out_ && AskTerminal(dialog, templateName);
}

void NativeDialogDriver::Show(HWND dialog, const std::string& templateName) const {
  std::ostream& out = *out_;
  out << "\n=== " << TextOf(dialog) << " (" << templateName << ") ===\n";
  for (HWND child = win::GetWindow(dialog, win::GW_CHILD); child;
       child = win::GetWindow(child, win::GW_HWNDNEXT)) {
    const uint32_t style = StyleOf(child);
    if (!(style & win::WS_VISIBLE)) continue;
    const std::string className = ClassOf(child);
    const std::string disabled =
        win::IsWindowEnabled(child) ? "" : " " + words_.Say(DialogSaying::Disabled);
    const int id = win::GetDlgCtrlID(child);
    if (className == "ListBox") {
      out << "  list " << id << disabled << ":\n";
      const auto count = win::SendMessage(child, win::LB_GETCOUNT, 0, 0);
      if (count == 0) out << "    " << words_.Say(DialogSaying::NoEntries) << "\n";
      for (int i = 0; i < count; ++i) {
        const bool selected =
            win::SendMessage(child, win::LB_GETSEL, static_cast<win::WPARAM>(i), 0) > 0;
        out << "    " << (selected ? "[x] " : "[ ] ") << EntryText(child, i) << "\n";
      }
    } else if (className == "SysDateTimePick32") {
      out << "  date " << id << disabled << ": " << DateText(child, words_) << "\n";
    } else if (className == "Edit") {
      out << "  text " << id << disabled << ": " << TextOf(child) << "\n";
    } else if (className == "Button" && IsCheckBox(style)) {
      const bool checked = win::SendMessage(child, win::BM_GETCHECK, 0, 0) == win::BST_CHECKED;
      out << "  check " << id << disabled << ": " << (checked ? "[x] " : "[ ] ") << TextOf(child)
          << "\n";
    } else if (className == "Button" && IsRadioButton(style)) {
      const bool checked = win::SendMessage(child, win::BM_GETCHECK, 0, 0) == win::BST_CHECKED;
      out << "  choose " << id << disabled << ": " << (checked ? "(o) " : "( ) ") << TextOf(child)
          << "\n";
    } else if (className == "Button" && (style & win::BS_TYPEMASK) != win::BS_GROUPBOX) {
      out << "  press " << id << disabled << ": <" << TextOf(child) << ">\n";
    }
  }
  out << words_.Say(DialogSaying::NativeActions) << "\n";
}

bool NativeDialogDriver::AskTerminal(HWND dialog, const std::string& templateName) {
  for (;;) {
    Show(dialog, templateName);
    *out_ << "> " << std::flush;
    std::string line;
    if (!std::getline(*in_, line)) return false;
    DialogScript parsed;
    std::string error;
    if (!ParseDialogScript("dialog x\n" + line + "\nend\n", parsed, error) ||
        parsed.dialogs.size() != 1 || parsed.dialogs[0].actions.size() != 1) {
      *out_ << words_.Say(DialogSaying::NotUnderstood, {{"line", line}}) << "\n";
      continue;
    }
    ActionFault fault;
    if (PerformNativeAction(dialog, parsed.dialogs[0].actions.front(), fault)) return true;
    *out_ << words_.Say(DialogSaying::NotDone, {{"what", words_.Say(fault)}}) << "\n";
  }
}

}  // namespace tlhost
