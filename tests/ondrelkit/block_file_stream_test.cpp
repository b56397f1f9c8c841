// The block-cached file stream reads what Poppler's own file stream would: every byte where it
// stands, limited sub-streams that end where they should, positions counted from the end, and
// blocks that stay while a stream reads them after the cache has moved on.
#include "src/block_file_stream.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdio>
#include <fstream>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "fixture_pdfs.h"
#include "hand_made_pdf.h"
#include "poppler/PDFDoc.h"

namespace ondrelkit {
namespace {

constexpr Goffset kBlock = Goffset{64} << 10;

class BlockFileStreamTest : public ::testing::Test {
 protected:
  void SetUp() override {
    // ctest runs each test of this fixture as its own process, side by side: one file each.
    path_ = ::testing::TempDir() + "block_file_stream_test_" + std::to_string(::getpid()) + ".bin";
    // Spans several blocks and ends in a short one; no two neighbouring blocks look alike.
    bytes_.resize(static_cast<size_t>(20 * kBlock + 1234));
    for (size_t i = 0; i < bytes_.size(); ++i)
      bytes_[i] = static_cast<char>((i * 7 + i / 251) & 0xff);
    std::ofstream(path_, std::ios::binary)
        .write(bytes_.data(), static_cast<std::streamsize>(bytes_.size()));
    whole_ = BlockFileStream::Open(path_);
    ASSERT_NE(whole_, nullptr);
  }
  void TearDown() override { std::remove(path_.c_str()); }

  int At(Goffset pos) const { return static_cast<unsigned char>(bytes_[static_cast<size_t>(pos)]); }
  std::unique_ptr<Stream> Sub(Goffset start, bool limited, Goffset length) {
    return std::unique_ptr<Stream>(whole_->makeSubStream(start, limited, length, Object(objNull)));
  }

