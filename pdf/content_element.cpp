#include "pdf/content_element.h"

namespace osprevan::pdf {

const std::string& ContentElement::SectionName() const {
  if (!sectionNameRead_) {
    for (const ElementEntry* entry = containers; entry; entry = entry->outer) {
      if (entry->kind == ElementKind::Section) {
        sectionName_ = entry->name;
        break;
      }
    }
    sectionNameRead_ = true;
  }
  return sectionName_;
}

}  // namespace osprevan::pdf
