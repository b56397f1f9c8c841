// printf-style formatting into a string, without a fixed buffer.
#pragma once

#include <string>

namespace osprevan::support {

std::string Format(const char* format, ...) __attribute__((format(printf, 1, 2)));

}  // namespace osprevan::support
