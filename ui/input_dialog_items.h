// Item numbers of the input-file dialog ("INPUTFILE"): the host addresses a control by its
// identifier minus 100.
#pragma once

#include <cstdint>

namespace osprevan::ui {

enum InputDialogItem : int32_t {
  kInputContinueItem = 1,
  kInputCancelItem = 2,
  kInputPathItem = 3,
  kInputBrowseItem = 4,
  kInputFirstChoiceItem = 10,  // three radio buttons from here, in the order of FilterChoice
};

}  // namespace osprevan::ui
