// Element identifiers of the PDF's structure tree, resolved back to the host document: a
// paragraph's "P<own>#<two before>#<before>#<after>#<two after>" through the paragraphs' unique
// numbers, and an element's "E<identifier text>" through the document's element tree.
#pragma once

#include <optional>
#include <string>

#include "tolvane/numbers.h"

namespace osprevan::pdf {

// The host paragraph a structure element's identifier names (for an "E" identifier, the
// paragraph the named element starts), or 0; 0 also for an empty identifier.
tolvane::ObjectId ResolveElementId(tolvane::ObjectId document, const std::string& identifier);

// The identifier text of a host element: its unique-identifier property, else the first value
// of its "ID" attribute in any letter case; none when neither holds text.
std::optional<std::string> ElementIdText(tolvane::ObjectId document, tolvane::ObjectId element);

// The first element below `element` (depth first, children in order; `element` itself is not
// looked at) whose identifier text is `id`, or 0.
tolvane::ObjectId FindElementById(tolvane::ObjectId document, tolvane::ObjectId element,
                                  const std::string& id);

// The paragraph that `element` starts: the paragraph of a table cell it is bound to, else the
// paragraph in which it, or an ancestor starting at the same place, begins at offset 0; else 0.
tolvane::ObjectId ElementParagraph(tolvane::ObjectId document, tolvane::ObjectId element);

}  // namespace osprevan::pdf
