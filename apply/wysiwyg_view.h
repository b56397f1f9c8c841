// Comments are placed in the host's page view; the view the user had is given back when the
// whole import ends.
#pragma once

namespace osprevan::apply {

class ImportContext;

// Switches to "WYSIWYG View" and keeps the old view's name; false when it was already shown.
// A second call keeps the first kept name.
bool EnsureWysiwygView(ImportContext& context);

// Sets a kept view back and forgets it.
void RestoreView(ImportContext& context);

}  // namespace osprevan::apply
