#include "client/client_info.h"

#include "platform/win/module.h"
#include "platform/win/resources.h"
#include "support/unicode_text.h"

namespace osprevan::client {
namespace {

struct VersionKey {
  int32_t number;
  const char16_t* key;
};

constexpr VersionKey kVersionKeys[] = {
    {2, u"ClientName"},       {3, u"ClientType"},   {4, u"FileDescription"},
    {5, u"ClientProducts"},   {6, u"ClientFacet"},  {7, u"ClientFormatId"},
    {8, u"ClientVendor"},     {9, u"ClientSuffix"}, {10, u"ClientInFormat"},
    {11, u"ClientOutFormat"},
};

constexpr size_t kMaxPath = 260;
constexpr uint32_t kVersionBlockSize = 4096;
constexpr size_t kQueryCapacity = 512 / sizeof(char16_t);

}  // namespace

std::vector<ClientInfoEntry> ReadClientInfo(void* module) {
  std::vector<ClientInfoEntry> entries;
  std::string path;
  if (!win::GetModuleFileName(module, path) || path.empty() || path.size() > kMaxPath) {
    return entries;
  }
  std::vector<unsigned char> block(kVersionBlockSize);
  if (!win::GetFileVersionInfo(path, kVersionBlockSize, block.data())) return entries;
  for (const VersionKey& key : kVersionKeys) {
    std::u16string query = u"\\StringFileInfo\\040904b0\\";
    query += key.key;
    if (query.size() >= kQueryCapacity) continue;
    const char16_t* value = nullptr;
    uint32_t length = 0;
    if (!win::VerQueryValue(block.data(), query, &value, &length) || !value) continue;
    // The length counts the terminating zero.
    const int32_t chars = length > 0 ? static_cast<int32_t>(length - 1) : 0;
    entries.push_back(
        {key.number,
         support::Utf16ToUtf8(std::u16string(value, static_cast<size_t>(chars))).value_or("")});
  }
  return entries;
}

ClientInfoList::ClientInfoList(std::vector<ClientInfoEntry> entries)
    : entries_(std::move(entries)) {
  records_.reserve(entries_.size());
  for (ClientInfoEntry& entry : entries_) {
    tolvane::TClientInfoEntry record{};
    record.number = entry.number;
    record.name = nullptr;
    record.value.property = entry.number;
    record.value.type = tolvane::VT_STRING;
    record.value.u.sval = entry.value.data();
    records_.push_back(record);
  }
  list_ = {static_cast<uint32_t>(records_.size()), records_.data()};
}

}  // namespace osprevan::client
