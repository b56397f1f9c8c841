#include "apply/import_context.h"

#include "apply/wysiwyg_view.h"

namespace osprevan::apply {

ImportContext::ImportContext() = default;

ImportContext::~ImportContext() {
  RestoreView(*this);
}

}  // namespace osprevan::apply
