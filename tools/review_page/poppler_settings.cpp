#include "tools/review_page/poppler_settings.h"

#include <GlobalParams.h>

#include <memory>

namespace osprevan::review {

void EnsurePopplerSettings() {
  if (!globalParams) {
    globalParams = std::make_unique<GlobalParams>();
    globalParams->setErrQuiet(true);
  }
}

}  // namespace osprevan::review
