#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "host/link/client_connection.h"
#include "hostlink/host_link.h"
#include "platform/netlib/net_lib.h"
#include "platform/win/module.h"
#include "ui/default_pdf_path.h"

extern "C" int32_t T_ApiClientInit(void*, tolvane::IUnknown*, tolvane::IUnknown*,
                                   const tolvane::TClientInfoList*);

namespace osprevan::ui {
namespace {

namespace fs = std::filesystem;

// The extension itself is ReplaceLastExtension's (tests/support); here the folder and the join.
TEST(ProposePdfPath, KeepsTheFolderAndJoinsWithASlash) {
  EXPECT_EQ(ProposePdfPath("/work/my.book.draft").path, "/work/my.book.pdf");
  const ProposedPdf bare = ProposePdfPath("chapter1.tlv");
  EXPECT_EQ(bare.directory, "");
  EXPECT_EQ(bare.path, "chapter1.pdf");
  EXPECT_EQ(ProposePdfPath("").path, "");
  // A network folder is joined with a slash even when written with backslashes.
  EXPECT_EQ(ProposePdfPath("\\\\server\\share\\ch1.tlv").path, "\\\\server\\share/ch1.pdf");
}

// The plug-in's code linked into this test, with the host in the same process.
class InProcessHost : public ::testing::Test {
 protected:
  void SetUp() override {
    const int index = host_.LinkClient(
        T_ApiClientInit, win::ModuleFromAddress(reinterpret_cast<void*>(&T_ApiClientInit)),
        "in-process");
    ASSERT_EQ(host_.client(index).initResult(), 0);
  }
  tlhost::Host host_;
};

TEST_F(InProcessHost, ProposalFollowsTheActiveDocumentThenTheBook) {
  EXPECT_EQ(DefaultPdfPath().path, "");
  const auto book = host_.engine().NewBook("/books/manual.tlb");
  host_.engine().session().activeBook = book;
  EXPECT_EQ(DefaultPdfPath().path, "/books/manual.pdf");
  const auto doc = host_.engine().NewDocument("/docs/ch1.tlv");
  host_.engine().session().activeDocument = doc;
  EXPECT_EQ(DefaultPdfPath().path, "/docs/ch1.pdf");
}

TEST_F(InProcessHost, NetworkPathsAreReplacedByTheirLocalCopy) {
  const fs::path root = fs::temp_directory_path() / ("osprevan_net_" + std::to_string(::getpid()));
  fs::create_directories(root / "mount/srv/share");
  std::ofstream(root / "mount/srv/share/review.pdf") << "%PDF-1.7\n";
  netlib::SetConfig({(root / "mount").string(), (root / "cache").string()});
  EXPECT_EQ(ResolveNetworkPath("\\\\srv\\share\\review.pdf"),
            (root / "cache/srv/share/review.pdf").string());
  EXPECT_EQ(ResolveNetworkPath("\\\\srv\\share\\missing.pdf"), "\\\\srv\\share\\missing.pdf");
  EXPECT_EQ(ResolveNetworkPath(" /local/with spaces.pdf "), " /local/with spaces.pdf ");
  fs::remove_all(root);
}

}  // namespace
}  // namespace osprevan::ui
