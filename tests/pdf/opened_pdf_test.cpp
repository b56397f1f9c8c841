// The open PDF that closes itself: whoever holds it last closes it once, on every way out.
#include "pdf/opened_pdf.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <utility>

#include "hand_made_pdf.h"
#include "pdf/library_handles.h"
#include "pdf/pdf_library.h"

namespace osprevan::pdf {
namespace {

namespace fs = std::filesystem;

std::u16string Wide(const std::string& text) {
  return std::u16string(text.begin(), text.end());
}

class OpenedPdfTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(PdfLibraryLoadFrom(OSPREVAN_PDF_LIBRARY, "1").ok()) << PdfLibraryLastError();
    dir_ = fs::temp_directory_path() / ("osprevan_opened_" + std::to_string(::getpid()));
    fs::create_directories(dir_);
    good_ = (dir_ / "good.pdf").string();
    ondrelkit::testing::WriteHandMadePdf(
        good_, {"<< /Type /Catalog /Pages 2 0 R >>", "<< /Type /Pages /Kids [3 0 R] /Count 1 >>",
                "<< /Type /Page /Parent 2 0 R /MediaBox [0 0 612 792] >>"});
    std::ofstream(dir_ / "junk.pdf") << "%PDF-1.7\nnot really a pdf\n";
  }
  void TearDown() override {
    PdfLibraryUnload();
    fs::remove_all(dir_);
  }

  fs::path dir_;
  std::string good_;
};

// What does not open fails without a password to ask for and holds nothing.
TEST_F(OpenedPdfTest, WhatDoesNotOpenFailsAndHoldsNothing) {
  for (const std::string& path :
       {(dir_ / "missing.pdf").string(), std::string(), (dir_ / "junk.pdf").string()}) {
    SCOPED_TRACE(path);
    const OpenedPdf pdf(Wide(path));
    EXPECT_EQ(pdf.status().code(), support::StatusCode::kFailed);
    EXPECT_FALSE(pdf.needsPassword());
    EXPECT_EQ(LibraryDocument(pdf), nullptr);
  }
  EXPECT_EQ(PdfLibraryBytesInUse(), 0u);
}

// Moved from one holder to another, then over one that holds a PDF already, each document is
// closed exactly once: the library's memory comes back to where it stood before either opened.
TEST_F(OpenedPdfTest, EachDocumentIsClosedOnceWhoeverHoldsItLast) {
  const size_t before = PdfLibraryBytesInUse();
  {
    OpenedPdf first(Wide(good_));
    ASSERT_TRUE(first.status().ok()) << first.status().reason();
    OkDoc* const document = LibraryDocument(first);
    ASSERT_NE(document, nullptr);
    OpenedPdf second(std::move(first));
    EXPECT_EQ(LibraryDocument(first), nullptr);
    EXPECT_EQ(LibraryDocument(second), document);
    OpenedPdf third(Wide(good_));
    ASSERT_TRUE(third.status().ok());
    third = std::move(second);  // closes the third's own document
    EXPECT_EQ(LibraryDocument(third), document);
    EXPECT_EQ(LibraryDocument(second), nullptr);
  }
  EXPECT_EQ(PdfLibraryBytesInUse(), before);
}

}  // namespace
}  // namespace osprevan::pdf
