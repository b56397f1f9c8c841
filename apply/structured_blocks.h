// The element blocks of a structured document's PDF: BlockStart/BlockEnd pairs and the spans
// inside them.
#pragma once

#include <cstdint>

#include "ondrelkit/ondrelkit.h"

namespace osprevan::apply {

class ImportContext;

// 0 when the walk went through, 1 when a block marker was malformed.
// PLACEHOLDER: walks nothing yet and answers 0; the block list comes with structured documents.
int32_t CollectBlocks(ImportContext& context, OkStructElem* element);

}  // namespace osprevan::apply
