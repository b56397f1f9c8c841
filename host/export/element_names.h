// Names and identifiers that the export writes into the structure tree: the type of a
// paragraph or element, the standard type it is role-mapped to, and the "P" and "E"
// identifiers that name its source.
#pragma once

#include <string>

#include "host/engine/document.h"

namespace tlhost::pdfexport {

// "P<own>#<two before>#<before>#<after>#<two after>" in the unique numbers of the
// paragraph's own list (flow, cell, footnote or table title); 0 for a missing neighbour.
std::string ParagraphIdentifier(const Document& document, ObjectId paragraph);

// The element's identifier text: its unique-identifier property, else the first value of an
// attribute named "ID" in any letter case; empty when it has none.
std::string ElementIdText(const Document& document, const StructureElement& element);

// The own type name for a paragraph format or element definition name: the name itself, "P"
// for an empty one, or the name with `suffix` when it would read as one of the container
// types the export writes itself (Table, Note, Article_..., and so on).
std::string OwnTypeName(const std::string& name, const char* suffix);

// The paragraph-level standard type a format or definition name is mapped to: H1 to H6 for
// headings, Caption, LI, TOCI, Index, else P.
std::string ParagraphStandardType(const std::string& name);

// True when ParagraphStandardType gives something more specific than "P" for the name.
bool HasSpecificStandardType(const std::string& name);

}  // namespace tlhost::pdfexport
