// The PDF date syntax, "D:YYYYMMDDHHmmSSOHH'mm'", read for date entries the library has no
// reader of its own for (an annotation's /CreationDate).
#pragma once

#include <cstdint>
#include <optional>
#include <string_view>

namespace osprevan::pdf {

// Seconds since 1970-01-01 00:00:00 UTC. The year is required; every later part may be left
// off from any point on ("D:2026" is the first of January 2026, midnight UTC), and "Z" or no
// offset means UTC. Null for a malformed date or a field out of its range.
std::optional<int64_t> PdfDateSeconds(std::string_view text);

}  // namespace osprevan::pdf
