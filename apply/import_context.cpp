#include "apply/import_context.h"

#include "apply/wysiwyg_view.h"

namespace osprevan::apply {
ImportContext::ImportContext() = default;

ImportContext::~ImportContext() {
  RestoreView(*this);
}

void ImportContext::ClearDocumentCollections() {
  reading.Clear();
  document = 0;
}

}  // namespace osprevan::apply
