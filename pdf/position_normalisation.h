// Positions of the comments' ranges counted in characters of the host paragraph: content
// elements that stand for one host paragraph are counted as one, and characters that a block
// carries in the PDF are not counted.
#pragma once

#include <cstdint>

#include "pdf/document_context.h"

namespace osprevan::pdf {

// Sets `hostOffset` and `atBlockEnd` of both ends of every ranged top-level comment of the
// pages from `firstPage` to `lastPage`, and which content elements a block starts or ends in.
void NormalisePositions(DocumentContext& context, int32_t firstPage, int32_t lastPage);

}  // namespace osprevan::pdf
