#include "hostlink/document_structure.h"

#include <string>

#include "hostlink/host_ops.h"

namespace osprevan::hostlink {
namespace {

using tolvane::ObjectId;

// The first value of the element's "class" attribute, or of the definition's default when the
// attribute stands without a value; empty when there is neither.
std::string ClassValue(ObjectId doc, ObjectId element) {
  const HostValue attributes = HostGetPropVal(doc, element, tolvane::P_ELEM_ATTRIBUTES);
  for (const hostlink::HostAttribute& a : attributes.attributes) {
    if (a.name != "class") continue;
    if (!a.values.empty()) return a.values.front();
    const ObjectId definition = HostGetId(doc, element, tolvane::P_ELEM_DEF);
    const HostValue defaults = HostGetPropVal(doc, definition, tolvane::P_ELEMDEF_ATTR_DEFAULTS);
    for (const hostlink::HostAttribute& d : defaults.attributes) {
      if (d.name == "class" && !d.values.empty()) return d.values.front();
    }
    return {};
  }
  return {};
}

bool ClassNamesMap(const std::string& value) {
  static const std::string kMapClass = " map/map";
  for (size_t at = value.find(kMapClass); at != std::string::npos;
       at = value.find(kMapClass, at + 1)) {
    const size_t after = at + kMapClass.size();
    if (after == value.size() || value[after] == ' ') return true;
  }
  return false;
}

}  // namespace

ObjectId HighestElement(ObjectId target) {
  // Books hold their structure in the book itself; documents in their main flow.
  if (tolvane::KindOf(target) == tolvane::KIND_BOOK) {
    return HostGetId(0, target, tolvane::P_BOOK_HIGHEST_ELEMENT);
  }
  const ObjectId flow = HostGetId(target, target, tolvane::P_DOC_MAIN_FLOW);
  if (!flow) return 0;
  return HostGetId(target, flow, tolvane::P_FLOW_HIGHEST_ELEMENT);
}

bool IsStructuredDocument(ObjectId document) {
  return tolvane::KindOf(document) != tolvane::KIND_BOOK && HighestElement(document) != 0;
}

bool IsDitaMap(ObjectId target) {
  const ObjectId element = HighestElement(target);
  if (!element) return false;
  const std::string value = ClassValue(target, element);
  if (value.empty()) {
    const ObjectId definition = HostGetId(target, element, tolvane::P_ELEM_DEF);
    const std::string name = HostGetString(target, definition, tolvane::P_ELEMDEF_NAME);
    return name == "map" || name == "bookmap";
  }
  return ClassNamesMap(value);
}

}  // namespace osprevan::hostlink
