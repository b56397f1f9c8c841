// Resources carried inside a module, looked up by type, name and language as the Windows
// resource functions do. Resources are compiled from a resource script into a section of the
// shared library file; see tools/rescomp.
#pragma once

#include <cstdint>
#include <string>
#include <variant>

#include "platform/win/module.h"

namespace win {

// A resource type or name: an integer identifier or a string (strings compare without case).
using ResourceName = std::variant<uint16_t, std::string>;

constexpr uint16_t RT_DIALOG = 5;
constexpr uint16_t RT_STRING = 6;
constexpr uint16_t RT_VERSION = 16;

constexpr uint16_t LANG_NEUTRAL = 0;  // any language
constexpr uint16_t LANG_EN_US = 1033;
constexpr uint16_t LANG_JA_JP = 1041;

struct ResourceData {
  const uint8_t* bytes = nullptr;  // valid while the module stays loaded
  uint32_t size = 0;
};

// Finds a resource; language LANG_NEUTRAL takes the first of any language. False when absent.
bool FindResource(HMODULE module, const ResourceName& type, const ResourceName& name,
                  uint16_t language, ResourceData& out);

// Finds a resource for a user of `language` as the Windows loader falls back: that language's
// own, else the US English one, else one of any language. False when there is none at all.
bool FindResourceForLanguage(HMODULE module, const ResourceName& type, const ResourceName& name,
                             uint16_t language, ResourceData& out);

// Loads string-table entry `id` (16 entries per block, as in Windows) as UTF-16 from the table
// of exactly `language` (LANG_NEUTRAL: the first table holding the block); false when absent.
bool LoadString(HMODULE module, uint32_t id, std::u16string& out, uint16_t language = LANG_NEUTRAL);

// Reads the version resource of the module file at `path` into `block` (at most `capacity`
// bytes); false when the file or its version resource cannot be read.
bool GetFileVersionInfo(const std::string& path, uint32_t capacity, void* block);

// Looks a value up in a version block, e.g. "\\StringFileInfo\\040904b0\\ClientName".
// The value is UTF-16, `length` counts its characters including the terminating zero.
bool VerQueryValue(const void* block, const std::u16string& subBlock, const char16_t** value,
                   uint32_t* length);

}  // namespace win
