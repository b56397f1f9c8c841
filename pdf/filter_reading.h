// What the filter reads of the PDF library: every author of the PDF, and whether an annotation's
// date passes the criteria's period.
#pragma once

#include "ondrelkit/ondrelkit.h"
#include "pdf/filter_criteria.h"

namespace osprevan::pdf {

// Adds to `authors` the titles of every annotation of a known subtype.
void CollectAuthors(OkDoc* document, AuthorSet& authors);

// Whole days, both ends included; a null date fails while the date test is on.
bool DatePasses(const OkDate* date, const FilterCriteria& criteria);

}  // namespace osprevan::pdf
