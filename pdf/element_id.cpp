#include "pdf/element_id.h"

#include <algorithm>
#include <cstdint>
#include <set>
#include <vector>

#include "hostlink/document_structure.h"
#include "hostlink/host_ops.h"

namespace osprevan::pdf {
namespace {

using tolvane::ObjectId;

// The unique numbers a paragraph identifier carries, in the order they are written.
struct ParagraphNumbers {
  int32_t own = 0;
  int32_t twoBefore = 0;
  int32_t before = 0;
  int32_t after = 0;
  int32_t twoAfter = 0;
};

// One unsigned decimal number of at most ten digits that fits a signed 32-bit value.
bool ReadNumber(const std::string& text, size_t& at, int32_t& value) {
  int64_t number = 0;
  const size_t start = at;
  while (at < text.size() && text[at] >= '0' && text[at] <= '9' && at - start < 10) {
    number = number * 10 + (text[at] - '0');
    ++at;
  }
  if (at == start || number > INT32_MAX) return false;
  value = static_cast<int32_t>(number);
  return true;
}

// "P" and exactly five numbers joined by "#", nothing else: a lenient read of a damaged
// identifier would name some other paragraph.
std::optional<ParagraphNumbers> ParseParagraphId(const std::string& text) {
  ParagraphNumbers numbers;
  int32_t* const fields[] = {&numbers.own, &numbers.twoBefore, &numbers.before, &numbers.after,
                             &numbers.twoAfter};
  size_t at = 1;
  for (size_t i = 0; i < 5; ++i) {
    if (i > 0 && (at >= text.size() || text[at++] != '#')) return std::nullopt;
    if (!ReadNumber(text, at, *fields[i])) return std::nullopt;
  }
  if (at != text.size()) return std::nullopt;
  return numbers;
}

ObjectId ParagraphByUnique(ObjectId document, int32_t unique) {
  return unique == 0 ? 0 : HostGetObjectByUniqueId(document, tolvane::OBJ_PARAGRAPH, unique);
}

// The paragraph `steps` after `paragraph` in its list; 0 once the list ends.
ObjectId NextParagraph(ObjectId document, ObjectId paragraph, int steps = 1) {
  for (int i = 0; i < steps && paragraph != 0; ++i)
    paragraph = HostGetId(document, paragraph, tolvane::P_PGF_NEXT);
  return paragraph;
}

// The paragraph gone from the source: the neighbours that are still there tell whether a new
// one took its place (the result) or nothing did (0).
ObjectId ReplacementParagraph(ObjectId document, const ParagraphNumbers& numbers) {
  const ObjectId twoBefore = ParagraphByUnique(document, numbers.twoBefore);
  const ObjectId before = ParagraphByUnique(document, numbers.before);
  const ObjectId after = ParagraphByUnique(document, numbers.after);
  const ObjectId twoAfter = ParagraphByUnique(document, numbers.twoAfter);
  if (before != 0) {
    const ObjectId next = NextParagraph(document, before);
    if (next == after) return 0;
    if (after != 0) return next;
    if (twoAfter != 0 && NextParagraph(document, before, 3) == twoAfter) return next;
    return 0;
  }
  if (twoBefore != 0 && after != 0 && NextParagraph(document, twoBefore, 3) == after) {
    return NextParagraph(document, twoBefore, 2);
  }
  return 0;
}

ObjectId ResolveParagraphId(ObjectId document, const std::string& identifier) {
  const std::optional<ParagraphNumbers> numbers = ParseParagraphId(identifier);
  if (!numbers) return 0;
  const ObjectId own = ParagraphByUnique(document, numbers->own);
  return own != 0 ? own : ReplacementParagraph(document, *numbers);
}

ObjectId ResolveStructuredId(ObjectId document, const std::string& identifier) {
  // Only an "E" identifier names an element; others ("N1" of a footnote) name none.
  if (identifier[0] != 'E') return 0;
  const std::string text = identifier.substr(1);
  const ObjectId root = hostlink::HighestElement(document);
  if (root == 0) return 0;
  const ObjectId element =
      ElementIdText(document, root) == text ? root : FindElementById(document, root, text);
  return ElementParagraph(document, element);
}

TTextLoc ElementStart(ObjectId document, ObjectId element) {
  return HostGetTextRange(document, element, tolvane::P_ELEM_TEXT_RANGE).begin;
}

}  // namespace

ObjectId ResolveElementId(ObjectId document, const std::string& identifier) {
  if (identifier.empty()) return 0;
  if (identifier[0] == 'P') return ResolveParagraphId(document, identifier);
  return ResolveStructuredId(document, identifier);
}

std::optional<std::string> ElementIdText(ObjectId document, ObjectId element) {
  if (element == 0) return std::nullopt;
  std::string unique = HostGetString(document, element, tolvane::P_ELEM_UNIQUE_ID);
  if (!unique.empty()) return unique;
  const HostValue attributes = HostGetPropVal(document, element, tolvane::P_ELEM_ATTRIBUTES);
  if (attributes.type != tolvane::VT_ATTRIBUTES) return std::nullopt;
  for (const hostlink::HostAttribute& attribute : attributes.attributes) {
    const std::string& name = attribute.name;
    const bool isId = name.size() == 2 && (name[0] == 'I' || name[0] == 'i') &&
                      (name[1] == 'D' || name[1] == 'd');
    // An empty value is no identifier: the export writes none for it either.
    if (isId && !attribute.values.empty() && !attribute.values.front().empty()) {
      return attribute.values.front();
    }
  }
  return std::nullopt;
}

ObjectId FindElementById(ObjectId document, ObjectId element, const std::string& id) {
  if (element == 0) return 0;
  // Iterative, so that a deep tree cannot exhaust the stack; each element is looked at once,
  // so that a tree whose links loop back still ends.
  std::vector<ObjectId> pending{HostGetId(document, element, tolvane::P_ELEM_FIRST_CHILD)};
  std::set<ObjectId> seen{element};
  while (!pending.empty()) {
    const ObjectId current = pending.back();
    pending.pop_back();
    if (current == 0 || !seen.insert(current).second) continue;
    if (ElementIdText(document, current) == id) return current;
    // The next sibling waits until everything inside this element has been looked at.
    pending.push_back(HostGetId(document, current, tolvane::P_ELEM_NEXT_SIBLING));
    pending.push_back(HostGetId(document, current, tolvane::P_ELEM_FIRST_CHILD));
  }
  return 0;
}

ObjectId ElementParagraph(ObjectId document, ObjectId element) {
  if (element == 0) return 0;
  const ObjectId bound = HostGetId(document, element, tolvane::P_ELEM_BOUND_OBJECT);
  if (tolvane::KindOf(bound) == tolvane::KIND_TABLE_CELL) {
    return HostGetId(document, bound, tolvane::P_BOUND_FIRST_PGF);
  }
  TTextLoc start = ElementStart(document, element);
  // An element without text (or one the host does not know) starts no paragraph.
  if (start.object == 0) return 0;
  if (start.offset == 0) return start.object;
  // Offsets only go down on the way up, and each element is passed once, so a parent link
  // that loops ends the climb.
  std::set<ObjectId> seen{element};
  for (ObjectId parent = HostGetId(document, element, tolvane::P_ELEM_PARENT);
       parent != 0 && seen.insert(parent).second;
       parent = HostGetId(document, parent, tolvane::P_ELEM_PARENT)) {
    const TTextLoc parentStart = ElementStart(document, parent);
    if (parentStart.object != start.object || parentStart.offset > start.offset) return 0;
    if (parentStart.offset == 0) return parentStart.object;
    start = parentStart;
  }
  return 0;
}

}  // namespace osprevan::pdf
