// Whether a file is a PDF by its first bytes.
#pragma once

#include <string>

namespace osprevan::pdf {

// True only when the file's first five bytes are exactly "%PDF-".
bool IsPdfFile(const std::u16string& path);

}  // namespace osprevan::pdf
