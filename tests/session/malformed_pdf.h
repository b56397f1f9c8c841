// Damages a reviewed PDF precisely: one entry of one object, the page's content or the file's
// bytes, described by a short text so that a table row can say what it breaks.
//
// Edits are separated by ";". Each is one of
//   ANCHOR/Key VALUE        set the entry (VALUE in PDF syntax); without VALUE, remove it
//   ANCHOR/Key[N] VALUE     set the N-th item of an array entry (ANCHOR[N]: of the anchor)
//   ANCHOR/Key += VALUE     append to an array entry
//   Content: FROM => TO     replace every FROM in the page's content stream
//   File: OP                after writing: "xref" (every offset 7 bytes off), "noxref" (the
//                           table and the trailer cut off), "half" (the second half cut off),
//                           "empty", "header" (no "%PDF-"), "startxref" (past the end)
// ANCHOR names an object of the one-page PDF that the import tests review: Trailer, Root, Info,
// Pages, Page (the first; Page2, Page3, ... the others of a longer PDF), StructTreeRoot,
// ParentTree, ParentEntry (the page's parent-tree array), the structure elements Document, Article
// and P1..P4 (by their identifiers), and the annotations Highlight, Reply (answers the highlight),
// Note, State (on the note), Strike and Caret (the replace), Insert, Delete and Underline. In a
// VALUE, "@ANCHOR" is a reference to that object, and "raw{TEXT}" writes TEXT as it stands, for
// tokens qpdf would not write: "nan", a reference to an object that is not there; "inf" and
// "-inf" there are numbers of 400 digits. A VALUE that starts with "!" becomes an indirect
// object. Generated values: "*string N" (N letters), "*quads N" (N numbers repeating the entry's
// first quadrilateral), "*chain N" (N structure elements between the element and its parent),
// and "+= *replies N" (N Text annotations appended, each answering the one before, the first
// answering the Reply).
#pragma once

#include <string>

namespace osprevan::testing {

// Writes `in` with `edits` applied to `out`; answers what went wrong, empty on success. An
// anchor, entry or content text that is not there is an error, so no edit silently does nothing.
std::string DamagePdf(const std::string& in, const std::string& out, const std::string& edits);

}  // namespace osprevan::testing
