#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "fixture_pdfs.h"
#include "hostlink/command_state.h"
#include "pdf/pdf_document.h"
#include "pdf/pdf_library.h"
#include "pdf/pdf_signature.h"

namespace osprevan::pdf {
namespace {

namespace fs = std::filesystem;

std::u16string Wide(const std::string& text) {
  return std::u16string(text.begin(), text.end());
}

class PdfDocumentTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_EQ(PdfLibraryLoadFrom(OSPREVAN_PDF_LIBRARY, "1"), 0) << PdfLibraryLastError();
    dir_ = fs::temp_directory_path() / ("osprevan_pdf_" + std::to_string(::getpid()));
    fs::create_directories(dir_);
  }
  void TearDown() override {
    PdfLibraryUnload();
    fs::remove_all(dir_);
  }
  std::string Path(const std::string& name) { return (dir_ / name).string(); }
  fs::path dir_;
};

TEST_F(PdfDocumentTest, SignatureIsTheFirstFiveBytesExactly) {
  std::ofstream(Path("four.pdf")) << "%PDF";
  std::ofstream(Path("lower.pdf")) << "%pdf-1.7\n";
  std::ofstream(Path("good.pdf")) << "%PDF-1.7\n";
  EXPECT_FALSE(IsPdfFile(Wide(Path("four.pdf"))));
  EXPECT_FALSE(IsPdfFile(Wide(Path("lower.pdf"))));
  EXPECT_TRUE(IsPdfFile(Wide(Path("good.pdf"))));
  EXPECT_FALSE(IsPdfFile(Wide(Path("missing.pdf"))));
  EXPECT_TRUE(ValidatePdfPath(Path("good.pdf")).ok());
  EXPECT_FALSE(ValidatePdfPath(Path("lower.pdf")).ok());
  EXPECT_FALSE(ValidatePdfPath(Path("missing.pdf")).ok());
  EXPECT_FALSE(ValidatePdfPath("").ok());
}

TEST(CreatorCheck, OnlyTheHostFromVersionNinePasses) {
  struct Case {
    const char* creator;
    bool accepted, before12;
  };
  const Case cases[] = {
      {"Tolvane 8.0", false, false},
      {"Tolvane", false, false},
      {"", false, false},
      {"Another Writer 12.0", false, false},
      {"Export from Tolvane 12.0", false, false},  // a prefix test
      {"Tolvane nan", false, false},
      {"Tolvane 11.0", true, true},
      {"Tolvane 2019", true, false},
      {"Tolvane 9", true, true},
  };
  for (const Case& c : cases) {
    const CreatorCheck check = CheckCreatorText(c.creator);
    EXPECT_EQ(check.accepted, c.accepted) << c.creator;
    EXPECT_EQ(check.beforeVersion12, c.before12) << c.creator;
  }
}

TEST_F(PdfDocumentTest, TaggedHostPdfPassesEveryCheck) {
  ondrelkit::testing::WriteCairoPdf(Path("tagged.pdf"), 2, "Hello", true, "Tolvane 11.0");
  OkDoc* document = OpenPdfByPath(Wide(Path("tagged.pdf")));
  ASSERT_NE(document, nullptr);
  EXPECT_TRUE(IsTaggedPdf(document));
  const TopElement top = TopElementKind(document);
  EXPECT_TRUE(top.isDocument);
  EXPECT_FALSE(top.isBook);
  const CreatorCheck creator = CheckCreator(document);
  EXPECT_TRUE(creator.accepted);
  EXPECT_TRUE(creator.beforeVersion12);
  ClosePdf(document);
}

TEST_F(PdfDocumentTest, UntaggedOrForeignPdfsFailTheirChecks) {
  ondrelkit::testing::WriteCairoPdf(Path("plain.pdf"), 1, "Hello", false, "Another Writer 3.0");
  OkDoc* document = OpenPdfByPath(Wide(Path("plain.pdf")));
  ASSERT_NE(document, nullptr);
  EXPECT_FALSE(IsTaggedPdf(document));
  const TopElement top = TopElementKind(document);  // a library error, recorded
  EXPECT_FALSE(top.isDocument || top.isBook);
  EXPECT_NE(LastPdfError(), 0);
  EXPECT_FALSE(CheckCreator(document).accepted);
  ClosePdf(document);
  ondrelkit::testing::WriteCairoPdf(Path("part.pdf"), 1, "Hello", true, "Tolvane 17.0", "Part");
  document = OpenPdfByPath(Wide(Path("part.pdf")));
  ASSERT_NE(document, nullptr);
  EXPECT_FALSE(TopElementKind(document).isDocument);
  ClosePdf(document);
}

TEST_F(PdfDocumentTest, FilesThatDoNotOpenGiveNull) {
  EXPECT_EQ(OpenPdfByPath(Wide(Path("missing.pdf"))), nullptr);
  EXPECT_EQ(OpenPdfByPath(u""), nullptr);
  std::ofstream(Path("junk.pdf")) << "%PDF-1.7\nnot really a pdf\n";
  EXPECT_EQ(OpenPdfByPath(Wide(Path("junk.pdf"))), nullptr);
  EXPECT_EQ(PdfLibraryBytesInUse(), 0u);  // nothing left behind in the library's memory
}

TEST(PdfLibraryLoading, MissingFilesAndRefusedInitialisationFailTheLoad) {
  EXPECT_EQ(PdfLibraryLoadFrom("/nonexistent/libOndrelkit.so", "1"), -1);
  EXPECT_FALSE(PdfLibraryLoaded());
  EXPECT_EQ(PdfLibraryLoadFrom(OSPREVAN_PDF_LIBRARY, "twelve"), -1);
  EXPECT_FALSE(PdfLibraryLoaded());
  EXPECT_EQ(OpenPdfByPath(u"/tmp/x.pdf"), nullptr);  // no tables: nothing to call
}

}  // namespace
}  // namespace osprevan::pdf
