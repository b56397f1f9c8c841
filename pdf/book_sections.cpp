#include "pdf/book_sections.h"

#include <cctype>
#include <cstdint>
#include <set>
#include <string>
#include <vector>

#include "hostlink/host_ops.h"
#include "support/unicode_text.h"

namespace osprevan::pdf {
namespace {

using tolvane::ObjectId;

constexpr char kArticlePrefix[] = "article_";
constexpr size_t kArticlePrefixLength = sizeof kArticlePrefix - 1;

bool HasArticlePrefix(const std::string& name) {
  if (name.size() < kArticlePrefixLength) return false;
  for (size_t i = 0; i < kArticlePrefixLength; ++i) {
    if (std::tolower(static_cast<unsigned char>(name[i])) != kArticlePrefix[i]) return false;
  }
  return true;
}

bool IsPageKind(uint32_t kind) {
  return kind >= tolvane::KIND_BODY_PAGE && kind <= tolvane::KIND_HIDDEN_PAGE;
}

// Whether the component's document has its text on a body page: its object climbs through
// its parents to a page, and that page is a body page.
bool LiesOnBodyPage(ObjectId book, ObjectId component) {
  ObjectId current = HostGetId(book, component, tolvane::P_COMP_OBJECT);
  // The object lies in the component's document, not in the book, so its parents are asked
  // for without naming a document. Each object is passed once: parent links that loop end the
  // climb, on no page.
  std::set<ObjectId> seen;
  while (current != 0 && !IsPageKind(tolvane::KindOf(current)) && seen.insert(current).second) {
    ObjectId parent = HostGetId(0, current, tolvane::P_OBJECT_PARENT);
    if (parent == 0) parent = HostGetId(0, current, tolvane::P_OBJECT_PARENT_2);
    if (parent == 0) break;
    current = parent;
  }
  return tolvane::KindOf(current) == tolvane::KIND_BODY_PAGE;
}

}  // namespace

ObjectId FindComponentBySection(ObjectId book, const std::string& sectionName) {
  if (book == 0 || !HasArticlePrefix(sectionName)) return 0;
  const std::string name = sectionName.substr(kArticlePrefixLength);
  // Book order: each component, then the components inside it, then its next sibling. Every
  // component is visited once, so links that loop still end the walk.
  std::vector<ObjectId> pending{HostGetId(book, book, tolvane::P_BOOK_FIRST_COMPONENT)};
  std::set<ObjectId> seen;
  while (!pending.empty()) {
    const ObjectId component = pending.back();
    pending.pop_back();
    if (component == 0 || !seen.insert(component).second) continue;
    if (support::EqualIgnoringCase(HostGetString(book, component, tolvane::P_COMP_NAME), name) &&
        LiesOnBodyPage(book, component)) {
      return component;
    }
    pending.push_back(HostGetId(book, component, tolvane::P_COMP_NEXT));
    pending.push_back(HostGetId(book, component, tolvane::P_COMP_FIRST_CHILD));
  }
  return 0;
}

}  // namespace osprevan::pdf
