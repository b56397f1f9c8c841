// Comments on the PDF of a book brought back into its component documents: the walk over the
// book's components, kept in step with the PDF's "Document" kids, as the stand-in host runs it.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <map>
#include <sstream>

#include "host/engine/show.h"
#include "imported_document.h"
#include "plugin_messages.h"
#include "reviewed_pdf.h"
#include "tests/client/plugin_host_fixture.h"
#include "tests/fixtures/writers_text.h"

namespace osprevan::testing {
namespace {

namespace fs = std::filesystem;
using fixtures::Message;
using tolvane::ObjectId;

// A one-flow document of `count` paragraphs, the first and the last naming `word`.
std::string DocumentText(const std::string& word, int count = 2) {
  std::string text = R"(<?xml version="1.0" encoding="UTF-8"?>
<document version="1" next-unique=")" +
                     std::to_string(count + 1) +
                     R"(">
  <page name="1" kind="body"/>
  <flow name="A" main="yes" page="1">
)";
  for (int i = 1; i <= count; ++i) {
    const std::string body = i == 1       ? word + " opens."
                             : i == count ? word + " closes."
                                          : "Filler paragraph number " + std::to_string(i) + ".";
    text += "    <p unique=\"" + std::to_string(i) + "\" format=\"Body\">" + body + "</p>\n";
  }
  return text + "  </flow>\n</document>\n";
}

std::string BookText(const std::string& components) {
  return "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<book version=\"1\">\n" + components +
         "</book>\n";
}

class BookImportTest : public PluginHostTest {
 public:
  void SetUp() override {
    PluginHostTest::SetUp();
    UseAnsweredUserDir(fs::path(pdf_.directory()) / "user");
  }

  using PluginHostTest::host;
  fixtures::ReviewedPdf& pdf() { return pdf_; }
  std::string PathOf(const std::string& name) { return pdf_.directory() + "/" + name; }
  void Write(const std::string& name, const std::string& text) {
    std::ofstream(PathOf(name)) << text;
  }
  ObjectId Open(const std::string& name) {
    std::vector<tlhost::PropValue> returned;
    ObjectId id = 0;
    EXPECT_EQ(host().engine().OpenFile(PathOf(name), {}, id, returned), 0) << name;
    return id;
  }
  void OpenBook(const std::string& name) { host().engine().session().activeBook = Open(name); }
  // Imports the reviewed PDF as another client would.
  void Import() {
    LoadAndInitialize().Notify(tolvane::NOTE_CLIENT_CALL, 0, pdf_.annotatedPdf(), 0);
  }

  // The document as `tolvane show` prints it; empty when it is not open.
  std::string Shown(const std::string& name) {
    for (ObjectId id : host().engine().openDocuments()) {
      const tlhost::Document* d = host().engine().document(id);
      if (d && fs::path(d->path).filename() == name) {
        std::ostringstream out;
        tlhost::ShowDocument(*d, out);
        return out.str();
      }
    }
    return {};
  }
  std::map<int32_t, std::string> Writers(ObjectId document) {
    return fixtures::WritersText(*host().engine().document(document));
  }
  int Highlights(const std::string& name) {
    const std::string shown = Shown(name);
    int count = 0;
    for (size_t at = shown.find("{TL_PDF_Comments_Highlight|"); at != std::string::npos;
         at = shown.find("{TL_PDF_Comments_Highlight|", at + 1)) {
      ++count;
    }
    return count;
  }

  // Successful, misplaced and failed of one row of the summary file.
  std::string Counts(const std::string& label) {
    return fixtures::SummaryCounts(PathOf("annotated.smry"), label);
  }

 protected:
  fixtures::ReviewedPdf pdf_;
};

TEST_F(BookImportTest, EachComponentGetsItsOwnCommentsAndOneSummaryCountsThemAll) {
  ASSERT_TRUE(pdf_.ExportExample("manual.tlb")) << pdf_.error();
  ASSERT_TRUE(pdf_.Review(R"({"comments": [
      {"kind": "highlight", "find": "マニュアル"}, {"kind": "highlight", "find": "段落"},
      {"kind": "highlight", "find": "takes effect"}, {"kind": "highlight", "find": "Spanning"},
      {"kind": "highlight", "find": "first paragraph"},
      {"kind": "highlight", "find": "second"}]})"))
      << pdf_.error();
  const std::vector<std::string> names = {"chapter1.tlv", "table-footnote.tlv", "structured.tlv"};
  std::map<std::string, std::map<int32_t, std::string>> before;
  for (const std::string& name : names) before[name] = Writers(Open(name));
  OpenBook("manual.tlb");
  Import();

  for (const std::string& name : names) {
    SCOPED_TRACE(name);
    EXPECT_EQ(Highlights(name), 2) << Shown(name);
    EXPECT_EQ(Writers(Open(name)), before[name]);
  }
  EXPECT_EQ(Counts("ハイライト"), "6/0/0");
  for (const char* row : {"挿入", "削除", "置換", "ノート注釈", "下線"}) {
    EXPECT_EQ(Counts(row), "0/0/0") << row;
  }
}

// Small books around the documents Alpha, Bravo (long enough for several pages), Charlie and
// Delta: which component the walk pairs with which kid of the PDF, and what it says. Comments
// on Charlie, where it is in the PDF, must never reach a document.
// A text the console must hold: as written, or message N of the plug-in's table.
struct ConsoleText {
  ConsoleText(const char* text) : text(text) {}
  ConsoleText(int message) : message(message) {}
  std::string Get() const { return text ? text : Message(message); }
  const char* text = nullptr;
  int message = -1;
};

