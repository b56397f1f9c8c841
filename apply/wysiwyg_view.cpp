#include "apply/wysiwyg_view.h"

#include "client/host_ops.h"
#include "session/import_session.h"

namespace osprevan::apply {

namespace {
constexpr const char* kWysiwygView = "WYSIWYG View";
}

bool EnsureWysiwygView(session::ImportSession& session) {
  const std::string current = HostGetString(0, 0, tolvane::P_SESSION_CURRENT_VIEW);
  if (current == kWysiwygView) return false;
  if (!session.keptViewName) session.keptViewName = current;
  HostSetString(0, 0, tolvane::P_SESSION_CURRENT_VIEW, kWysiwygView);
  return true;
}

void RestoreView(session::ImportSession& session) {
  if (!session.keptViewName) return;
  HostSetString(0, 0, tolvane::P_SESSION_CURRENT_VIEW, *session.keptViewName);
  session.keptViewName.reset();
}

}  // namespace osprevan::apply
