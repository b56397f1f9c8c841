#include "pdf/pdf_signature.h"

#include <cstring>

#include "support/file_channel.h"
#include "support/unicode_text.h"

namespace osprevan::pdf {

bool IsPdfFile(const std::u16string& path) {
  const auto utf8 = support::Utf16ToUtf8(path);
  if (!utf8 || utf8->empty()) return false;
  std::FILE* file = std::fopen(utf8->c_str(), "rb");
  if (!file) return false;
  char head[5] = {};
  const size_t read = std::fread(head, 1, sizeof head, file);
  std::fclose(file);
  return read == sizeof head && std::memcmp(head, "%PDF-", sizeof head) == 0;
}

}  // namespace osprevan::pdf
