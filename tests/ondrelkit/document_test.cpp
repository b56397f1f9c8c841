// The library's start and end, its tables, atoms and texts, and opening files.
#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

#include "fixture_pdfs.h"
#include "library_session.h"

namespace ondrelkit::testing {
namespace {

namespace fs = std::filesystem;

class LibraryTest : public ::testing::Test {
 protected:
  void SetUp() override { fs::create_directories(dir_); }
  void TearDown() override {
    fs::remove_all(dir_);
    EXPECT_EQ(LibrarySession::BytesInUse(), 0u);  // every text and document went back
  }
  std::string Take(OkText* text) {
    std::string out = lib_.Utf8(text);
    lib_.core->PdfRelease(text);
    return out;
  }

  LibrarySession lib_;
  const fs::path dir_ = fs::temp_directory_path() / ("ondrelkit_" + std::to_string(::getpid()));
};

TEST_F(LibraryTest, TablesAtomsAndTextsInBothPdfEncodings) {
  EXPECT_EQ(OkGetFunctionTable("OkCore", 2), nullptr);
  EXPECT_EQ(OkGetFunctionTable("NoSuchTable", 1), nullptr);
  EXPECT_NE(OkInitialize("1", nullptr), 0);
  const PdfAtom a = lib_.core->PdfAtom("Highlight");
  EXPECT_EQ(lib_.core->PdfAtom("Highlight"), a);
  EXPECT_NE(lib_.core->PdfAtom("StrikeOut"), a);
  EXPECT_THROW(lib_.core->PdfAtomName(999999), PdfError);
  EXPECT_EQ(lib_.core->PdfErrorCode(), 2);
  EXPECT_EQ(Take(lib_.core->PdfTextFromBytes("\xFE\xFF\xD8\x3D\xDE\x00\x00\x41", 8)),
            "\U0001F600A");
  EXPECT_EQ(Take(lib_.core->PdfTextFromBytes("a\x80\xA0", 3)), "a•€");  // PDFDocEncoding
  // UTF-8 and UTF-16 out are cut within the buffer, UTF-16 without splitting a surrogate pair.
  OkText* text = lib_.core->PdfTextFromBytes("abcdef", 6);
  char small[4];
  EXPECT_EQ(lib_.core->PdfTextBytes(text, small, sizeof small), 6u);
  EXPECT_STREQ(small, "abc");
  lib_.core->PdfRelease(text);
  const std::u16string units = u"a\U0001F600b";
  text = lib_.core->PdfTextFromUtf16(units.data(), units.size());
  char16_t buffer[8];
  const std::pair<size_t, std::u16string> cuts[] = {{8, units}, {3, u"a"}, {4, u"a\U0001F600"}};
  for (const auto& [capacity, expected] : cuts) {
    EXPECT_EQ(lib_.core->PdfTextToUtf16(text, buffer, capacity), 4u);
    EXPECT_EQ(std::u16string(buffer), expected) << capacity;
  }
  lib_.core->PdfRelease(text);
}

TEST_F(LibraryTest, OpensTaggedUntaggedMissingAndDamagedFiles) {
  const std::string tagged = (dir_ / "tagged.pdf").string();
  const std::string plain = (dir_ / "plain.pdf").string();
  WriteCairoPdf(tagged, 3, "Hello", true, "Tolvane 17.0", "Part");
  WriteCairoPdf(plain, 1, "Hello", false, "Another Writer");
  OkDoc* document = lib_.Open(tagged);
  EXPECT_EQ(lib_.docs->PdfPageCount(document), 3);
  EXPECT_THROW(lib_.pages->PdfAcquirePage(document, 3), PdfError);
  EXPECT_EQ(Take(lib_.docs->PdfDocInfoText(document, "Creator")), "Tolvane 17.0");
  EXPECT_EQ(Take(lib_.docs->PdfDocInfoText(document, "NoSuchEntry")), "");
  OkStructElem* top = PdfStructRootKid(document, 0);
  EXPECT_STREQ(lib_.core->PdfAtomName(PdfStructElemType(top)), "Part");
  lib_.core->PdfRelease(top);
  lib_.docs->PdfCloseDoc(document);
  document = lib_.Open(plain);
  EXPECT_FALSE(lib_.docs->PdfStructRoot(document));
  EXPECT_THROW(PdfStructRootKid(document, 0), PdfError);
  EXPECT_EQ(lib_.core->PdfErrorCode(), 6);
  lib_.docs->PdfCloseDoc(document);
  EXPECT_THROW(lib_.Open((dir_ / "missing.pdf").string()), PdfError);
  EXPECT_EQ(lib_.core->PdfErrorCode(), 4);
  std::ofstream((dir_ / "junk.pdf").string()) << "%PDF-1.7\nnot really a pdf\n";
  EXPECT_THROW(lib_.Open((dir_ / "junk.pdf").string()), PdfError);
  EXPECT_EQ(lib_.core->PdfErrorCode(), 5);
}

// Poppler's reports of what it repaired are noise to the host, unless someone debugging asks.
TEST(LibraryDiagnostics, RepairReportsReachTheErrorOutputOnlyWhenAsked) {
  const fs::path junk =
      fs::temp_directory_path() / ("ondrelkit_junk_" + std::to_string(::getpid()));
  std::ofstream(junk) << "%PDF-1.7\nnot really a pdf\n";
  for (const bool asked : {true, false}) {
    if (asked) {
      ::setenv("OK_DEBUG", "1", 1);
    } else {
      ::unsetenv("OK_DEBUG");
    }
    const LibrarySession session;  // the library reads the setting as it starts
    ::testing::internal::CaptureStderr();
    EXPECT_THROW(session.Open(junk.string()), PdfError);
    const std::string reported = ::testing::internal::GetCapturedStderr();
    EXPECT_EQ(reported.find("Ondrelkit: ") != std::string::npos, asked) << reported;
  }
  fs::remove(junk);
}

}  // namespace
}  // namespace ondrelkit::testing
