// What the dialog drivers say, in the user's language: one table per language for their own
// sayings and one for why an action could not be done, "{name}" standing for a value.
#pragma once

#include <string>

#include "host/cli/ui_language.h"
#include "host/dialogs/dialog_wording.h"
#include "host/link/responder.h"

namespace tlhost {

// The text of `saying` in `language` as its table holds it; null when the table lacks it.
const char* DialogSayingTextOf(UiLanguage language, DialogSaying saying);

// The text of `code` in `language` as its table holds it; null when the table lacks it.
const char* ActionFaultTextOf(UiLanguage language, ActionFaultCode code);

// The text of `saying` of the host's alerts and file chooser in `language`; null when the table
// lacks it.
const char* ResponderSayingTextOf(UiLanguage language, ResponderSaying saying);

// The wording the command line hands the host's alerts and file chooser.
ResponderWording ResponderWords(UiLanguage language);

// The wording the command line hands the dialog drivers.
class DialogWords : public DialogWording {
 public:
  explicit DialogWords(UiLanguage language) : language_(language) {}

  std::string Say(DialogSaying saying, const DialogValues& values) const override;
  std::string Say(const ActionFault& fault) const override;

 private:
  UiLanguage language_;
};

}  // namespace tlhost
