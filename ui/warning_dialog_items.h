// Item numbers of the first-use warning ("WARNINGDIALOG"): the host addresses a control by its
// identifier minus 100.
#pragma once

#include <cstdint>

namespace osprevan::ui {

enum WarningDialogItem : int32_t {
  kWarningCheckBoxItem = 2,  // "do not show again"
  kWarningYesItem = 3,
  kWarningNoItem = 4,
  kWarningProductLineItem = 10,
  kWarningSourceChangeItem = 20,
};

}  // namespace osprevan::ui
