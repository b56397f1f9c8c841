#include "host/dialogs/dialog_layer.h"

#include <istream>
#include <ostream>
#include <sstream>

#include "host/link/client_connection.h"
#include "platform/win/resources.h"
#include "platform/win/utf16.h"

namespace tlhost {

using namespace tolvane;

bool DialogLayer::Owns(ObjectId obj) {
  return KindOf(obj) == KIND_DIALOG || KindOf(obj) == KIND_DIALOG_ITEM;
}

int32_t DialogLayer::Open(ClientConnection& client, const std::string& name, ObjectId& out) {
  out = 0;
  std::vector<uint8_t> templateBytes, recordBytes;
  if (client.GetResource(win::RT_DIALOG, name, templateBytes) != S_OK ||
      client.GetResource(RESOURCE_COMPANION, name, recordBytes) != S_OK) {
    return ERR_NOT_FOUND;
  }
  HostDialog dialog;
  std::string error;
  if (!win::ParseDialogTemplate(templateBytes.data(), templateBytes.size(), dialog.layout, error) ||
      !win::ParseCompanionRecord(recordBytes.data(), recordBytes.size(), dialog.record, error)) {
    return ERR_FILE_FORMAT;
  }
  dialog.id = MakeId(KIND_DIALOG, ++serial_);
  dialog.name = name;
  // Item n is the record's n-th entry; it addresses the first control with that identifier.
  for (size_t n = 0; n < dialog.record.items.size(); ++n) {
    const win::CompanionItem& entry = dialog.record.items[n];
    DialogItemState item;
    item.id = MakeId(KIND_DIALOG_ITEM, ++serial_);
    item.number = static_cast<int>(n);
    item.kind = entry.kind;
    for (size_t c = 0; c < dialog.layout.controls.size(); ++c) {
      if (dialog.layout.controls[c].id == entry.controlId) {
        item.control = static_cast<int>(c);
        item.label = dialog.layout.controls[c].caption;
        break;
      }
    }
    dialog.items.push_back(item);
  }
  out = dialog.id;
  dialogs_[dialog.id] = std::move(dialog);
  return ERR_NONE;
}

int32_t DialogLayer::Item(ObjectId dialogId, int32_t number, ObjectId& out) const {
  out = 0;
  const HostDialog* dialog = Find(dialogId);
  if (!dialog) return ERR_BAD_OBJECT;
  if (number < 0 || static_cast<size_t>(number) >= dialog->items.size()) return ERR_BAD_VALUE;
  out = dialog->items[static_cast<size_t>(number)].id;
  return ERR_NONE;
}

const HostDialog* DialogLayer::Find(ObjectId dialog) const {
  auto found = dialogs_.find(dialog);
  return found == dialogs_.end() ? nullptr : &found->second;
}

HostDialog* DialogLayer::FindMutable(ObjectId dialog) {
  auto found = dialogs_.find(dialog);
  return found == dialogs_.end() ? nullptr : &found->second;
}

DialogItemState* DialogLayer::FindItem(ObjectId item) {
  for (auto& [id, dialog] : dialogs_) {
    for (DialogItemState& i : dialog.items) {
      if (i.id == item) return &i;
    }
  }
  return nullptr;
}

const DialogItemState* DialogLayer::FindItem(ObjectId item) const {
  return const_cast<DialogLayer*>(this)->FindItem(item);
}

int32_t DialogLayer::GetProp(ObjectId obj, int32_t prop, Value& out) const {
  const DialogItemState* item = FindItem(obj);
  if (!item) return Find(obj) ? ERR_BAD_PROPERTY : ERR_BAD_OBJECT;
  switch (prop) {
    case P_LABEL:
      out = Value::String(item->label);
      return ERR_NONE;
    case P_ITEM_TEXT:
      out = Value::String(item->text);
      return ERR_NONE;
    case P_ITEM_STATE:
      out = Value::Int(item->state);
      return ERR_NONE;
    default:
      return ERR_BAD_PROPERTY;
  }
}

int32_t DialogLayer::SetProp(ObjectId obj, int32_t prop, const Value& value) {
  DialogItemState* item = FindItem(obj);
  if (!item) return Find(obj) ? ERR_BAD_PROPERTY : ERR_BAD_OBJECT;
  if ((prop == P_LABEL || prop == P_ITEM_TEXT) && value.type == VT_STRING) {
    (prop == P_LABEL ? item->label : item->text) = value.s;
    return ERR_NONE;
  }
  if (prop == P_ITEM_STATE && value.type == VT_INT) {
    item->state = value.i;
    return ERR_NONE;
  }
  return ERR_BAD_PROPERTY;
}

int32_t DialogLayer::Close(ObjectId dialogId) {
  HostDialog* dialog = FindMutable(dialogId);
  if (!dialog) return ERR_BAD_OBJECT;
  dialog->open = false;
  return ERR_NONE;
}

bool DialogLayer::NextAction(HostDialog& dialog, ScriptedDialog*& scripted, DialogAction& action) {
  if (script_ && !scripted) {
    for (ScriptedDialog& candidate : script_->dialogs) {
      if (!candidate.used && candidate.name == dialog.name) {
        candidate.used = true;
        scripted = &candidate;
        break;
      }
    }
  }
  if (scripted) {
    if (scripted->actions.empty()) return false;
    action = scripted->actions.front();
    scripted->actions.pop_front();
    return true;
  }
  return in_ && out_ && words_ && AskTerminal(dialog, action);
}

void DialogLayer::Show(const HostDialog& dialog) const {
  *out_ << "\n=== " << dialog.layout.title << " (" << dialog.name << ") ===\n";
  for (const DialogItemState& item : dialog.items) {
    if (item.control < 0) continue;
    const auto& control = dialog.layout.controls[static_cast<size_t>(item.control)];
    if (control.width == 0 && control.height == 0) continue;  // placeholders nobody sees
    *out_ << "  [" << item.number << "] ";
    switch (item.kind) {
      case win::ITEM_CHECK_BOX:
        *out_ << (item.state ? "[x] " : "[ ] ") << item.label;
        break;
      case win::ITEM_RADIO_BUTTON:
        *out_ << (item.state ? "(o) " : "( ) ") << item.label;
        break;
      case win::ITEM_TEXT_BOX:
        *out_ << "text: " << item.text;
        break;
      case win::ITEM_PUSH_BUTTON:
        *out_ << "<" << item.label << ">";
        break;
      default:
        *out_ << item.label;
        break;
    }
    *out_ << "\n";
  }
  *out_ << words_->Say(DialogSaying::HostActions) << "\n";
}

bool DialogLayer::AskTerminal(HostDialog& dialog, DialogAction& action) {
  for (;;) {
    Show(dialog);
    *out_ << "> " << std::flush;
    std::string line;
    if (!std::getline(*in_, line)) return false;
    DialogScript parsed;
    std::string error;
    if (ParseDialogScript("dialog x\n" + line + "\nend\n", parsed, error) &&
        parsed.dialogs.size() == 1 && parsed.dialogs[0].actions.size() == 1) {
      action = parsed.dialogs[0].actions.front();
      return true;
    }
    *out_ << words_->Say(DialogSaying::NotUnderstood, {{"line", line}}) << "\n";
  }
}

int32_t DialogLayer::Run(ClientConnection& client, int32_t dialogNumber, ObjectId dialogId) {
  HostDialog* dialog = FindMutable(dialogId);
  if (!dialog) return ERR_BAD_OBJECT;
  dialog->open = true;
  // The dialog's own window, in the foreground while it runs: clients find the main window as
  // the owner of the foreground window.
  const win::HWND previousForeground = win::GetForegroundWindow();
  const win::HWND window = win::CreateFrameWindow(win::Utf8ToWide(dialog->layout.title), owner_);
  win::SetForegroundWindow(window);
  ScriptedDialog* scripted = nullptr;
  while (FindMutable(dialogId) && FindMutable(dialogId)->open) {
    dialog = FindMutable(dialogId);
    DialogAction action{DialogAction::Close, 0, {}, {}};
    if (!NextAction(*dialog, scripted, action)) action = {DialogAction::Close, 0, {}, {}};
    DialogItemState* item =
        action.item >= 0 && static_cast<size_t>(action.item) < dialog->items.size()
            ? &dialog->items[static_cast<size_t>(action.item)]
            : nullptr;
    int32_t eventItem = action.item;
    switch (action.kind) {
      case DialogAction::Text:
        if (item) item->text = action.text;
        continue;  // typing sends no event
      case DialogAction::Check:
        if (item) item->state = item->state ? 0 : 1;
        break;
      case DialogAction::Choose:
        if (item) {
          // Radio buttons next to each other form one group.
          size_t first = static_cast<size_t>(action.item), last = first;
          while (first > 0 && dialog->items[first - 1].kind == win::ITEM_RADIO_BUTTON) --first;
          while (last + 1 < dialog->items.size() &&
                 dialog->items[last + 1].kind == win::ITEM_RADIO_BUTTON) {
            ++last;
          }
          for (size_t i = first; i <= last; ++i) dialog->items[i].state = 0;
          item->state = 1;
        }
        break;
      case DialogAction::Press:
        break;
      case DialogAction::Close:
      case DialogAction::Escape:
        action.kind = DialogAction::Close;
        eventItem = DIALOG_ITEM_CLOSED;
        break;
      case DialogAction::Confirm:
      case DialogAction::Enter:
        action.kind = DialogAction::Confirm;
        eventItem = DIALOG_ITEM_CONFIRM;
        break;
      case DialogAction::ListOnly:
      case DialogAction::ListSelect:
      case DialogAction::ListDeselect:
      case DialogAction::Date:
        continue;  // host dialogs have no lists or date pickers
    }
    const bool pressed =
        action.kind == DialogAction::Press && item && item->kind == win::ITEM_PUSH_BUTTON;
    const bool ends =
        action.kind == DialogAction::Close || action.kind == DialogAction::Confirm || pressed;
    client.SetReturnValue(0);
    client.DialogEvent(dialogNumber, eventItem, 0);
    // A button, a confirmation or the window's close box ends the dialog unless the client
    // asked to keep it open.
    HostDialog* after = FindMutable(dialogId);
    if (after && after->open && ends && client.returnValue() != DIALOG_KEEP_OPEN) {
      after->open = false;
    }
  }
  win::DestroyWindow(window);
  if (win::IsWindow(previousForeground)) win::SetForegroundWindow(previousForeground);
  if (HostDialog* done = FindMutable(dialogId)) {
    history_.push_back(*done);
    dialogs_.erase(dialogId);
  }
  return ERR_NONE;
}

}  // namespace tlhost
