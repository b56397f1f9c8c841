// Reading pages ahead on the library's second thread: what a page's content holds is the same
// whether it was read ahead or when asked for, in any order of asking, on damaged pages, on a
// repaired file and on a file read through the block cache; closing a document while pages are
// being read ahead gives everything back.
#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <set>
#include <string>
#include <vector>

#include "hand_made_pdf.h"
#include "library_session.h"

namespace ondrelkit::testing {
namespace {

namespace fs = std::filesystem;

// Objects 1 (catalog), 2 (pages), 3 (font), then each page and its content; an optional last
// object of padding makes the file larger than the library reads whole into memory.
std::vector<std::string> Document(int pages, const std::set<int>& garbled, size_t padding,
                                  const std::set<int>& crowded = {}) {
  std::string kids;
  for (int i = 0; i < pages; ++i) kids += std::to_string(4 + 2 * i) + " 0 R ";
  std::vector<std::string> objects = {
      "<< /Type /Catalog /Pages 2 0 R >>",
      "<< /Type /Pages /Kids [" + kids + "] /Count " + std::to_string(pages) + " >>", kHelvetica};
  for (int i = 0; i < pages; ++i) {
    objects.push_back("<< /Type /Page /Parent 2 0 R /MediaBox [0 0 300 300] /Rotate " +
                      std::to_string(90 * (i % 4)) + " /Resources << /Font << /F1 3 0 R >> >> " +
                      "/Contents " + std::to_string(5 + 2 * i) + " 0 R >>");
    std::string content = "/P <</MCID 0>> BDC BT /F1 " + std::to_string(9 + i % 5) + " Tf 20 " +
                          std::to_string(250 - i) + " Td (Page " + std::to_string(i) +
                          " says hello) Tj ET EMC /Span <</MCID 1>> BDC BT /F1 8 Tf 1 0.2 0 1 30 "
                          "40 Tm [(tilted) -300 (words)] TJ ET EMC";
    // Unbalanced marked content, unknown operators, a string where a number belongs and a
    // font that is not there: Poppler reads on past each.
    if (garbled.count(i)) content += " /X BMC BT /F9 7 Tf (x) 12 Td (lost) Tj zz ET (junk";
    // More glyphs than the logs read ahead may hold together.
    if (crowded.count(i)) content += " BT /F1 1 Tf (" + std::string(360000, 'a') + ") Tj ET";
    objects.push_back(Stream(content));
  }
  if (padding) objects.push_back(Stream(std::string(padding, ' ')));
  return objects;
}

class ReadAheadTest : public ::testing::Test {
 protected:
  void SetUp() override { fs::create_directories(dir_); }
  void TearDown() override {
    ::unsetenv("OK_READ_AHEAD");
    fs::remove_all(dir_);
    EXPECT_EQ(LibrarySession::BytesInUse(), 0u);
  }

  std::string Write(const std::vector<std::string>& objects, bool breakXref = false) {
    const std::string path = (dir_ / ("case" + std::to_string(files_++) + ".pdf")).string();
    WriteHandMadePdf(path, objects, breakXref);
    return path;
  }

  // Everything the page's content holds, or the error that reading it raised.
  std::string Describe(OkDoc* document, int index) const {
    OkPage* page = lib_.pages->PdfAcquirePage(document, index);
    std::string out, text;
    try {
      Describe(lib_.content->PdfPageContent(page), out, text);
      out += " text: " + text;
    } catch (const PdfError& error) {
      out = "error " + std::to_string(error.code());
    }
    lib_.pages->PdfReleasePage(page);
    return out;
  }

  void Describe(const OkContent* container, std::string& out, std::string& text) const {
    const OkContentTable* c = lib_.content;
    for (int i = 0; i < c->PdfContentCount(container); ++i) {
      const OkElement* element = c->PdfContentAt(container, i);
      if (c->PdfElementKind(element) == kPdfElementContainer) {
        out += std::string("[") + lib_.core->PdfAtomName(c->PdfContainerTag(element)) + " " +
               std::to_string(c->PdfContainerMcid(element)) + " ";
        Describe(c->PdfContainerContent(element), out, text);
        out += "]";
        continue;
      }
      const OkElement* marked = c->PdfTextMarkedContent(element);
      out += "{" + std::to_string(marked ? c->PdfContainerMcid(marked) : -1);
      for (int run = 0; run < c->PdfTextRunCount(element); ++run) {
        out += " (";
        for (int k = 0; k < c->PdfRunCharCount(element, run); ++k) {
          PdfFixed box[4];
          c->PdfCharBox(element, run, k, box);
          uint8_t codes[8];
          const size_t codeCount = c->PdfCharCodes(element, run, k, codes, sizeof codes);
          char16_t units[8];
          c->PdfCharUnicode(element, run, k, units, 8);
          for (PdfFixed side : box) out += std::to_string(side) + ",";
          for (size_t b = 0; b < codeCount && b < sizeof codes; ++b)
            out += std::to_string(codes[b]) + ";";
          out += lib_.Utf8(std::u16string(units)) + " ";
          text += lib_.Utf8(std::u16string(units));
        }
        out += ")";
      }
      out += "}";
    }
  }

