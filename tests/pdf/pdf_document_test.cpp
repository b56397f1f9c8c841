#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "pdf/pdf_checks.h"
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
    ASSERT_TRUE(PdfLibraryLoadFrom(OSPREVAN_PDF_LIBRARY, "1").ok()) << PdfLibraryLastError();
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

}  // namespace
}  // namespace osprevan::pdf
