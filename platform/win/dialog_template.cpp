#include "platform/win/dialog_template.h"

#include <cstring>

#include "platform/win/utf16.h"

namespace win {
namespace {

class Reader {
 public:
  Reader(const uint8_t* bytes, size_t size) : bytes_(bytes), size_(size) {}

  bool U16(uint16_t& v) {
    if (at_ + 2 > size_) return false;
    v = static_cast<uint16_t>(bytes_[at_] | bytes_[at_ + 1] << 8);
    at_ += 2;
    return true;
  }
  bool I16(int16_t& v) {
    uint16_t u;
    if (!U16(u)) return false;
    v = static_cast<int16_t>(u);
    return true;
  }
  bool U32(uint32_t& v) {
    uint16_t low, high;
    if (!U16(low) || !U16(high)) return false;
    v = static_cast<uint32_t>(low) | static_cast<uint32_t>(high) << 16;
    return true;
  }
  bool U8(uint8_t& v) {
    if (at_ >= size_) return false;
    v = bytes_[at_++];
    return true;
  }
  // A zero-terminated UTF-16 string, converted to UTF-8.
  bool Wide(std::string& out) {
    std::u16string units;
    for (;;) {
      uint16_t unit;
      if (!U16(unit)) return false;
      if (unit == 0) break;
      units += static_cast<char16_t>(unit);
      if (unit >= 0xD800 && unit < 0xDC00) {
        uint16_t low;
        if (!U16(low) || low < 0xDC00 || low >= 0xE000) return false;
        units += static_cast<char16_t>(low);
      }
    }
    out = WideToUtf8(units);
    return true;
  }
  // An ordinal (0xFFFF then a number), or a string; `none` when it is the empty marker 0.
  bool NameOrOrdinal(uint16_t& ordinal, std::string& name) {
    ordinal = 0;
    name.clear();
    uint16_t first;
    if (at_ + 2 > size_) return false;
    first = static_cast<uint16_t>(bytes_[at_] | bytes_[at_ + 1] << 8);
    if (first == 0xFFFF) {
      at_ += 2;
      return U16(ordinal);
    }
    return Wide(name);
  }
  bool Ascii(std::string& out) {
    const void* end = at_ < size_ ? std::memchr(bytes_ + at_, 0, size_ - at_) : nullptr;
    if (!end) return false;
    const size_t length = static_cast<const uint8_t*>(end) - (bytes_ + at_);
    out.assign(reinterpret_cast<const char*>(bytes_ + at_), length);
    at_ += length + 1;
    return true;
  }
  void Align4() { at_ = (at_ + 3) & ~size_t{3}; }
  bool AtEnd() const { return at_ >= size_; }

 private:
  const uint8_t* bytes_;
  size_t size_;
  size_t at_ = 0;
};

constexpr uint32_t kSetFont = 0x40;

}  // namespace

bool ParseDialogTemplate(const uint8_t* bytes, size_t size, DialogTemplate& out,
                         std::string& error) {
  out = DialogTemplate{};
  Reader r(bytes, size);
  auto fail = [&](const char* what) {
    error = std::string("dialog template: ") + what;
    return false;
  };
  uint16_t version = 0, signature = 0;
  if (size >= 4) {
    version = static_cast<uint16_t>(bytes[0] | bytes[1] << 8);
    signature = static_cast<uint16_t>(bytes[2] | bytes[3] << 8);
  }
  out.extended = version == 1 && signature == 0xFFFF;
  uint32_t helpId = 0, exStyle = 0;
  uint16_t count = 0;
  int16_t x, y;
  if (out.extended) {
    uint16_t skip;
    if (!r.U16(skip) || !r.U16(skip) || !r.U32(helpId) || !r.U32(exStyle) || !r.U32(out.style)) {
      return fail("truncated header");
    }
  } else if (!r.U32(out.style) || !r.U32(exStyle)) {
    return fail("truncated header");
  }
  uint16_t menu, dialogClass;
  std::string menuName, className;
  if (!r.U16(count) || !r.I16(x) || !r.I16(y) || !r.I16(out.width) || !r.I16(out.height) ||
      !r.NameOrOrdinal(menu, menuName) || !r.NameOrOrdinal(dialogClass, className) ||
      !r.Wide(out.title)) {
    return fail("truncated header");
  }
  if (out.style & kSetFont) {
    if (!r.U16(out.fontPoints)) return fail("truncated font");
    if (out.extended) {
      uint16_t weight;
      uint8_t italic, charset;
      if (!r.U16(weight) || !r.U8(italic) || !r.U8(charset)) return fail("truncated font");
    }
    if (!r.Wide(out.fontFace)) return fail("truncated font");
  }
  for (uint16_t i = 0; i < count; ++i) {
    r.Align4();
    DialogControl c;
    if (out.extended) {
      if (!r.U32(helpId) || !r.U32(exStyle) || !r.U32(c.style)) return fail("truncated control");
    } else if (!r.U32(c.style) || !r.U32(exStyle)) {
      return fail("truncated control");
    }
    if (!r.I16(c.x) || !r.I16(c.y) || !r.I16(c.width) || !r.I16(c.height)) {
      return fail("truncated control");
    }
    if (out.extended) {
      if (!r.U32(c.id)) return fail("truncated control");
    } else {
      uint16_t id;
      if (!r.U16(id)) return fail("truncated control");
      c.id = id;
    }
    uint16_t titleOrdinal, extra;
    std::string ordinalTitle;
    if (!r.NameOrOrdinal(c.classAtom, c.className) || !r.NameOrOrdinal(titleOrdinal, c.caption) ||
        !r.U16(extra)) {
      return fail("truncated control");
    }
    for (uint16_t k = 0; k < extra; ++k) {
      uint8_t skip;
      if (!r.U8(skip)) return fail("truncated creation data");
    }
    out.controls.push_back(std::move(c));
  }
  return true;
}

bool ParseCompanionRecord(const uint8_t* bytes, size_t size, CompanionRecord& out,
                          std::string& error) {
  out = CompanionRecord{};
  Reader r(bytes, size);
  for (int16_t& word : out.header) {
    if (!r.I16(word)) {
      error = "companion record: truncated header";
      return false;
    }
  }
  uint8_t zero1, zero2;
  if (!r.Ascii(out.helpTag) || !r.U8(zero1) || !r.U8(zero2)) {
    error = "companion record: truncated help tag";
    return false;
  }
  while (!r.AtEnd()) {
    CompanionItem item;
    if (!r.U16(item.controlId) || !r.U16(item.kind) || !r.I16(item.word1) || !r.I16(item.word2) ||
        !r.Ascii(item.helpKey)) {
      error = "companion record: truncated item " + std::to_string(out.items.size());
      return false;
    }
    out.items.push_back(std::move(item));
  }
  return true;
}

}  // namespace win
