// The order in which a document's placements are applied: by flow, those without a marker
// first, then the ones with markers from the end of the text towards its beginning, so that
// nothing applied shifts the offsets of a placement still to come. Of those that meet at one
// spot, marked-up text goes first, then new text in the order of the page, then other markers.
#pragma once

#include <vector>

#include "apply/placement.h"

namespace osprevan::apply {

// Whether `a`, being inserted, goes before `b`, already placed. This is no ordering in the
// strict sense (two placements without a marker each go before the other), so it must never
// be given to a sorted container or a sort as its comparison.
bool GoesBefore(const Placement& a, const Placement& b);

// The placements in the order they are applied: each, in list order, is put before the first
// one already ordered that it goes before, else at the end.
std::vector<Placement*> ApplicationOrder(std::vector<Placement>& placements);

}  // namespace osprevan::apply
