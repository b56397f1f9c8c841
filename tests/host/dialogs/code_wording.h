// A wording for the dialog drivers' tests that says codes and values instead of words, so that a
// test sees exactly which saying or fault a driver chose and with what values.
#pragma once

#include <string>

#include "host/dialogs/dialog_wording.h"

namespace tlhost::testing {

class CodeWording : public DialogWording {
 public:
  std::string Say(DialogSaying saying, const DialogValues& values) const override {
    return Coded("saying", static_cast<int>(saying), values);
  }
  std::string Say(const ActionFault& fault) const override {
    return Coded("fault", static_cast<int>(fault.code), fault.values);
  }

 private:
  static std::string Coded(const char* kind, int code, const DialogValues& values) {
    std::string said = std::string("[") + kind + " " + std::to_string(code);
    for (const auto& [name, value] : values) said += " " + name + "=" + value;
    return said + "]";
  }
};

}  // namespace tlhost::testing
