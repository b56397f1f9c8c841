#include "apply/wysiwyg_view.h"

#include "apply/import_context.h"
#include "hostlink/host_ops.h"

namespace osprevan::apply {

namespace {
constexpr const char* kWysiwygView = "WYSIWYG View";
}

bool EnsureWysiwygView(ImportContext& context) {
  const std::string current = HostGetString(0, 0, tolvane::P_SESSION_CURRENT_VIEW);
  if (current == kWysiwygView) return false;
  if (!context.keptViewName) context.keptViewName = current;
  HostSetString(0, 0, tolvane::P_SESSION_CURRENT_VIEW, kWysiwygView);
  return true;
}

void RestoreView(ImportContext& context) {
  if (!context.keptViewName) return;
  HostSetString(0, 0, tolvane::P_SESSION_CURRENT_VIEW, *context.keptViewName);
  context.keptViewName.reset();
}

}  // namespace osprevan::apply
