#include "platform/win/resources.h"

#include <cstring>
#include <map>
#include <memory>
#include <mutex>
#include <vector>

#include "platform/win/elf_section.h"
#include "platform/win/resource_blob.h"

namespace win {
namespace {

struct ModuleResources {
  std::vector<ResourceEntry> entries;
};

std::mutex g_mutex;

// Parsed resources per file path; kept for the process, so pointers into them stay valid.
std::map<std::string, std::unique_ptr<ModuleResources>>& Cache() {
  static std::map<std::string, std::unique_ptr<ModuleResources>> cache;
  return cache;
}

const ModuleResources* ResourcesOfFile(const std::string& path) {
  std::lock_guard<std::mutex> lock(g_mutex);
  auto found = Cache().find(path);
  if (found != Cache().end()) return found->second.get();
  auto parsed = std::make_unique<ModuleResources>();
  std::vector<uint8_t> blob;
  std::string error;
  if (ReadElfSection(path, kResourceSection, blob, error)) {
    if (!ParseResourceBlob(blob, parsed->entries, error)) parsed->entries.clear();
  }
  return (Cache()[path] = std::move(parsed)).get();
}

bool EqualNoCase(const std::string& a, const std::string& b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i) {
    auto lower = [](unsigned char c) { return (c >= 'A' && c <= 'Z') ? c - 'A' + 'a' : c; };
    if (lower(static_cast<unsigned char>(a[i])) != lower(static_cast<unsigned char>(b[i]))) {
      return false;
    }
  }
  return true;
}

bool Matches(bool isName, uint16_t id, const std::string& name, const ResourceName& wanted) {
  if (const auto* number = std::get_if<uint16_t>(&wanted)) return !isName && id == *number;
  return isName && EqualNoCase(name, std::get<std::string>(wanted));
}

const ResourceEntry* Find(const ModuleResources& resources, const ResourceName& type,
                          const ResourceName& name, uint16_t language) {
  for (const ResourceEntry& e : resources.entries) {
    if (!Matches(e.typeIsName, e.typeId, e.typeName, type)) continue;
    if (!Matches(e.nameIsName, e.nameId, e.name, name)) continue;
    if (language != LANG_NEUTRAL && e.language != language) continue;
    return &e;
  }
  return nullptr;
}

}  // namespace

bool FindResource(HMODULE module, const ResourceName& type, const ResourceName& name,
                  uint16_t language, ResourceData& out) {
  std::string path;
  if (!GetModuleFileName(module, path)) return false;
  const ResourceEntry* entry = Find(*ResourcesOfFile(path), type, name, language);
  if (!entry) return false;
  out.bytes = entry->data.data();
  out.size = static_cast<uint32_t>(entry->data.size());
  return true;
}

bool FindResourceForLanguage(HMODULE module, const ResourceName& type, const ResourceName& name,
                             uint16_t language, ResourceData& out) {
  for (const uint16_t tried : {language, LANG_EN_US, LANG_NEUTRAL}) {
    if (FindResource(module, type, name, tried, out)) return true;
  }
  return false;
}

bool LoadString(HMODULE module, uint32_t id, std::u16string& out, uint16_t language) {
  ResourceData block;
  const auto blockName = static_cast<uint16_t>(id / 16 + 1);
  if (!FindResource(module, RT_STRING, blockName, language, block)) return false;
  // Sixteen length-prefixed UTF-16 strings; skip to the wanted one.
  size_t at = 0;
  for (uint32_t i = 0; i < 16; ++i) {
    if (at + 2 > block.size) return false;
    uint16_t length;
    std::memcpy(&length, block.bytes + at, 2);
    at += 2;
    if (at + 2u * length > block.size) return false;
    if (i == id % 16) {
      if (length == 0) return false;
      out.resize(length);
      std::memcpy(out.data(), block.bytes + at, 2u * length);
      return true;
    }
    at += 2u * length;
  }
  return false;
}

bool GetFileVersionInfo(const std::string& path, uint32_t capacity, void* block) {
  const ResourceEntry* entry = Find(*ResourcesOfFile(path), RT_VERSION, uint16_t{1}, LANG_NEUTRAL);
  if (!entry || entry->data.size() > capacity || entry->data.size() < 12) return false;
  std::memcpy(block, entry->data.data(), entry->data.size());
  return true;
}

bool VerQueryValue(const void* block, const std::u16string& subBlock, const char16_t** value,
                   uint32_t* length) {
  const auto* bytes = static_cast<const uint8_t*>(block);
  if (!bytes || std::memcmp(bytes, kVersionMagic, 4) != 0) return false;
  uint32_t total, count;
  std::memcpy(&total, bytes + 4, 4);
  std::memcpy(&count, bytes + 8, 4);
  size_t at = 12;
  for (uint32_t i = 0; i < count; ++i) {
    if (at + 4 > total) return false;
    uint16_t keyLength, valueLength;
    std::memcpy(&keyLength, bytes + at, 2);
    std::memcpy(&valueLength, bytes + at + 2, 2);
    at += 4;
    const size_t entryBytes = 2u * (keyLength + valueLength);
    if (at + entryBytes > total) return false;
    std::u16string key(keyLength, u'\0');
    std::memcpy(key.data(), bytes + at, 2u * keyLength);
    if (key == subBlock) {
      *value = reinterpret_cast<const char16_t*>(bytes + at + 2u * keyLength);
      *length = valueLength;
      return true;
    }
    at += entryBytes;
  }
  return false;
}

}  // namespace win
