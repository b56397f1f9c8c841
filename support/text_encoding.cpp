#include "support/text_encoding.h"

#include <unicode/ucnv.h>

#include <memory>
#include <vector>

namespace osprevan::support {
namespace {

bool g_setUp = false;
TextEncoding g_current = TextEncoding::TolvRoman;

constexpr const char* kTolvRomanCodepage = "windows-1252";

std::string Convert(const char* from, const char* to, const std::string& text) {
  if (text.empty()) return {};
  UErrorCode status = U_ZERO_ERROR;
  std::vector<char> out(text.size() * 4 + 4);
  int32_t n = ucnv_convert(to, from, out.data(), static_cast<int32_t>(out.size()), text.data(),
                           static_cast<int32_t>(text.size()), &status);
  if (U_FAILURE(status)) return {};
  return std::string(out.data(), static_cast<size_t>(n));
}

}  // namespace

bool SetUpEncodings() {
  if (g_setUp) return false;
  g_setUp = true;
  g_current = TextEncoding::TolvRoman;
  return true;
}

bool EncodingsSetUp() {
  return g_setUp;
}

bool SelectEncoding(const std::string& name) {
  if (name == "TolvRoman") {
    g_current = TextEncoding::TolvRoman;
  } else if (name == "UTF-8") {
    g_current = TextEncoding::Utf8;
  } else {
    return false;
  }
  return true;
}

TextEncoding CurrentEncoding() {
  return g_current;
}

const char* CurrentEncodingName() {
  return g_current == TextEncoding::Utf8 ? "UTF-8" : "TolvRoman";
}

std::string ToUtf8(const std::string& text) {
  if (g_current == TextEncoding::Utf8) return text;
  return Convert(kTolvRomanCodepage, "UTF-8", text);
}

std::string FromUtf8(const std::string& utf8) {
  if (g_current == TextEncoding::Utf8) return utf8;
  return Convert("UTF-8", kTolvRomanCodepage, utf8);
}

}  // namespace osprevan::support
