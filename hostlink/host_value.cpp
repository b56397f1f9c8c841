#include "hostlink/host_value.h"

namespace osprevan::hostlink {
namespace {

std::string CopyString(const char* s) {
  return s ? std::string(s) : std::string();
}

std::vector<std::string> CopyStrings(const tolvane::TStrings& list) {
  std::vector<std::string> out;
  if (!list.val) return out;
  out.reserve(list.len);
  for (uint32_t i = 0; i < list.len; ++i) out.push_back(CopyString(list.val[i]));
  return out;
}

}  // namespace

HostValue CopyValue(const tolvane::TValue& value) {
  HostValue out;
  out.property = value.property;
  out.type = value.type;
  switch (value.type) {
    case tolvane::VT_INT:
      out.ival = value.u.ival;
      break;
    case tolvane::VT_LONG_INT:
      out.lval = value.u.lval;
      break;
    case tolvane::VT_ID:
      out.id = value.u.id;
      break;
    case tolvane::VT_STRING:
      out.sval = CopyString(value.u.sval);
      break;
    case tolvane::VT_INTS:
      if (value.u.ints.val) out.ints.assign(value.u.ints.val, value.u.ints.val + value.u.ints.len);
      break;
    case tolvane::VT_IDS:
      if (value.u.ids.val) out.ids.assign(value.u.ids.val, value.u.ids.val + value.u.ids.len);
      break;
    case tolvane::VT_STRINGS:
      out.strings = CopyStrings(value.u.strings);
      break;
    case tolvane::VT_TEXT_LOC:
      out.loc = value.u.loc;
      break;
    case tolvane::VT_TEXT_RANGE:
      out.range = value.u.range;
      break;
    case tolvane::VT_ATTRIBUTES:
      if (value.u.attributes.val) {
        for (uint32_t i = 0; i < value.u.attributes.len; ++i) {
          const tolvane::TAttribute& a = value.u.attributes.val[i];
          out.attributes.push_back({CopyString(a.name), CopyStrings(a.values)});
        }
      }
      break;
    default:
      break;
  }
  return out;
}

HostPropList CopyPropList(const tolvane::TPropList& list) {
  HostPropList out;
  if (!list.val) return out;
  out.reserve(list.len);
  for (uint32_t i = 0; i < list.len; ++i) out.push_back(CopyValue(list.val[i]));
  return out;
}

HostTextItems CopyTextItems(const tolvane::TTextItems& items) {
  HostTextItems out;
  if (!items.val) return out;
  out.reserve(items.len);
  for (uint32_t i = 0; i < items.len; ++i) {
    const tolvane::TTextItem& item = items.val[i];
    HostTextItem copy;
    copy.offset = item.offset;
    copy.kind = item.kind;
    if (item.kind == tolvane::TI_STRING) {
      copy.text = CopyString(item.u.sval);
    } else {
      copy.id = item.u.id;
    }
    out.push_back(std::move(copy));
  }
  return out;
}

OutgoingValue::OutgoingValue(const HostValue& value) {
  record_.property = value.property;
  record_.type = value.type;
  switch (value.type) {
    case tolvane::VT_INT:
      record_.u.ival = value.ival;
      break;
    case tolvane::VT_LONG_INT:
      record_.u.lval = value.lval;
      break;
    case tolvane::VT_ID:
      record_.u.id = value.id;
      break;
    case tolvane::VT_STRING:
      sval_ = value.sval;
      record_.u.sval = sval_.data();
      break;
    case tolvane::VT_INTS:
      ints_ = value.ints;
      record_.u.ints = {static_cast<uint32_t>(ints_.size()), ints_.data()};
      break;
    case tolvane::VT_IDS:
      ids_ = value.ids;
      record_.u.ids = {static_cast<uint32_t>(ids_.size()), ids_.data()};
      break;
    case tolvane::VT_STRINGS:
      ownedStrings_ = value.strings;
      for (std::string& s : ownedStrings_) stringPointers_.push_back(s.data());
      record_.u.strings = {static_cast<uint32_t>(stringPointers_.size()), stringPointers_.data()};
      break;
    case tolvane::VT_TEXT_LOC:
      record_.u.loc = value.loc;
      break;
    case tolvane::VT_TEXT_RANGE:
      record_.u.range = value.range;
      break;
    case tolvane::VT_ATTRIBUTES: {
      // Names first, then every value, so the pointers stay stable once the vector is built.
      for (const HostAttribute& a : value.attributes) {
        ownedStrings_.push_back(a.name);
        for (const std::string& v : a.values) ownedStrings_.push_back(v);
      }
      size_t next = 0;
      attributeValuePointers_.resize(value.attributes.size());
      for (size_t i = 0; i < value.attributes.size(); ++i) {
        char* name = ownedStrings_[next++].data();
        for (size_t v = 0; v < value.attributes[i].values.size(); ++v) {
          attributeValuePointers_[i].push_back(ownedStrings_[next++].data());
        }
        attributes_.push_back({name,
                               {static_cast<uint32_t>(attributeValuePointers_[i].size()),
                                attributeValuePointers_[i].data()}});
      }
      record_.u.attributes = {static_cast<uint32_t>(attributes_.size()), attributes_.data()};
      break;
    }
    default:
      break;
  }
}

}  // namespace osprevan::hostlink
