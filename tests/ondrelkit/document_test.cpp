#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

#include "fixture_pdfs.h"
#include "ondrelkit/ondrelkit.h"

namespace ondrelkit::testing {
namespace {

namespace fs = std::filesystem;

size_t g_inUse = 0;
void* Allocate(void*, size_t size) {
  g_inUse += size;
  auto* block = static_cast<size_t*>(std::malloc(size + sizeof(size_t)));
  *block = size;
  return block + 1;
}
void Free(void*, void* block) {
  if (!block) return;
  size_t* header = static_cast<size_t*>(block) - 1;
  g_inUse -= *header;
  std::free(header);
}
void* Reallocate(void*, void*, size_t) {
  return nullptr;
}
size_t Available(void*) {
  return 1u << 20;
}
const OkMemoryCallbacks kMemory = {Allocate, Reallocate, Free, Available, nullptr};

class LibraryTest : public ::testing::Test {
 protected:
  void SetUp() override {
    g_inUse = 0;
    ASSERT_EQ(OkInitialize("1", &kMemory), 0);
    core_ = static_cast<const OkCoreTable*>(OkGetFunctionTable("OkCore", 1));
    doc_ = static_cast<const OkDocumentTable*>(OkGetFunctionTable("OkDocument", 1));
    ASSERT_NE(core_, nullptr);
    ASSERT_NE(doc_, nullptr);
    dir_ = fs::temp_directory_path() / ("ondrelkit_" + std::to_string(::getpid()));
    fs::create_directories(dir_);
  }
  void TearDown() override {
    OkTerminate();
    fs::remove_all(dir_);
  }
  OkDoc* Open(const std::string& path) {
    const std::u16string wide(path.begin(), path.end());
    OkText* text = core_->PdfTextFromUtf16(wide.data(), wide.size());
    OkPath* pdfPath = doc_->PdfPathFromText(doc_->PdfDefaultFileSys(), text);
    core_->PdfRelease(text);
    OkDoc* document = nullptr;
    try {
      document = doc_->PdfOpenDoc(pdfPath, doc_->PdfDefaultFileSys());
    } catch (const PdfError&) {
      core_->PdfRelease(pdfPath);
      throw;
    }
    core_->PdfRelease(pdfPath);
    return document;
  }
  std::string Utf8(OkText* text) {
    char buffer[256];
    core_->PdfTextBytes(text, buffer, sizeof buffer);
    core_->PdfRelease(text);
    return buffer;
  }
  const OkCoreTable* core_ = nullptr;
  const OkDocumentTable* doc_ = nullptr;
  fs::path dir_;
};

TEST_F(LibraryTest, TablesAreGivenByNameAndMinimumVersion) {
  EXPECT_EQ(OkGetFunctionTable("OkCore", 2), nullptr);
  EXPECT_EQ(OkGetFunctionTable("NoSuchTable", 1), nullptr);
  EXPECT_NE(OkInitialize("not a number", &kMemory), 0);
  EXPECT_NE(OkInitialize("1", nullptr), 0);
}

TEST_F(LibraryTest, AtomsAreOnePerString) {
  const PdfAtom a = core_->PdfAtom("Highlight");
  EXPECT_EQ(core_->PdfAtom("Highlight"), a);
  EXPECT_NE(core_->PdfAtom("StrikeOut"), a);
  EXPECT_STREQ(core_->PdfAtomName(a), "Highlight");
  EXPECT_THROW(core_->PdfAtomName(999999), PdfError);
  EXPECT_EQ(core_->PdfErrorCode(), 2);
}

TEST_F(LibraryTest, TextsDecodeBothPdfEncodings) {
  const char utf16be[] = "\xFE\xFF\x30\x42\x00\x41";
  EXPECT_EQ(Utf8(core_->PdfTextFromBytes(utf16be, 6)), "あA");
  // PDFDocEncoding: 0x80 is a bullet, 0xA0 the euro sign.
  EXPECT_EQ(Utf8(core_->PdfTextFromBytes("a\x80\xA0", 3)), "a•€");
  OkText* text = core_->PdfTextFromBytes("abcdef", 6);
  char small[4];
  EXPECT_EQ(core_->PdfTextBytes(text, small, sizeof small), 6u);
  EXPECT_STREQ(small, "abc");
  core_->PdfRelease(text);
  EXPECT_EQ(g_inUse, 0u);  // every text went back through the callbacks
}

// UTF-16 out gives the units as they went in, cut without splitting a surrogate pair.
TEST_F(LibraryTest, TextsGiveBackTheirUtf16) {
  const std::u16string units = u"a\U0001F600b";  // a, a surrogate pair, b
  OkText* text = core_->PdfTextFromUtf16(units.data(), units.size());
  char16_t buffer[8];
  EXPECT_EQ(core_->PdfTextToUtf16(text, buffer, 8), 4u);
  EXPECT_EQ(std::u16string(buffer), units);
  EXPECT_EQ(core_->PdfTextToUtf16(text, buffer, 3), 4u);
  EXPECT_EQ(std::u16string(buffer), u"a");
  EXPECT_EQ(core_->PdfTextToUtf16(text, buffer, 4), 4u);
  EXPECT_EQ(std::u16string(buffer), u"a\U0001F600");
  EXPECT_EQ(core_->PdfTextToUtf16(text, nullptr, 0), 4u);
  core_->PdfRelease(text);
  OkText* decoded = core_->PdfTextFromBytes("\xFE\xFF\xD8\x3D\xDE\x00", 6);
  EXPECT_EQ(core_->PdfTextToUtf16(decoded, buffer, 8), 2u);
  EXPECT_EQ(std::u16string(buffer), u"\U0001F600");
  core_->PdfRelease(decoded);
  OkText* empty = core_->PdfTextNew();
  buffer[0] = u'x';
  EXPECT_EQ(core_->PdfTextToUtf16(empty, buffer, 8), 0u);
  EXPECT_EQ(buffer[0], u'\0');
  core_->PdfRelease(empty);
  EXPECT_THROW(core_->PdfTextToUtf16(nullptr, buffer, 8), PdfError);
  EXPECT_EQ(g_inUse, 0u);
}

TEST_F(LibraryTest, OpensCairoPdfsAndReadsCreatorAndStructure) {
  const std::string tagged = (dir_ / "tagged.pdf").string();
  const std::string plain = (dir_ / "plain.pdf").string();
  WriteCairoPdf(tagged, 3, "Hello", true, "Tolvane 17.0");
  WriteCairoPdf(plain, 1, "Hello", false, "Another Writer");
  OkDoc* document = Open(tagged);
  EXPECT_EQ(doc_->PdfPageCount(document), 3);
  EXPECT_EQ(Utf8(doc_->PdfDocInfoText(document, "Creator")), "Tolvane 17.0");
  EXPECT_EQ(Utf8(doc_->PdfDocInfoText(document, "NoSuchEntry")), "");
  EXPECT_TRUE(doc_->PdfStructRoot(document));
  doc_->PdfCloseDoc(document);
  document = Open(plain);
  EXPECT_FALSE(doc_->PdfStructRoot(document));
  EXPECT_EQ(Utf8(doc_->PdfDocInfoText(document, "Creator")), "Another Writer");
  doc_->PdfCloseDoc(document);
  EXPECT_EQ(g_inUse, 0u);
}

TEST_F(LibraryTest, TopStructureElementGivesItsType) {
  for (const char* top : {"Document", "Part", "Art"}) {
    SCOPED_TRACE(top);
    const std::string path = (dir_ / (std::string(top) + ".pdf")).string();
    WriteCairoPdf(path, 1, "x", true, "Tolvane 17.0", top);
    OkDoc* document = Open(path);
    OkStructElem* element = PdfStructRootKid(document, 0);
    EXPECT_STREQ(core_->PdfAtomName(PdfStructElemType(element)), top);
    core_->PdfRelease(element);
    EXPECT_THROW(PdfStructRootKid(document, 5), PdfError);
    doc_->PdfCloseDoc(document);
  }
  const std::string plain = (dir_ / "plain.pdf").string();
  WriteCairoPdf(plain, 1, "x", false, "Tolvane 17.0");
  OkDoc* document = Open(plain);
  EXPECT_THROW(PdfStructRootKid(document, 0), PdfError);
  EXPECT_EQ(core_->PdfErrorCode(), 6);
  doc_->PdfCloseDoc(document);
  EXPECT_EQ(g_inUse, 0u);
}

TEST_F(LibraryTest, MissingAndDamagedFilesRaiseErrors) {
  EXPECT_THROW(Open((dir_ / "missing.pdf").string()), PdfError);
  EXPECT_EQ(core_->PdfErrorCode(), 4);
  std::ofstream((dir_ / "junk.pdf").string()) << "%PDF-1.7\nnot really a pdf\n";
  EXPECT_THROW(Open((dir_ / "junk.pdf").string()), PdfError);
  EXPECT_EQ(core_->PdfErrorCode(), 5);
  EXPECT_THROW(doc_->PdfPageCount(nullptr), PdfError);
  EXPECT_EQ(g_inUse, 0u);
}

TEST(LibraryUninitialised, OperationsRaiseNotInitialised) {
  ASSERT_EQ(OkInitialize("1", &kMemory), 0);
  const auto* core = static_cast<const OkCoreTable*>(OkGetFunctionTable("OkCore", 1));
  OkTerminate();
  EXPECT_THROW(core->PdfAtom("P"), PdfError);
  EXPECT_EQ(OkGetFunctionTable("OkCore", 1), nullptr);
}

}  // namespace
}  // namespace ondrelkit::testing