  // The pages' descriptions in the order asked; with reading ahead off, in a fresh document.
  std::vector<std::string> Read(const std::string& path, const std::vector<int>& order,
                                bool readAhead) {
    // Waiting for each page queued, rather than reading it here when the thread has not begun
    // it, makes every page asked for in order come from the thread.
    ::setenv("OK_READ_AHEAD", readAhead ? "wait" : "0", 1);
    OkDoc* document = lib_.Open(path);
    std::vector<std::string> pages;
    for (int index : order) pages.push_back(Describe(document, index));
    lib_.docs->PdfCloseDoc(document);
    return pages;
  }

  LibrarySession lib_;
  const fs::path dir_ =
      fs::temp_directory_path() / ("ondrelkit_read_ahead_" + std::to_string(::getpid()));
  int files_ = 0;
};

std::vector<int> InOrder(int pages) {
  std::vector<int> order;
  for (int i = 0; i < pages; ++i) order.push_back(i);
  return order;
}

TEST_F(ReadAheadTest, PagesReadAheadHoldWhatPagesReadWhenAskedHold) {
  constexpr int kPages = 14;
  const std::string inMemory = Write(Document(kPages, {5, 6, 11}, 0));
  // Larger than the library reads whole: read through the block cache, on a second descriptor.
  const std::string throughBlocks = Write(Document(kPages, {2}, size_t{9} << 20));
  const struct {
    const char* name;
    std::vector<int> order;
  } orders[] = {
      {"in order", InOrder(kPages)},
      // Back to the start, a page asked twice in a row, and a jump over pages read ahead.
      {"back and forth", {0, 1, 2, 3, 4, 5, 1, 2, 3, 3, 4, 5, 6, 10, 11, 12, 13, 7, 8, 9}},
      {"here and there", {9, 2, 13, 0, 7}},
  };
  for (const std::string& path : {inMemory, throughBlocks}) {
    for (const auto& order : orders) {
      SCOPED_TRACE(path + ", " + order.name);
      const std::vector<std::string> asked = Read(path, order.order, false);
      const int64_t before = OkPagesReadAhead();
      const std::vector<std::string> ahead = Read(path, order.order, true);
      ASSERT_EQ(ahead.size(), asked.size());
      for (size_t i = 0; i < asked.size(); ++i) {
        EXPECT_EQ(ahead[i], asked[i]) << "page " << order.order[i];
        EXPECT_NE(asked[i].find("says hello"), std::string::npos) << asked[i];
      }
      // Pages asked for in order are read ahead; pages asked here and there are not.
      if (order.order.size() >= kPages) {
        EXPECT_GT(OkPagesReadAhead(), before);
      } else {
        EXPECT_EQ(OkPagesReadAhead(), before);
      }
    }
  }
}

// A page too crowded to be held read ahead is read when asked for, as are the pages behind it
// that no longer fit; the pages read ahead are the others.
TEST_F(ReadAheadTest, PagesTooLargeToHoldAheadAreReadWhenAskedFor) {
  const std::string path = Write(Document(8, {}, 0, {4, 5}));
  const std::vector<std::string> asked = Read(path, InOrder(8), false);
  const int64_t before = OkPagesReadAhead();
  EXPECT_EQ(Read(path, InOrder(8), true), asked);
  EXPECT_EQ(OkPagesReadAhead() - before, 3);  // pages 3, 6 and 7
  EXPECT_GT(asked[4].size(), 360000u);
}

// A file whose cross-reference table Poppler rebuilds is read as it is, without reading ahead:
// a second document rebuilding on its own might not read it the same.
TEST_F(ReadAheadTest, RepairedFileIsNotReadAhead) {
  const std::string path = Write(Document(10, {3}, 0), true);
  const std::vector<std::string> asked = Read(path, InOrder(10), false);
  const int64_t before = OkPagesReadAhead();
  EXPECT_EQ(Read(path, InOrder(10), true), asked);
  EXPECT_EQ(OkPagesReadAhead(), before);
  EXPECT_NE(asked[9].find("Page 9 says hello"), std::string::npos);
}

// Closing while the second thread reads stops it: nothing is left behind and nothing is touched
// after the document went (the sanitizer build would see it).
TEST_F(ReadAheadTest, ClosingWhileReadingAheadGivesEverythingBack) {
  const std::string paths[] = {Write(Document(12, {}, 0)),
                               Write(Document(12, {}, size_t{9} << 20))};
  for (const std::string& path : paths) {
    for (int round = 0; round < 10; ++round) {
      OkDoc* document = lib_.Open(path);
      for (int index = 0; index < 3 + round % 4; ++index) Describe(document, index);
      lib_.docs->PdfCloseDoc(document);
    }
  }
}

}  // namespace
}  // namespace ondrelkit::testing
