// What tells one comment from every other across imports, so that a PDF imported again, or a
// reviewer's updated PDF, adds only the comments not imported yet: the annotation's own name
// (/NM) when it has one, which stays when the reviewer edits the comment; otherwise a digest of
// what the comment is and where it lies.
#pragma once

#include <cstdint>
#include <string>

#include "ondrelkit/ondrelkit.h"

namespace osprevan::pdf {

// "nm-" or "dg-" and 16 hexadecimal digits. A name is unique only among the annotations of its
// page, and tools that number their annotations give the same names again in another file, so
// the name is taken with the page, the subtype and the creation date. Without a name: the
// page, subtype, author, creation date, boxes (/Rect, /QuadPoints) and contents.
std::string CommentIdentity(const OkAnnot* annot, int32_t page, const std::string& subtype,
                            const std::string& author, const std::string& contents);

}  // namespace osprevan::pdf
