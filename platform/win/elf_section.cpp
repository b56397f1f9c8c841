#include "platform/win/elf_section.h"

#include <elf.h>

#include <cstring>
#include <fstream>

namespace win {

bool ReadElfSection(const std::string& path, const std::string& section,
                    std::vector<uint8_t>& bytes, std::string& error) {
  std::ifstream file(path, std::ios::binary);
  if (!file) {
    error = "cannot open " + path;
    return false;
  }
  file.seekg(0, std::ios::end);
  const auto fileSize = static_cast<uint64_t>(file.tellg());
  file.seekg(0);
  auto readAt = [&](uint64_t offset, void* out, uint64_t size) {
    if (offset > fileSize || size > fileSize - offset) return false;
    file.seekg(static_cast<std::streamoff>(offset));
    return static_cast<bool>(
        file.read(static_cast<char*>(out), static_cast<std::streamsize>(size)));
  };
  Elf64_Ehdr header{};
  if (!readAt(0, &header, sizeof header) || std::memcmp(header.e_ident, ELFMAG, SELFMAG) != 0 ||
      header.e_ident[EI_CLASS] != ELFCLASS64 || header.e_shentsize != sizeof(Elf64_Shdr)) {
    error = path + " is not a 64-bit ELF file";
    return false;
  }
  std::vector<Elf64_Shdr> sections(header.e_shnum);
  if (header.e_shnum == 0 || header.e_shstrndx >= header.e_shnum ||
      !readAt(header.e_shoff, sections.data(), sizeof(Elf64_Shdr) * header.e_shnum)) {
    error = path + " has no readable section table";
    return false;
  }
  const Elf64_Shdr& names = sections[header.e_shstrndx];
  std::vector<char> nameTable(names.sh_size + 1, '\0');
  if (!readAt(names.sh_offset, nameTable.data(), names.sh_size)) {
    error = path + " has no readable section names";
    return false;
  }
  for (const Elf64_Shdr& s : sections) {
    if (s.sh_name >= names.sh_size || section != &nameTable[s.sh_name]) continue;
    if (s.sh_type == SHT_NOBITS) break;
    bytes.resize(s.sh_size);
    if (!readAt(s.sh_offset, bytes.data(), s.sh_size)) {
      error = path + ": section " + section + " runs past the end of the file";
      return false;
    }
    return true;
  }
  error = path + " has no section " + section;
  return false;
}

}  // namespace win
