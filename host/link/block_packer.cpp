#include "host/link/block_packer.h"

#include <cstring>

#include "platform/win/task_allocator.h"

namespace tlhost {
namespace {

// Lays a block out in two passes: the first only measures, the second writes.
class Layout {
 public:
  explicit Layout(char* base) : base_(base) {}

  template <typename T>
  T* Reserve(size_t count) {
    Align(alignof(T));
    T* at = base_ ? reinterpret_cast<T*>(base_ + used_) : nullptr;
    used_ += sizeof(T) * count;
    return at;
  }

  char* Copy(const std::string& text) {
    char* at = base_ ? base_ + used_ : nullptr;
    if (at) std::memcpy(at, text.c_str(), text.size() + 1);
    used_ += text.size() + 1;
    return at;
  }

  size_t used() const { return used_; }

 private:
  void Align(size_t alignment) { used_ = (used_ + alignment - 1) / alignment * alignment; }

  char* base_;
  size_t used_ = 0;
};

tolvane::TStrings WriteStrings(Layout& layout, const std::vector<std::string>& strings) {
  char** pointers = layout.Reserve<char*>(strings.size());
  for (size_t i = 0; i < strings.size(); ++i) {
    char* copy = layout.Copy(strings[i]);
    if (pointers) pointers[i] = copy;
  }
  return {static_cast<uint32_t>(strings.size()), pointers};
}

// Writes the parts a value points to and fills `record` (when writing).
void WriteValue(Layout& layout, int32_t property, const Value& value, tolvane::TValue* record) {
  tolvane::TValue v{};
  v.property = property;
  v.type = value.type;
  switch (value.type) {
    case tolvane::VT_INT:
      v.u.ival = value.i;
      break;
    case tolvane::VT_LONG_INT:
      v.u.lval = value.l;
      break;
    case tolvane::VT_ID:
      v.u.id = value.id;
      break;
    case tolvane::VT_STRING:
      v.u.sval = layout.Copy(value.s);
      break;
    case tolvane::VT_INTS: {
      int32_t* ints = layout.Reserve<int32_t>(value.ints.size());
      if (ints && !value.ints.empty()) {
        std::memcpy(ints, value.ints.data(), value.ints.size() * sizeof(int32_t));
      }
      v.u.ints = {static_cast<uint32_t>(value.ints.size()), ints};
      break;
    }
    case tolvane::VT_IDS: {
      ObjectId* ids = layout.Reserve<ObjectId>(value.ids.size());
      if (ids && !value.ids.empty()) {
        std::memcpy(ids, value.ids.data(), value.ids.size() * sizeof(ObjectId));
      }
      v.u.ids = {static_cast<uint32_t>(value.ids.size()), ids};
      break;
    }
    case tolvane::VT_STRINGS:
      v.u.strings = WriteStrings(layout, value.strings);
      break;
    case tolvane::VT_TEXT_LOC:
      v.u.loc = value.loc;
      break;
    case tolvane::VT_TEXT_RANGE:
      v.u.range = value.range;
      break;
    case tolvane::VT_ATTRIBUTES: {
      tolvane::TAttribute* attributes =
          layout.Reserve<tolvane::TAttribute>(value.attributes.size());
      for (size_t i = 0; i < value.attributes.size(); ++i) {
        char* name = layout.Copy(value.attributes[i].name);
        tolvane::TStrings values = WriteStrings(layout, value.attributes[i].values);
        if (attributes) attributes[i] = {name, values};
      }
      v.u.attributes = {static_cast<uint32_t>(value.attributes.size()), attributes};
      break;
    }
    default:
      break;
  }
  if (record) *record = v;
}

template <typename Writer>
auto* Pack(Writer write) {
  Layout measure(nullptr);
  write(measure);
  char* block = static_cast<char*>(CoTaskMemAlloc(measure.used() ? measure.used() : 1));
  if (!block) return decltype(write(measure))(nullptr);
  Layout fill(block);
  return write(fill);
}

std::vector<std::string> ReadStrings(const tolvane::TStrings& list) {
  std::vector<std::string> out;
  if (!list.val) return out;
  for (uint32_t i = 0; i < list.len; ++i) out.emplace_back(list.val[i] ? list.val[i] : "");
  return out;
}

}  // namespace

char* PackString(const std::string& text) {
  return Pack([&](Layout& layout) { return layout.Copy(text); });
}

tolvane::TValue* PackValue(int32_t property, const Value& value) {
  return Pack([&](Layout& layout) {
    tolvane::TValue* record = layout.Reserve<tolvane::TValue>(1);
    WriteValue(layout, property, value, record);
    return record;
  });
}

tolvane::TPropList* PackPropList(const std::vector<PropValue>& props) {
  return Pack([&](Layout& layout) {
    tolvane::TPropList* list = layout.Reserve<tolvane::TPropList>(1);
    tolvane::TValue* records = layout.Reserve<tolvane::TValue>(props.size());
    for (size_t i = 0; i < props.size(); ++i) {
      WriteValue(layout, props[i].property, props[i].value, records ? &records[i] : nullptr);
    }
    if (list) *list = {static_cast<uint32_t>(props.size()), records};
    return list;
  });
}

tolvane::TTextItems* PackTextItems(const std::vector<TextItem>& items) {
  return Pack([&](Layout& layout) {
    tolvane::TTextItems* list = layout.Reserve<tolvane::TTextItems>(1);
    tolvane::TTextItem* records = layout.Reserve<tolvane::TTextItem>(items.size());
    for (size_t i = 0; i < items.size(); ++i) {
      tolvane::TTextItem record{};
      record.offset = items[i].offset;
      record.kind = items[i].kind;
      if (items[i].kind == tolvane::TI_STRING) {
        record.u.sval = layout.Copy(items[i].text);
      } else {
        record.u.id = items[i].id;
      }
      if (records) records[i] = record;
    }
    if (list) *list = {static_cast<uint32_t>(items.size()), records};
    return list;
  });
}

Value UnpackValue(const tolvane::TValue& v) {
  Value out;
  out.type = v.type;
  switch (v.type) {
    case tolvane::VT_INT:
      out.i = v.u.ival;
      break;
    case tolvane::VT_LONG_INT:
      out.l = v.u.lval;
      break;
    case tolvane::VT_ID:
      out.id = v.u.id;
      break;
    case tolvane::VT_STRING:
      out.s = v.u.sval ? v.u.sval : "";
      break;
    case tolvane::VT_INTS:
      if (v.u.ints.val) out.ints.assign(v.u.ints.val, v.u.ints.val + v.u.ints.len);
      break;
    case tolvane::VT_IDS:
      if (v.u.ids.val) out.ids.assign(v.u.ids.val, v.u.ids.val + v.u.ids.len);
      break;
    case tolvane::VT_STRINGS:
      out.strings = ReadStrings(v.u.strings);
      break;
    case tolvane::VT_TEXT_LOC:
      out.loc = v.u.loc;
      break;
    case tolvane::VT_TEXT_RANGE:
      out.range = v.u.range;
      break;
    case tolvane::VT_ATTRIBUTES:
      if (v.u.attributes.val) {
        for (uint32_t i = 0; i < v.u.attributes.len; ++i) {
          const tolvane::TAttribute& a = v.u.attributes.val[i];
          out.attributes.push_back({a.name ? a.name : "", ReadStrings(a.values)});
        }
      }
      break;
    default:
      break;
  }
  return out;
}

std::vector<PropValue> UnpackPropList(const tolvane::TPropList* list) {
  std::vector<PropValue> out;
  if (!list || !list->val) return out;
  for (uint32_t i = 0; i < list->len; ++i) {
    out.push_back({list->val[i].property, UnpackValue(list->val[i])});
  }
  return out;
}

}  // namespace tlhost
