// The host's own form of typed values and text items, before they are packed into the
// task-allocator blocks of the client interface.
#pragma once

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

#include "tolvane/numbers.h"
#include "tolvane/values.h"

namespace tlhost {

using tolvane::ObjectId;
using tolvane::TTextLoc;
using tolvane::TTextRange;

struct Attribute {
  std::string name;
  std::vector<std::string> values;
  bool operator==(const Attribute&) const = default;
};

struct Value {
  int32_t type = tolvane::VT_NONE;  // tolvane::ValueType
  int32_t i = 0;
  int64_t l = 0;
  ObjectId id = 0;
  std::string s;
  std::vector<int32_t> ints;
  std::vector<ObjectId> ids;
  std::vector<std::string> strings;
  TTextLoc loc{0, 0};
  TTextRange range{{0, 0}, {0, 0}};
  std::vector<Attribute> attributes;

  static Value Int(int32_t v) {
    Value x;
    x.type = tolvane::VT_INT;
    x.i = v;
    return x;
  }
  static Value LongInt(int64_t v) {
    Value x;
    x.type = tolvane::VT_LONG_INT;
    x.l = v;
    return x;
  }
  static Value Id(ObjectId v) {
    Value x;
    x.type = tolvane::VT_ID;
    x.id = v;
    return x;
  }
  static Value String(std::string v) {
    Value x;
    x.type = tolvane::VT_STRING;
    x.s = std::move(v);
    return x;
  }
  static Value Ids(std::vector<ObjectId> v) {
    Value x;
    x.type = tolvane::VT_IDS;
    x.ids = std::move(v);
    return x;
  }
  static Value Ints(std::vector<int32_t> v) {
    Value x;
    x.type = tolvane::VT_INTS;
    x.ints = std::move(v);
    return x;
  }
  static Value Strings(std::vector<std::string> v) {
    Value x;
    x.type = tolvane::VT_STRINGS;
    x.strings = std::move(v);
    return x;
  }
  static Value Loc(TTextLoc v) {
    Value x;
    x.type = tolvane::VT_TEXT_LOC;
    x.loc = v;
    return x;
  }
  static Value Range(TTextRange v) {
    Value x;
    x.type = tolvane::VT_TEXT_RANGE;
    x.range = v;
    return x;
  }
  static Value Attributes(std::vector<Attribute> v) {
    Value x;
    x.type = tolvane::VT_ATTRIBUTES;
    x.attributes = std::move(v);
    return x;
  }
};

struct PropValue {
  int32_t property = 0;
  Value value;
};

struct TextItem {
  int32_t offset = 0;
  uint32_t kind = 0;  // tolvane::TextItemKind
  std::string text;   // TI_STRING
  ObjectId id = 0;    // every other kind
};

}  // namespace tlhost
