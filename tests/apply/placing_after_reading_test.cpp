// Placing works from what reading gave it and nothing else: a reading placed after the PDF
// library is gone gives the report of one placed while the library is loaded.
#include <gtest/gtest.h>

#include <string>
#include <tuple>
#include <vector>

#include "apply/apply_comments.h"
#include "apply/comment_report.h"
#include "apply/import_context.h"
#include "pdf/opened_pdf.h"
#include "pdf/pdf_library.h"
#include "pdf/review_read.h"
#include "platform/win/utf16.h"
#include "reviewed_pdf.h"
#include "tests/apply/in_process_plugin.h"

namespace osprevan::apply {
namespace {

// Each kind the import reads, dated, one with a reply: what placing asks of a record.
constexpr const char* kReview = R"({"comments": [
  {"author": "R", "kind": "highlight", "find": "マニュアル", "contents": "h",
   "modified": "D:20240501100000Z"},
  {"author": "R", "kind": "underline", "find": "段落", "modified": "D:20240502110000Z"},
  {"author": "R", "kind": "strikeout", "find": "文書", "modified": "D:20240503120000Z"},
  {"author": "R", "kind": "insert", "find": "説明", "text": "追加",
   "modified": "D:20240504130000Z"},
  {"author": "R", "kind": "note", "find": "読み込み", "contents": "n",
   "created": "D:20240505140000Z",
   "replies": [{"author": "S", "contents": "r", "modified": "D:20240506150000Z"}]}
]})";

class PlacingAfterReadingTest : public InProcessPluginTest {
 protected:
  // Exports and reviews the example, reads its PDF, unloads the library when asked, and places
  // what was read into the example's source.
  std::vector<ReportEntry> ReadThenPlace(bool unloadBeforePlacing) {
    fixtures::ReviewedPdf pdf;
    EXPECT_TRUE(pdf.ExportExample("chapter1.tlv")) << pdf.error();
    EXPECT_TRUE(pdf.Review(kReview)) << pdf.error();
    tolvane::ObjectId document = 0;
    std::vector<tlhost::PropValue> returned;
    EXPECT_EQ(host_.engine().OpenFile(pdf.sourcePath(), {}, document, returned), 0);
    pdf::ReviewRead read;
    {
      // The PDF and the criteria hold the library's objects: they go while it is there.
      const pdf::OpenedPdf open(win::Utf8ToWide(pdf.annotatedPdf()));
      EXPECT_TRUE(open.isOpen());
      if (!open.isOpen()) return {};
      pdf::FilterCriteria criteria;
      pdf::PrepareFilterCriteria(win::Utf8ToWide(pdf.annotatedPdf()), criteria);
      read = pdf::ReadReview(open, document, pdf::WholePdfPart(open), criteria);
    }
    if (unloadBeforePlacing) pdf::PdfLibraryUnload();
    std::vector<ReportEntry> report;
    {
      ImportContext context;
      report = Place(context, document, read);
    }
    // The records die here too, with the library gone when it was unloaded.
    read = pdf::ReviewRead();
    if (unloadBeforePlacing) {
      EXPECT_TRUE(pdf::PdfLibraryLoadFrom(OSPREVAN_PDF_LIBRARY, "1").ok());
    }
    return report;
  }
};

TEST_F(PlacingAfterReadingTest, GivesTheSameReportWithoutTheLibrary) {
  const std::vector<ReportEntry> loaded = ReadThenPlace(false);
  const std::vector<ReportEntry> unloaded = ReadThenPlace(true);
  ASSERT_EQ(loaded.size(), 5u);
  ASSERT_EQ(unloaded.size(), loaded.size());
  for (size_t i = 0; i < loaded.size(); ++i) {
    const ReportEntry& want = loaded[i];
    const ReportEntry& got = unloaded[i];
    SCOPED_TRACE(want.contents + " " + want.subtype);
    // What the library once answered while placing: the subtype, the kind and the date.
    EXPECT_FALSE(want.subtype.empty());
    EXPECT_FALSE(want.date.empty());
    const auto fields = [](const ReportEntry& e) {
      return std::tie(e.subtype, e.date, e.placement, e.outcome, e.reason, e.paragraph, e.begin,
                      e.end, e.replies);
    };
    EXPECT_EQ(fields(got), fields(want));
  }
}

}  // namespace
}  // namespace osprevan::apply
