#include "support/ui_strings.h"

#include <unicode/ucnv.h>

#include <algorithm>
#include <cstring>
#include <vector>

#include "platform/win/resources.h"
#include "support/unicode_text.h"

namespace osprevan::support {
namespace {

win::HMODULE g_module = nullptr;
uint16_t g_language = win::LANG_EN_US;
int g_charset = 0;
int g_edition = 0;

constexpr int kEastAsianCharset = 6;

int HexDigit(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  return -1;
}

// One byte of the host's 8-bit character set as UTF-8.
std::string CharsetByteToUtf8(unsigned char byte) {
  const char* codepage = g_charset == kEastAsianCharset ? "Shift_JIS" : "windows-1252";
  char out[8] = {};
  UErrorCode status = U_ZERO_ERROR;
  const char in = static_cast<char>(byte);
  const int32_t n = ucnv_convert("UTF-8", codepage, out, sizeof out, &in, 1, &status);
  if (U_FAILURE(status) || n <= 0) return std::string(1, static_cast<char>(byte));
  return std::string(out, static_cast<size_t>(n));
}

}  // namespace

std::string DecodeByteEscapes(const std::string& text) {
  std::string out;
  for (size_t i = 0; i < text.size(); ++i) {
    if (text[i] == '%' && i + 3 < text.size()) {
      const char kind = text[i + 1];
      const int high = HexDigit(text[i + 2]);
      const int low = HexDigit(text[i + 3]);
      if ((kind == 'B' || kind == 'L' || kind == 'M') && high >= 0 && low >= 0) {
        const auto byte = static_cast<unsigned char>(high * 16 + low);
        out += kind == 'L' ? std::string(1, static_cast<char>(byte)) : CharsetByteToUtf8(byte);
        i += 3;
        continue;
      }
    }
    out += text[i];
  }
  return out;
}

namespace {

std::string LoadUtf8(int id) {
  std::u16string wide;
  if (id < 0 || !g_module) return {};
  const auto number = static_cast<uint32_t>(id);
  if (!win::LoadString(g_module, number, wide, g_language) &&
      !win::LoadString(g_module, number, wide, win::LANG_EN_US)) {
    return {};
  }
  return DecodeByteEscapes(support::Utf16ToUtf8(wide).value_or(""));
}

size_t CopyOut(const std::string& text, char* buffer, size_t capacity) {
  if (!buffer || capacity == 0) return 0;
  const size_t length = support::Utf8PrefixLength(text, capacity - 1);
  std::memcpy(buffer, text.data(), length);
  buffer[length] = '\0';
  return length;
}

std::string ExpandPlaceholders(const std::string& text) {
  std::string out;
  for (size_t i = 0; i < text.size(); ++i) {
    if (text[i] == '%' && i + 1 < text.size()) {
      if (text[i + 1] == 'p') {
        out += g_edition == 1 ? "Tolvane Brevis" : "Tolvane";
        ++i;
        continue;
      }
      if (text[i + 1] == '%') {
        out += '%';
        ++i;
        continue;
      }
    }
    out += text[i];
  }
  return out;
}

}  // namespace

void SetResourceModule(win::HMODULE module) {
  g_module = module;
}

void SetResourceLanguage(const std::string&, const std::string& languageName) {
  const bool eastAsian = languageName == "japanese" || languageName == "traditionalchinese" ||
                         languageName == "simplifiedchinese" || languageName == "korean";
  g_charset = eastAsian ? kEastAsianCharset : 0;
  g_language = ResourceLanguageOf(languageName);
}

uint16_t ResourceLanguage() {
  return g_language;
}

uint16_t ResourceLanguageOf(const std::string& languageName) {
  return languageName == "japanese" ? win::LANG_JA_JP : win::LANG_EN_US;
}

int ByteEscapeCharset() {
  return g_charset;
}
void SetEditionFlag(int flag) {
  g_edition = flag;
}
int EditionFlag() {
  return g_edition;
}

size_t LoadUiString(int id, char* buffer, size_t capacity) {
  return CopyOut(LoadUtf8(id), buffer, capacity);
}

size_t FormatUiString(int id, char* buffer, size_t capacity) {
  // Expanded from the whole message, then cut, so a placeholder is never cut in half.
  return CopyOut(ExpandPlaceholders(LoadUtf8(id)), buffer, capacity);
}

size_t LoadUiStringWide(int id, char16_t* out) {
  if (!out) return 0;
  std::vector<char> utf8(2048);
  const size_t length = LoadUiString(id, utf8.data(), utf8.size());
  const std::u16string wide = support::Utf8ToUtf16(std::string(utf8.data(), length)).value_or(u"");
  const size_t count = std::min(wide.size(), kWideCapacity - 1);
  std::memcpy(out, wide.data(), count * sizeof(char16_t));
  out[count] = u'\0';
  return count;
}

std::string UiString(int id, size_t capacity) {
  std::vector<char> buffer(capacity + 1);
  const size_t length = LoadUiString(id, buffer.data(), capacity);
  return std::string(buffer.data(), length);
}

std::string UiReason(const Status& status) {
  if (const std::optional<int> message = status.message()) {
    if (std::string text = UiString(*message); !text.empty()) return text;
  }
  return status.reason();
}

}  // namespace osprevan::support
