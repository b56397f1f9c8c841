// The export's handling of bad input, its command, and the file as other readers see it.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "exported_pdf.h"
#include "host/export/pdf_export.h"
#include "reviewed_pdf.h"

namespace tlhost::pdfexport::testing {
namespace {

using osprevan::fixtures::ReviewedPdf;
namespace fs = std::filesystem;

std::string Read(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), {});
}

TEST(ExportInput, BadInputGivesAMessageAndLeavesTheOutputAlone) {
  ReviewedPdf fixture;
  ASSERT_TRUE(fixture.ExportExample("chapter1.tlv")) << fixture.error();
  const std::string out = fixture.directory() + "/kept.pdf";
  std::ofstream(out) << "earlier";
  std::string error;
  // The example has one page: a rotation for the page after it is refused, not dropped.
  ExportOptions pastTheEnd;
  pastTheEnd.pageRotation = {{0, 90}, {1, 90}};
  EXPECT_EQ(ExportFile(fixture.sourcePath(), pastTheEnd, out, error), tolvane::ERR_BAD_VALUE);
  EXPECT_NE(error.find("page 2 (index 1)"), std::string::npos) << error;
  error.clear();
  EXPECT_NE(ExportFile(fixture.directory() + "/missing.tlv", {}, out, error), 0);
  EXPECT_FALSE(error.empty());
  const std::string broken = fixture.directory() + "/broken.tlv";
  std::ofstream(broken) << "<document version=\"1\"><flow name=\"A\"><p unique=\"1\"></flow>";
  error.clear();
  EXPECT_EQ(ExportFile(broken, {}, out, error), tolvane::ERR_FILE_FORMAT);
  EXPECT_NE(error.find("broken.tlv"), std::string::npos);
  // A book whose component cannot be read exports nothing.
  const std::string book = fixture.directory() + "/book.tlb";
  std::ofstream(book) << "<book version=\"1\"><component file=\"broken.tlv\"/></book>";
  error.clear();
  EXPECT_NE(ExportFile(book, {}, out, error), 0);
  EXPECT_NE(error.find("broken.tlv"), std::string::npos);
  EXPECT_EQ(Read(out), "earlier");
  for (const fs::directory_entry& e : fs::directory_iterator(fixture.directory())) {
    EXPECT_EQ(e.path().string().find(".part"), std::string::npos) << e.path();
    EXPECT_EQ(e.path().string().find(".drawn"), std::string::npos) << e.path();
  }
}

// A book of all the examples, its first page turned.
TEST(ExportInput, QpdfAndPyMuPdfReadTheFileCleanly) {
  ReviewedPdf fixture;
  ExportOptions options;
  options.pageRotation = {{0, 270}};
  ASSERT_TRUE(fixture.ExportExample("manual.tlb", {}, options)) << fixture.error();
  const std::string check = std::string(QPDF_PROGRAM) + " --check '" + fixture.exportedPdf() +
                            "' > '" + fixture.directory() + "/check.txt' 2>&1";
  EXPECT_EQ(std::system(check.c_str()), 0) << Read(fixture.directory() + "/check.txt");
  EXPECT_EQ(Read(fixture.directory() + "/check.txt").find("WARNING"), std::string::npos);
  // PyMuPDF reads the text back, the Japanese included, from the embedded fonts.
  const std::string script = fixture.directory() + "/read.py";
  std::ofstream(script) << "import sys, fitz\n"
                           "doc = fitz.open(sys.argv[1])\n"
                           "text = ''.join(page.get_text() for page in doc)\n"
                           "fonts = [f[3] for page in doc for f in page.get_fonts()]\n"
                           "ok = 'はじめに' in text and any('IPAGothic' in f for f in fonts) \\\n"
                           "    and any('DejaVu' in f for f in fonts)\n"
                           "sys.exit(0 if ok else 1)\n";
  const std::string read = std::string(OSPREVAN_PYTHON) + " '" + script + "' '" +
                           fixture.exportedPdf() + "' 2>/dev/null";
  EXPECT_EQ(std::system(read.c_str()), 0);
}

}  // namespace
}  // namespace tlhost::pdfexport::testing
