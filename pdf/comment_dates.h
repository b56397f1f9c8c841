// A comment's date (an OkDate of the library) in the two forms placing needs: the text that
// markers and the report show, and the time the host stamps on tracked changes.
#pragma once

#include <cstdint>
#include <string>

#include "ondrelkit/ondrelkit.h"

namespace osprevan::pdf {

// "YYYY/MM/DD HH:MM:SS" (the library's sortable form); "" without a date or when the library
// refuses it.
std::string SortableDateText(const OkDate* date);

// Seconds since 1970-01-01 00:00:00 UTC; 0 without a date or when the library cannot read it.
int64_t SecondsSince1970(const OkDate* date);

}  // namespace osprevan::pdf
