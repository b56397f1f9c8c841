// How reading tells an annotation's kind from the library's view of it: its subtype atom, and
// whether it is grouped with the annotation its IRT names.
#pragma once

#include "ondrelkit/ondrelkit.h"
#include "pdf/comment_kind.h"

namespace osprevan::pdf {

// The row of a subtype; null for a subtype the import does not read, or when the library cannot
// name it.
const CommentSubtype* FindCommentSubtype(ondrelkit::PdfAtom subtype);

// True when the annotation's dictionary has "IRT" and its "RT" is absent or the name "Group".
bool IsGroupMember(const OkAnnot* annot);
// True when the annotation's dictionary has "IRT" and its "RT" is the name "Group": without RT,
// an annotation other than a strike-out answers its IRT, as the entry's default says.
bool IsNamedGroupMember(const OkAnnot* annot);

// The kind of an annotation by its subtype; "StrikeOut" and "Deletion" are a Replace when the
// annotation is a group member, else a Delete.
CommentKind ClassifyComment(ondrelkit::PdfAtom subtype, const OkAnnot* annot);

}  // namespace osprevan::pdf
