// A test fixture that opens hand-made PDFs with an initialised library and checks, at the end,
// that everything the library handed out went back.
#pragma once

#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <string>
#include <vector>

#include "hand_made_pdf.h"
#include "library_session.h"

namespace ondrelkit::testing {

class HandMadeTest : public ::testing::Test {
 protected:
  void SetUp() override {
    dir_ = std::filesystem::temp_directory_path() /
           ("ondrelkit_hand_made_" + std::to_string(::getpid()));
    std::filesystem::create_directories(dir_);
  }
  void TearDown() override {
    std::filesystem::remove_all(dir_);
    EXPECT_EQ(LibrarySession::BytesInUse(), 0u);
  }
  OkDoc* Open(const std::vector<std::string>& objects, bool breakXref = false) {
    const std::string path = (dir_ / "case.pdf").string();
    WriteHandMadePdf(path, objects, breakXref);
    return lib_.Open(path);
  }
  PdfAtom Atom(const char* name) const { return lib_.core->PdfAtom(name); }

  LibrarySession lib_;
  std::filesystem::path dir_;
};

}  // namespace ondrelkit::testing
