// The host's dialog layer: builds a dialog from a client's template and companion record,
// addresses its items by item number, and runs it modally with a driver playing the user.
#pragma once

#include <cstdint>
#include <iosfwd>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "host/dialogs/dialog_script.h"
#include "host/dialogs/dialog_wording.h"
#include "host/engine/value.h"
#include "platform/win/dialog_template.h"
#include "platform/win/window.h"

namespace tlhost {

class ClientConnection;

struct DialogItemState {
  ObjectId id = 0;
  int number = 0;
  uint16_t kind = 0;  // companion record kind code
  int control = -1;   // index in the template, -1 when the item has no control
  std::string label;
  std::string text;
  int32_t state = 0;
};

struct HostDialog {
  ObjectId id = 0;
  std::string name;
  win::DialogTemplate layout;
  win::CompanionRecord record;
  std::vector<DialogItemState> items;  // by item number
  bool open = false;
};

class DialogLayer {
 public:
  // Scripted answers, or a terminal, or neither (dialogs then close at once). What the terminal
  // shows besides the dialog's own texts is worded by `words`.
  void UseScript(DialogScript* script) { script_ = script; }
  void UseTerminal(std::istream* in, std::ostream* out, const DialogWording& words) {
    in_ = in;
    out_ = out;
    words_ = &words;
  }
  // The window that owns the window of each dialog run (the host's main window).
  void SetOwnerWindow(win::HWND owner) { owner_ = owner; }

  int32_t Open(ClientConnection& client, const std::string& name, ObjectId& out);
  int32_t Item(ObjectId dialog, int32_t number, ObjectId& out) const;
  int32_t Run(ClientConnection& client, int32_t dialogNumber, ObjectId dialog);
  int32_t Close(ObjectId dialog);
  int32_t GetProp(ObjectId obj, int32_t prop, Value& out) const;
  int32_t SetProp(ObjectId obj, int32_t prop, const Value& value);

  static bool Owns(ObjectId obj);
  const HostDialog* Find(ObjectId dialog) const;
  // Every dialog the layer ran, in order, with its items as they were when it closed.
  const std::vector<HostDialog>& history() const { return history_; }

 private:
  HostDialog* FindMutable(ObjectId dialog);
  DialogItemState* FindItem(ObjectId item);
  const DialogItemState* FindItem(ObjectId item) const;
  bool NextAction(HostDialog& dialog, ScriptedDialog*& scripted, DialogAction& action);
  bool AskTerminal(HostDialog& dialog, DialogAction& action);
  void Show(const HostDialog& dialog) const;

  uint32_t serial_ = 0;
  std::map<ObjectId, HostDialog> dialogs_;
  std::vector<HostDialog> history_;
  DialogScript* script_ = nullptr;
  std::istream* in_ = nullptr;
  std::ostream* out_ = nullptr;
  const DialogWording* words_ = nullptr;
  win::HWND owner_ = nullptr;
};

}  // namespace tlhost
