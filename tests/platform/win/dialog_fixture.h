// Runs modal dialogs from the test program's own templates (test_dialogs.rc) with a user made
// of test steps and a dialog procedure that logs the commands it is sent.
#pragma once

#include <gtest/gtest.h>

#include <deque>
#include <functional>
#include <string>
#include <vector>

#include "platform/win/module.h"
#include "platform/win/native_dialog.h"

namespace win::testing {

using CommandList = std::vector<std::pair<int, int>>;  // WM_COMMAND (id, notification code)

// The user: one queued step per turn of the modal loop; nothing more to do once they run out.
class StepUser : public DialogDriver {
 public:
  std::deque<std::function<void(HWND)>> steps;
  std::vector<std::string> templateNames;  // one per turn

  bool Step(HWND dialog, const std::string& templateName) override {
    templateNames.push_back(templateName);
    if (steps.empty()) return false;
    auto step = std::move(steps.front());
    steps.pop_front();
    step(dialog);
    return true;
  }
};

class DialogTest : public ::testing::Test {
 protected:
  void SetUp() override {
    current_ = this;
    previousDriver_ = SetDialogDriver(&user_);
  }
  void TearDown() override {
    SetDialogDriver(previousDriver_);
    current_ = nullptr;
  }

  static HMODULE Module() { return ModuleFromAddress(reinterpret_cast<const void*>(&Procedure)); }

  INT_PTR Run(const char16_t* name, HWND owner = nullptr, LPARAM initParam = 0) {
    return DialogBoxParam(Module(), name, owner, &Procedure, initParam);
  }

  // Runs PICKS with `body` as the user's only turn, after which the dialog ends (no Escape).
  void InDialog(std::function<void(HWND)> body) {
    user_.steps.push_back([body = std::move(body)](HWND dialog) {
      body(dialog);
      EndDialog(dialog, 0);
    });
    Run(u"PICKS");
  }

  StepUser user_;
  CommandList commands_;
  // What the procedure answers; by default it handles nothing but WM_INITDIALOG (TRUE).
  std::function<INT_PTR(HWND, UINT, WPARAM, LPARAM)> handler_;

 private:
  static INT_PTR Procedure(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
    DialogTest* self = current_;
    if (message == WM_COMMAND) self->commands_.emplace_back(LOWORD(wParam), HIWORD(wParam));
    if (self->handler_) return self->handler_(dialog, message, wParam, lParam);
    return message == WM_INITDIALOG ? TRUE : FALSE;
  }

  static inline DialogTest* current_ = nullptr;
  DialogDriver* previousDriver_ = nullptr;
};

}  // namespace win::testing
