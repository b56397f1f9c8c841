// Control identifiers of the comment filter dialog ("CUSTOMFILTERDIALOG" in the resources).
#pragma once

namespace osprevan::ui {

enum FilterDialogControl : int {
  kFilterContinueButton = 100,
  kFilterCancelButton = 101,
  kFilterStartPicker = 103,
  kFilterAuthorList = 104,
  kFilterEndPicker = 108,
  kFilterReviewStateList = 111,
  kFilterMarkedCheck = 113,
  kFilterUnmarkedCheck = 114,
  kFilterSelectAllAuthors = 117,
  kFilterDeselectAllAuthors = 118,
  kFilterSelectAllKinds = 119,
  kFilterDeselectAllKinds = 120,
  kFilterSelectAllReviewStates = 121,
  kFilterDeselectAllReviewStates = 122,
  kFilterKindList = 123,
};

}  // namespace osprevan::ui
