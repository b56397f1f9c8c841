// How reading tells an element's kind (pdf/element_kind.h) from the library's view of it.
#pragma once

#include "ondrelkit/ondrelkit.h"
#include "pdf/element_kind.h"

namespace osprevan::pdf {

// The kind of a structure element by its own type and the standard type the role map maps it
// to (the own type when there is no role map); `element` gives the identifier a footnote needs.
ElementKind ClassifyElement(ondrelkit::PdfAtom ownType, ondrelkit::PdfAtom mappedType,
                            const OkStructElem* element);

}  // namespace osprevan::pdf
