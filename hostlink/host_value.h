// Client-side copies of what host operations answer: typed values, property lists and text
// items, held in the client's own memory.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "tolvane/numbers.h"
#include "tolvane/values.h"

namespace osprevan::hostlink {

using tolvane::ObjectId;
using tolvane::TTextLoc;
using tolvane::TTextRange;

struct HostAttribute {
  std::string name;
  std::vector<std::string> values;
};

struct HostValue {
  int32_t property = 0;
  int32_t type = tolvane::VT_NONE;
  int32_t ival = 0;
  int64_t lval = 0;
  ObjectId id = 0;
  std::string sval;
  std::vector<int32_t> ints;
  std::vector<ObjectId> ids;
  std::vector<std::string> strings;
  TTextLoc loc{0, 0};
  TTextRange range{{0, 0}, {0, 0}};
  std::vector<HostAttribute> attributes;
};

using HostPropList = std::vector<HostValue>;

struct HostTextItem {
  int32_t offset = 0;
  uint32_t kind = 0;
  std::string text;  // TI_STRING
  ObjectId id = 0;   // every other kind
};

using HostTextItems = std::vector<HostTextItem>;

// Copies a host record into client memory.
HostValue CopyValue(const tolvane::TValue& value);
HostPropList CopyPropList(const tolvane::TPropList& list);
HostTextItems CopyTextItems(const tolvane::TTextItems& items);

// An interface record for a value passed to the host; it points into its own storage, so it
// lives as long as the call and is never copied.
class OutgoingValue {
 public:
  explicit OutgoingValue(const HostValue& value);
  OutgoingValue(const OutgoingValue&) = delete;
  OutgoingValue& operator=(const OutgoingValue&) = delete;
  const tolvane::TValue* get() const { return &record_; }

 private:
  tolvane::TValue record_{};
  std::vector<char*> stringPointers_;
  std::vector<tolvane::TAttribute> attributes_;
  std::vector<std::vector<char*>> attributeValuePointers_;
  std::vector<std::string> ownedStrings_;
  std::vector<int32_t> ints_;
  std::vector<ObjectId> ids_;
  std::string sval_;
};

}  // namespace osprevan::hostlink
