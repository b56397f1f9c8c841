#include "apply/structured_blocks.h"

namespace osprevan::apply {

int32_t CollectBlocks(ImportContext&, OkStructElem*) {
  return 0;
}

}  // namespace osprevan::apply
