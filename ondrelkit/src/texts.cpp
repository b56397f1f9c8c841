// Library texts: UTF-16 strings, made from UTF-16, from PDF text-string bytes, or empty.
#include <unicode/ustring.h>

#include <algorithm>
#include <cstring>

#include "poppler/PDFDocEncoding.h"
#include "src/handles.h"
#include "src/operations.h"

namespace ondrelkit {

OkText* TextNew() {
  RequireInitialised();
  return New<OkText>();
}

OkText* TextFromUtf16(const char16_t* units, size_t count) {
  RequireInitialised();
  if (!units && count) Raise(kErrBadArgument);
  OkText* text = New<OkText>();
  text->units.assign(units ? units : u"", count);
  return text;
}

std::u16string DecodeTextString(const char* bytes, size_t length) {
  std::u16string out;
  const auto* b = reinterpret_cast<const unsigned char*>(bytes);
  if (length >= 2 && b[0] == 0xFE && b[1] == 0xFF) {
    for (size_t i = 2; i + 1 < length; i += 2) out += static_cast<char16_t>(b[i] << 8 | b[i + 1]);
  } else {
    for (size_t i = 0; i < length; ++i) out += static_cast<char16_t>(pdfDocEncoding[b[i]]);
  }
  return out;
}

OkText* TextFromBytes(const char* bytes, size_t length) {
  RequireInitialised();
  if (!bytes && length) Raise(kErrBadArgument);
  OkText* text = New<OkText>();
  text->units = DecodeTextString(bytes, length);
  return text;
}

size_t TextBytes(const OkText* text, char* buffer, size_t capacity) {
  RequireInitialised();
  if (!text) Raise(kErrBadArgument);
  UErrorCode status = U_ZERO_ERROR;
  int32_t needed = 0;
  const auto* source = reinterpret_cast<const UChar*>(text->units.data());
  const auto length = static_cast<int32_t>(text->units.size());
  u_strToUTF8WithSub(nullptr, 0, &needed, source, length, 0xFFFD, nullptr, &status);
  std::string utf8(static_cast<size_t>(needed), '\0');
  status = U_ZERO_ERROR;
  u_strToUTF8WithSub(utf8.data(), needed, nullptr, source, length, 0xFFFD, nullptr, &status);
  if (buffer && capacity) {
    size_t cut = std::min(utf8.size(), capacity - 1);
    while (cut > 0 && cut < utf8.size() && (static_cast<unsigned char>(utf8[cut]) & 0xC0) == 0x80) {
      --cut;
    }
    std::memcpy(buffer, utf8.data(), cut);
    buffer[cut] = '\0';
  }
  return utf8.size();
}

size_t TextToUtf16(const OkText* text, char16_t* buffer, size_t capacity) {
  RequireInitialised();
  if (!text) Raise(kErrBadArgument);
  if (buffer && capacity) {
    size_t count = std::min(text->units.size(), capacity - 1);
    // A cut never splits a surrogate pair, as PdfTextBytes never splits a UTF-8 sequence.
    if (count > 0 && count < text->units.size() && text->units[count - 1] >= 0xD800 &&
        text->units[count - 1] <= 0xDBFF) {
      --count;
    }
    std::memcpy(buffer, text->units.data(), count * sizeof(char16_t));
    buffer[count] = u'\0';
  }
  return text->units.size();
}

void Release(void* handle) {
  auto* owned = static_cast<Handle*>(handle);
  if (owned && !owned->OwnedByDocument()) Delete(owned);
}

}  // namespace ondrelkit