struct BookCase {
  const char* name;
  std::string exported;              // the book the PDF is made from
  std::string imported;              // the book as it is at the import (empty: the same)
  void (*prepare)(BookImportTest&);  // after the review, before the import; may be null
  ConsoleText console;               // a text the console must hold, or ""
  int alpha, bravo;                  // highlights expected in Alpha and in Bravo
  const char* summary;               // the highlight row of the summary file
};

void PrintTo(const BookCase& test, std::ostream* out) {
  *out << test.name;
}

std::string Component(const std::string& attributes) {
  return "  <component " + attributes + "/>\n";
}

void CloseFails(BookImportTest& t) {
  t.host().faults().Fail("Close", tolvane::ERR_BUSY, 1);
}
constexpr void (*kCloseFails)(BookImportTest&) = CloseFails;

class BookWalkTest : public BookImportTest, public ::testing::WithParamInterface<BookCase> {};

TEST_P(BookWalkTest, PairsEachComponentWithItsOwnKid) {
  const BookCase& test = GetParam();
  Write("a.tlv", DocumentText("Alpha"));
  Write("b.tlv", DocumentText("Bravo", 90));
  Write("c.tlv", DocumentText("Charlie"));
  Write("d.tlv", DocumentText("Delta"));
  Write("nested.tlb", BookText(Component(R"(file="c.tlv")")));
  Write("loop.tlb",
        BookText(Component(R"(file="c.tlv")") + Component(R"(file="book.tlb" type="book")")));
  ASSERT_TRUE(pdf_.ExportText(BookText(test.exported), {}, {}, "book.tlb")) << pdf_.error();
  std::string review = R"({"comments": [
      {"kind": "highlight", "find": "Alpha opens"}, {"kind": "highlight", "find": "Alpha closes"},
      {"kind": "highlight", "find": "Bravo opens"}, {"kind": "highlight", "find": "Bravo closes"})";
  if (test.exported.find("c.tlv") != std::string::npos ||
      test.exported.find(".tlb") != std::string::npos) {
    review += R"(, {"kind": "highlight", "find": "Charlie opens"})";
  }
  ASSERT_TRUE(pdf_.Review(review + "]}")) << pdf_.error();
  if (!test.imported.empty()) Write("book.tlb", BookText(test.imported));
  OpenBook("book.tlb");
  if (test.prepare) test.prepare(*this);
  Import();

  EXPECT_EQ(Highlights("a.tlv"), test.alpha);
  EXPECT_EQ(Highlights("b.tlv"), test.bravo);
  EXPECT_EQ(Highlights("c.tlv") + Highlights("d.tlv"), 0);
  EXPECT_EQ(Counts("ハイライト"), test.summary);
  EXPECT_TRUE(host().recorder().alerts.empty());
  EXPECT_NE(host().recorder().console.find(test.console.Get()), std::string::npos);
  // What the walk opened for itself is closed again, unless the host refused.
  const size_t books = host().engine().openBooks().size();
  EXPECT_EQ(books, test.prepare == kCloseFails ? 2u : 1u);
}

const std::string kA = Component(R"(file="a.tlv")");
const std::string kB = Component(R"(file="b.tlv")");
const std::string kC = Component(R"(file="c.tlv")");

INSTANTIATE_TEST_SUITE_P(
    Books, BookWalkTest,
    ::testing::Values(
        // Excluded and generated components have no kid; a group's components have theirs.
        BookCase{"ExcludedGeneratedAndGroupedComponents",
                 Component(R"(file="d.tlv" exclude="yes")") +
                     Component(R"(file="d.tlv" type="generated-list")") + kA +
                     Component(R"(file="d.tlv" type="generated-index")") +
                     "  <component name=\"Part\" type=\"group\" container=\"yes\">\n" + kB +
                     "  </component>\n",
                 "", nullptr, "", 2, 2, "4/0/0"},
        // A nested book's kid is counted, not imported, also that of one holding the book
        // itself; what the walk opened for itself is closed, and a refused close is said.
        BookCase{"NestedBooks",
                 kA + Component(R"(file="nested.tlb" type="book")") +
                     Component(R"(file="loop.tlb" type="book")") + kB,
                 "", kCloseFails, support::MSG_CLOSE_FAILED, 2, 2, "4/0/0"},
        // A component that cannot be opened still takes its kid; one past the last kid gets none.
        BookCase{"ComponentGoneAndMoreComponentsThanKids", kA + kC + kB,
                 kA + Component(R"(file="gone.tlv")") + kB + kC, nullptr, "", 2, 2, "4/0/0"},
        BookCase{"KidThatIsNotADocument", kA + kB, "",
                 [](BookImportTest& t) {
                   // The first kid of the top element becomes a Part.
                   EXPECT_TRUE(fixtures::EditPdf(
                       t.pdf().annotatedPdf(),
                       "def first(x):\n"
                       "  return int(doc.xref_get_key(x,'K')[1].strip('[]').split()[0])\n"
                       "root=int(doc.xref_get_key(doc.pdf_catalog(),'StructTreeRoot')[1]"
                       ".split()[0])\n"
                       "doc.xref_set_key(first(first(root)),'S','/Part')"));
                 },
                 support::MSG_BROKEN_STRUCTURE, 0, 2, "2/0/0"},
        // A book's PDF with only a document active is refused; no dialogs: on the console.
        BookCase{"NoActiveBook", kA + kB, "",
                 [](BookImportTest& t) {
                   t.host().engine().session().activeBook = 0;
                   t.host().engine().session().activeDocument = t.Open("a.tlv");
                 },
                 support::MSG_NO_ACTIVE_DOCUMENT, 0, 0, "no summary"}),
    [](const ::testing::TestParamInfo<BookCase>& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace osprevan::testing
