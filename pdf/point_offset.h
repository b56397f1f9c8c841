// The character offset in a content element that lies nearest to a point of the page.
#pragma once

#include <cstdint>

#include "pdf/content_element.h"

namespace osprevan::pdf {

// By the zone of the element's box the point falls in: left, inside or right of it across,
// above, inside or below it down the page.
uint32_t PointOffset(const ContentElement& element, float x, float y);

}  // namespace osprevan::pdf
