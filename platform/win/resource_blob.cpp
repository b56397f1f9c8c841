#include "platform/win/resource_blob.h"

#include <cstring>

namespace win {
namespace {

void Put16(std::vector<uint8_t>& out, uint16_t v) {
  out.push_back(static_cast<uint8_t>(v));
  out.push_back(static_cast<uint8_t>(v >> 8));
}

void Put32(std::vector<uint8_t>& out, uint32_t v) {
  for (int i = 0; i < 4; ++i) out.push_back(static_cast<uint8_t>(v >> (8 * i)));
}

uint32_t Get32(const std::vector<uint8_t>& in, size_t at) {
  return static_cast<uint32_t>(in[at]) | static_cast<uint32_t>(in[at + 1]) << 8 |
         static_cast<uint32_t>(in[at + 2]) << 16 | static_cast<uint32_t>(in[at + 3]) << 24;
}

uint16_t Get16(const std::vector<uint8_t>& in, size_t at) {
  return static_cast<uint16_t>(in[at] | in[at + 1] << 8);
}

// A name or id field: reads the name at its offset, bounded by the blob.
bool ReadKey(const std::vector<uint8_t>& blob, uint32_t field, bool& isName, uint16_t& id,
             std::string& name) {
  isName = (field & kResourceNameFlag) != 0;
  if (!isName) {
    if (field > 0xFFFF) return false;
    id = static_cast<uint16_t>(field);
    return true;
  }
  const size_t at = field & ~kResourceNameFlag;
  if (at >= blob.size()) return false;
  const void* end = std::memchr(blob.data() + at, 0, blob.size() - at);
  if (!end) return false;
  name.assign(reinterpret_cast<const char*>(blob.data() + at),
              static_cast<const uint8_t*>(end) - (blob.data() + at));
  return true;
}

}  // namespace

std::vector<uint8_t> BuildResourceBlob(const std::vector<ResourceEntry>& entries) {
  std::vector<uint8_t> names;
  std::vector<uint8_t> data;
  const size_t tableEnd = kResourceHeaderSize + kResourceEntrySize * entries.size();
  std::vector<uint8_t> out(kResourceMagic, kResourceMagic + 4);
  Put32(out, kResourceBlobVersion);
  Put32(out, static_cast<uint32_t>(entries.size()));
  // Names first, then data, each placed after the table.
  std::vector<uint32_t> typeFields, nameFields;
  for (const ResourceEntry& e : entries) {
    auto field = [&](bool isName, uint16_t id, const std::string& name) {
      if (!isName) return static_cast<uint32_t>(id);
      const uint32_t offset = static_cast<uint32_t>(tableEnd + names.size());
      names.insert(names.end(), name.begin(), name.end());
      names.push_back(0);
      return offset | kResourceNameFlag;
    };
    typeFields.push_back(field(e.typeIsName, e.typeId, e.typeName));
    nameFields.push_back(field(e.nameIsName, e.nameId, e.name));
  }
  while (names.size() % 4) names.push_back(0);
  for (size_t i = 0; i < entries.size(); ++i) {
    const ResourceEntry& e = entries[i];
    Put32(out, typeFields[i]);
    Put32(out, nameFields[i]);
    Put16(out, e.language);
    Put16(out, 0);
    Put32(out, static_cast<uint32_t>(tableEnd + names.size() + data.size()));
    Put32(out, static_cast<uint32_t>(e.data.size()));
    data.insert(data.end(), e.data.begin(), e.data.end());
    while (data.size() % 4) data.push_back(0);
  }
  out.insert(out.end(), names.begin(), names.end());
  out.insert(out.end(), data.begin(), data.end());
  return out;
}

bool ParseResourceBlob(const std::vector<uint8_t>& blob, std::vector<ResourceEntry>& entries,
                       std::string& error) {
  entries.clear();
  if (blob.size() < kResourceHeaderSize || std::memcmp(blob.data(), kResourceMagic, 4) != 0) {
    error = "not a resource blob";
    return false;
  }
  if (Get32(blob, 4) != kResourceBlobVersion) {
    error = "unknown resource blob version";
    return false;
  }
  const uint64_t count = Get32(blob, 8);
  if (kResourceHeaderSize + count * kResourceEntrySize > blob.size()) {
    error = "resource table runs past the end";
    return false;
  }
  for (uint64_t i = 0; i < count; ++i) {
    const size_t at = kResourceHeaderSize + static_cast<size_t>(i) * kResourceEntrySize;
    ResourceEntry e;
    if (!ReadKey(blob, Get32(blob, at), e.typeIsName, e.typeId, e.typeName) ||
        !ReadKey(blob, Get32(blob, at + 4), e.nameIsName, e.nameId, e.name)) {
      error = "resource " + std::to_string(i) + " has a bad type or name";
      return false;
    }
    e.language = Get16(blob, at + 8);
    const uint64_t offset = Get32(blob, at + 12);
    const uint64_t size = Get32(blob, at + 16);
    if (offset + size > blob.size()) {
      error = "resource " + std::to_string(i) + " data runs past the end";
      return false;
    }
    e.data.assign(blob.begin() + static_cast<long>(offset),
                  blob.begin() + static_cast<long>(offset + size));
    entries.push_back(std::move(e));
  }
  return true;
}

}  // namespace win
