// Reads one named section of an ELF file, where compiled resources travel inside a library.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace win {

// False with a reason when the file is unreadable, not ELF64, or has no such section.
bool ReadElfSection(const std::string& path, const std::string& section,
                    std::vector<uint8_t>& bytes, std::string& error);

}  // namespace win
