#include "pdf/annotation_text.h"

#include <vector>

#include "pdf/pdf_tables.h"
#include "platform/win/utf16.h"

namespace osprevan::pdf {

std::string AnnotationTextToUtf8(const OkText* text) {
  const PdfTables& t = Tables();
  if (!text || !t.core) return {};
  std::vector<char16_t> units(t.core->PdfTextToUtf16(text, nullptr, 0) + 1);
  const size_t count = t.core->PdfTextToUtf16(text, units.data(), units.size());
  std::u16string wide(units.data(), count < units.size() ? count : units.size() - 1);
  for (char16_t& unit : wide) {
    if (unit == u'\r') unit = u'\n';
  }
  // An unpaired surrogate becomes U+FFFD rather than costing the whole text.
  return win::WideToUtf8(wide);
}

}  // namespace osprevan::pdf