  std::string path_;
  std::string bytes_;
  std::unique_ptr<BlockFileStream> whole_;
};

TEST_F(BlockFileStreamTest, SubStreamsEndWhereTheyAreLimited) {
  struct Case {
    const char* name;
    Goffset start;
    bool limited;
    Goffset length;
    Goffset expectedCount;  // bytes read before the end
  };
  const Goffset size = static_cast<Goffset>(bytes_.size());
  const Case cases[] = {
      {"WholeFile", 0, false, 0, size},
      {"AcrossABlockBoundary", kBlock - 10, true, 20, 20},
      {"WithinOneBlock", 5, true, 100, 100},
      {"EmptyRange", 300, true, 0, 0},
      {"LimitPastTheFile", size - 7, true, 50, 7},
      {"UnlimitedToTheEnd", size - kBlock - 3, false, 0, kBlock + 3},
      {"StartPastTheFile", size + 10, true, 5, 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    auto sub = Sub(c.start, c.limited, c.length);
    sub->reset();
    Goffset count = 0;
    for (int ch; (ch = sub->getChar()) != EOF; ++count) {
      ASSERT_EQ(ch, At(c.start + count));
      ASSERT_EQ(sub->getPos(), c.start + count + 1);
    }
    EXPECT_EQ(count, c.expectedCount);
    EXPECT_EQ(sub->lookChar(), EOF);
    // Read again in one go, the same bytes.
    sub->reset();
    std::string again(static_cast<size_t>(c.expectedCount) + 8, '\0');
    EXPECT_EQ(sub->doGetChars(static_cast<int>(again.size()),
                              reinterpret_cast<unsigned char*>(again.data())),
              c.expectedCount);
    EXPECT_EQ(again.substr(0, static_cast<size_t>(c.expectedCount)),
              bytes_.substr(static_cast<size_t>(std::min(c.start, size)),
                            static_cast<size_t>(c.expectedCount)));
  }
}

TEST_F(BlockFileStreamTest, PositionsFromTheEndResetAndClose) {
  const Goffset size = static_cast<Goffset>(bytes_.size());
  whole_->setPos(100, -1);
  EXPECT_EQ(whole_->getPos(), size - 100);
  EXPECT_EQ(whole_->getChar(), At(size - 100));
  whole_->setPos(size + 99, -1);  // further back than the file holds: its start
  EXPECT_EQ(whole_->getChar(), At(0));
  whole_->setPos(3 * kBlock + 1);
  auto sub = Sub(1000, true, 10);
  sub->setPos(2 * kBlock);
  sub->reset();  // back to its start; close goes back to where it stood
  EXPECT_EQ(sub->getChar(), At(1000));
  sub->close();
  EXPECT_EQ(sub->getPos(), 2 * kBlock);
  // The whole stream did not move meanwhile.
  EXPECT_EQ(whole_->getChar(), At(3 * kBlock + 1));
  whole_->moveStart(40);
  whole_->reset();
  EXPECT_EQ(whole_->getChar(), At(40));
}

TEST_F(BlockFileStreamTest, AStreamKeepsItsBlockWhileOthersPassTheCacheBy) {
  auto first = Sub(kBlock / 2, false, 0);
  first->reset();
  ASSERT_EQ(first->getChar(), At(kBlock / 2));
  // Every other block is read, more than the cache keeps.
  auto other = Sub(kBlock, false, 0);
  other->reset();
  for (Goffset pos = kBlock; other->getChar() != EOF; ++pos) {
  }
  std::unique_ptr<BaseStream> copy(whole_->copy());
  copy->setPos(kBlock / 2 + 1);
  for (Goffset pos = kBlock / 2 + 1; pos < kBlock + 5; ++pos) {
    ASSERT_EQ(first->getChar(), At(pos)) << pos;
    ASSERT_EQ(copy->getChar(), At(pos)) << pos;
  }
}

// Poppler reads a PDF through it as from the file: also one whose cross-reference table points
// at the wrong offsets, which Poppler rebuilds by reading the whole file from its end and start.
TEST(BlockFileStreamPdfTest, PopplerReadsAPdfThroughItAsFromTheFile) {
  const std::string path =
      ::testing::TempDir() + "block_file_stream_test_" + std::to_string(::getpid()) + ".pdf";
  const std::string page =
      "<< /Type /Page /Parent 2 0 R /MediaBox [0 0 200 200] /Contents 4 0 R >>";
  const std::vector<std::string> objects = {"<< /Type /Catalog /Pages 2 0 R >>",
                                            "<< /Type /Pages /Kids [3 0 R] /Count 1 >>", page,
                                            testing::Stream("BT ET")};
  const struct {
    const char* name;
    std::function<void()> write;
    int pages;
  } cases[] = {
      {"Tagged", [&] { testing::WriteCairoPdf(path, 3, "Blocks", true, "test"); }, 3},
      {"BrokenCrossReferences", [&] { testing::WriteHandMadePdf(path, objects, true); }, 1},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    c.write();
    auto stream = BlockFileStream::Open(path);
    ASSERT_NE(stream, nullptr);
    PDFDoc throughBlocks(stream.release());
    PDFDoc byName(std::make_unique<GooString>(path));
    ASSERT_TRUE(throughBlocks.isOk());
    ASSERT_TRUE(byName.isOk());
    EXPECT_EQ(throughBlocks.getNumPages(), c.pages);
    EXPECT_EQ(byName.getNumPages(), c.pages);
    for (int number = 1; number <= c.pages; ++number) {
      Object a = throughBlocks.getPage(number)->getContents();
      Object b = byName.getPage(number)->getContents();
      ASSERT_TRUE(a.isStream() && b.isStream());
      EXPECT_EQ(a.getStream()->toUnsignedChars(), b.getStream()->toUnsignedChars());
    }
  }
  EXPECT_EQ(BlockFileStream::Open(::testing::TempDir() + "no-such-file.pdf"), nullptr);
  EXPECT_EQ(BlockFileStream::Open(::testing::TempDir()), nullptr);  // a directory
  std::remove(path.c_str());
}

}  // namespace
}  // namespace ondrelkit
