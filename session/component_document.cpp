#include "session/component_document.h"

#include <set>

#include "hostlink/host_ops.h"
#include "support/unicode_text.h"

namespace osprevan::session {
namespace {

using tolvane::ObjectId;

HostValue IntParam(int32_t property, int32_t value) {
  HostValue v;
  v.property = property;
  v.type = tolvane::VT_INT;
  v.ival = value;
  return v;
}

HostValue StringParam(int32_t property, const std::string& value) {
  HostValue v;
  v.property = property;
  v.type = tolvane::VT_STRING;
  v.sval = value;
  return v;
}

// One of the host's lists of open files. Guard: a list that runs back into itself ends at the
// first id seen twice.
ObjectId FindInOpenList(const std::string& fileName, int32_t firstProperty, int32_t nextProperty,
                        int32_t nameProperty) {
  std::set<ObjectId> seen;
  for (ObjectId id = HostGetId(0, 0, firstProperty); id != 0 && seen.insert(id).second;
       id = HostGetId(id, id, nextProperty)) {
    if (support::EqualIgnoringCase(HostGetString(id, id, nameProperty), fileName)) return id;
  }
  return 0;
}

}  // namespace

ObjectId OpenComponentDocument(const std::string& fileName, const std::string& secondName) {
  if (fileName.empty()) return 0;
  const HostPropList params = {IntParam(tolvane::OPEN_ALERT_ANSWERS_PRESET, 1),
                               IntParam(tolvane::OPEN_MAKE_VISIBLE, 1),
                               StringParam(tolvane::OPEN_SECOND_NAME, secondName)};
  HostPropList returned;
  return HostOpenFile(fileName, params, &returned);
}

ObjectId FindOpenFile(const std::string& fileName) {
  if (fileName.empty()) return 0;
  const ObjectId document = FindInOpenList(fileName, tolvane::P_SESSION_FIRST_OPEN_DOC,
                                           tolvane::P_DOC_NEXT_OPEN, tolvane::P_DOC_NAME);
  if (document) return document;
  return FindInOpenList(fileName, tolvane::P_SESSION_FIRST_OPEN_BOOK, tolvane::P_BOOK_NEXT_OPEN,
                        tolvane::P_BOOK_NAME);
}

}  // namespace osprevan::session
