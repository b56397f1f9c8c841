// The layout of a compiled resource blob, shared by the resource compiler and the lookup.
// Little-endian throughout; offsets count from the start of the blob:
//   "TLRS", u32 version (1), u32 entry count, then per entry
//   u32 type (id, or offset of a UTF-8 name | 0x80000000), u32 name (the same),
//   u16 language, u16 reserved, u32 data offset, u32 data size;
//   then names and data.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace win {

constexpr char kResourceMagic[4] = {'T', 'L', 'R', 'S'};
constexpr uint32_t kResourceBlobVersion = 1;
constexpr uint32_t kResourceNameFlag = 0x80000000u;
constexpr size_t kResourceHeaderSize = 12;
constexpr size_t kResourceEntrySize = 20;
constexpr const char* kResourceSection = ".tlrsrc";

struct ResourceEntry {
  bool typeIsName = false;
  uint16_t typeId = 0;
  std::string typeName;
  bool nameIsName = false;
  uint16_t nameId = 0;
  std::string name;
  uint16_t language = 0;
  std::vector<uint8_t> data;
};

// Builds a blob from entries (used by the compiler).
std::vector<uint8_t> BuildResourceBlob(const std::vector<ResourceEntry>& entries);

// Parses a blob; false with a reason when it is truncated or inconsistent.
bool ParseResourceBlob(const std::vector<uint8_t>& blob, std::vector<ResourceEntry>& entries,
                       std::string& error);

// The layout of the version block that GetFileVersionInfo answers:
//   "TLVI", u32 total size, u32 value count, then per value
//   u16 key length, u16 value length (both in UTF-16 units, the value's counting its zero),
//   the key ("\StringFileInfo\040904b0\ClientName") and the zero-terminated value.
constexpr char kVersionMagic[4] = {'T', 'L', 'V', 'I'};

}  // namespace win
