// Element identifiers of exported PDFs resolved against the host document as it is now, and
// book components found by section name.
#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <memory>
#include <optional>
#include <string>
#include <tuple>
#include <utility>
#include <vector>

#include "hand_made_pdf.h"
#include "host/link/client_connection.h"
#include "host/link/host.h"
#include "hostlink/host_ops.h"
#include "pdf/book_sections.h"
#include "pdf/element_id.h"
#include "pdf/pdf_document.h"
#include "pdf/pdf_library.h"
#include "pdf/pdf_tables.h"
#include "pdf/structure_tree.h"
#include "platform/win/module.h"
#include "platform/win/utf16.h"
#include "reviewed_pdf.h"

extern "C" int32_t T_ApiClientInit(void*, tolvane::IUnknown*, tolvane::IUnknown*,
                                   const tolvane::TClientInfoList*);

namespace osprevan::pdf {
namespace {

// Main-flow paragraphs with these unique numbers; the first anchors a one-paragraph footnote.
std::string ParagraphDocument(const std::vector<int>& flow, int footnote) {
  std::string text = R"(<document version="1"><page name="1" kind="body"/>)"
                     R"(<flow name="A" main="yes" page="1">)";
  for (int unique : flow) {
    text += "<p unique=\"" + std::to_string(unique) + "\">P" + std::to_string(unique) +
            (unique == flow.front() ? R"(<footnote-anchor ref="fn1"/>)" : "") + "</p>";
  }
  return text + R"(</flow><footnote key="fn1" number="1"><p unique=")" + std::to_string(footnote) +
         R"(">Note</p></footnote></document>)";
}

// Elements named by their definitions; the paragraphs show where each begins.
constexpr const char* kElements = R"(<document version="1"><element-def name="root"/>
  <element-def name="title"/><element-def name="body"/><element-def name="word"/>
  <element-def name="inline"/><element-def name="outer"/><element-def name="middle"/>
  <element-def name="inner"/><element-def name="late"/><element-def name="later"/>
  <element-def name="bound"/><element-def name="empty"/><page name="1" kind="body"/>
  <flow name="A" main="yes" page="1"><structure><element key="e1" def="root" unique-id="root">
   <attribute name="id"><value>a</value></attribute><element key="e2" def="title">
    <attribute name="ids"><value>no</value></attribute><attribute name="id"/>
    <attribute name="ID"><value></value></attribute><attribute name="iD"><value>odd</value></attribute></element>
   <element key="e3" def="body" unique-id="s1"><element key="e4" def="word" unique-id="dup"/></element>
   <element key="e5" def="inline"><attribute name="Id"><value>dup</value></attribute></element>
   <element key="e6" def="outer"><element key="e7" def="middle"><attribute name="identifier"><value>no</value>
    </attribute><element key="e8" def="inner"><attribute name="ID"><value>leaf</value><value>x</value></attribute>
   </element></element></element><element key="e9" def="late"><element key="e10" def="later"/></element>
   <element key="e11" def="bound" bound="c1"/><element key="e12" def="empty"/></element></structure>
  <p unique="1"><element-begin ref="e1"/><element-begin ref="e2"/>Title<element-end ref="e2"/></p>
  <p unique="2"><element-begin ref="e3"/>Body <element-begin ref="e4"/>word<element-end ref="e4"/><element-end ref="e3"/></p>
  <p unique="3">Text <element-begin ref="e5"/>inline<element-end ref="e5"/></p>
  <p unique="4"><element-begin ref="e6"/><element-begin ref="e7"/><element-begin ref="e8"/>deep<element-end ref="e8"/><element-end ref="e7"/><element-end ref="e6"/></p>
  <p unique="5">x<element-begin ref="e9"/><element-begin ref="e10"/>y<element-end ref="e10"/><element-end ref="e9"/></p>
  <p unique="6">z<element-begin ref="e11"/>cell<element-end ref="e11"/><table-anchor ref="t1"/><element-end ref="e1"/></p>
  </flow><table key="t1"><row kind="body"><cell key="c1"><p unique="20">Cell</p></cell></row></table></document>)";

class ElementIdTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    paragraphs_ = std::make_unique<fixtures::ReviewedPdf>();
    structured_ = std::make_unique<fixtures::ReviewedPdf>();
    if (!paragraphs_->ExportText(ParagraphDocument({1, 2, 3, 4, 5}, 6))) {
      setupError_ = paragraphs_->error();
    } else if (!structured_->ExportExample("structured.tlv")) {
      setupError_ = structured_->error();
    }
  }
  static void TearDownTestSuite() { paragraphs_.reset(), structured_.reset(); }
  void SetUp() override {
    ASSERT_EQ(setupError_, "");
    const int index = host_.LinkClient(
        T_ApiClientInit, win::ModuleFromAddress(reinterpret_cast<void*>(&T_ApiClientInit)), "");
    ASSERT_EQ(host_.client(index).initResult(), 0);
    ASSERT_EQ(PdfLibraryLoadFrom(OSPREVAN_PDF_LIBRARY, "1"), 0) << PdfLibraryLastError();
  }
  void TearDown() override {
    for (OkDoc* pdf : pdfs_) ClosePdf(pdf);
    PdfLibraryUnload();
  }

  ObjectId Load(const std::string& text) {
    ObjectId doc = 0;
    const std::string path = "/virtual/" + std::to_string(++loaded_) + ".tlv";
    EXPECT_EQ(host_.engine().LoadDocumentText(text, path, doc), 0) << host_.engine().lastError();
    return doc;
  }
  ObjectId Open(const std::string& path) {
    ObjectId id = 0;
    std::vector<tlhost::PropValue> returned;
    EXPECT_EQ(host_.engine().OpenFile(path, {}, id, returned), 0) << host_.engine().lastError();
    return id;
  }
  const OkStructElem* PdfRoot(const std::string& path) {
    pdfs_.push_back(OpenPdfByPath(win::Utf8ToWide(path)));
    return pdfs_.back() ? Tables().structRootKid(pdfs_.back(), 0) : nullptr;
  }
  // The first structure element (depth first) whose identifier begins with `prefix`.
  static const OkStructElem* WithId(const OkStructElem* element, const std::string& prefix) {
    char id[64] = {};
    Tables().structElemId(element, id, sizeof id);
    if (std::string(id).rfind(prefix, 0) == 0) return element;
    const OkStructElem* found = nullptr;
    for (int32_t i = 0; !found && i < Tables().structElemKidCount(element); ++i)
      if (const OkStructElem* kid = Tables().structElemKid(element, i)) found = WithId(kid, prefix);
    return found;
  }
  // Read from the engine itself, not through the code under test.
  ObjectId ByDefinition(ObjectId doc, const std::string& name) {
    const tlhost::Structure& s = host_.engine().document(doc)->structure;
    for (const auto& [id, element] : s.elements)
      if (s.definitions.at(element.definition).name == name) return id;
    return 0;
  }
  static int Unique(ObjectId doc, ObjectId paragraph) {
    return paragraph ? HostGetInt(doc, paragraph, tolvane::P_PGF_UNIQUE) : 0;
  }
  // The paragraph the element's identifier names, and whether it had one.
  static std::pair<int, bool> Resolve(ObjectId doc, const OkStructElem* element) {
    const std::string identifier = StructureTree(nullptr).Identifier(element);
    return {Unique(doc, ResolveElementId(doc, identifier)), !identifier.empty()};
  }

  static std::unique_ptr<fixtures::ReviewedPdf> paragraphs_, structured_;
  static std::string setupError_;
  tlhost::Host host_;
  std::vector<OkDoc*> pdfs_;
  int loaded_ = 0;
};

std::unique_ptr<fixtures::ReviewedPdf> ElementIdTest::paragraphs_, ElementIdTest::structured_;
std::string ElementIdTest::setupError_;

// The PDF was made from paragraphs 1 to 5 and footnote paragraph 6; then the source changed.
TEST_F(ElementIdTest, ParagraphIdentifiersFollowTheSourceThroughTheNeighbours) {
  struct Case {
    std::vector<int> flow;
    int footnote;
    const char* identifier;
    int expected;
  };
  const Case cases[] = {
      {{1, 2, 3, 4, 5}, 6, "P3#1#2#4#5", 3}, {{1, 2, 4, 5}, 6, "P3#", 0},  // deleted
      {{1, 2, 7, 4, 5}, 6, "P3#", 7},        {{1, 2, 7, 8, 5}, 6, "P3#", 7},
      {{1, 2, 7, 5}, 6, "P3#", 0},           {{1, 7, 8, 4, 5}, 6, "P3#", 8},  // one before gone
      {{1, 7, 4, 5}, 6, "P3#", 0},           {{1, 2, 3, 4, 5}, 9, "P6#0#0#0#0", 0},
  };
  const OkStructElem* root = PdfRoot(paragraphs_->exportedPdf());
  for (const Case& c : cases) {
    EXPECT_EQ(Resolve(Load(ParagraphDocument(c.flow, c.footnote)), WithId(root, c.identifier)),
              std::pair(c.expected, true))
        << testing::PrintToString(c.flow) << c.identifier;
  }
}

TEST_F(ElementIdTest, DamagedAndForeignIdentifiersNameNothing) {
  // The first two are no identifier (no /ID, an empty one); each of the others would name
  // paragraph 2 of structured.tlv if it were read leniently.
  const char* const identifiers[] = {
      nullptr,       "",       "P2#0#1#3#0x",        "P2#0#1#3", "P 2#0#1#3#0", "P+2#0#1#3#0",
      "P2#0#1#3#-1", "Nfirst", "P4294967298#0#1#3#0"};
  std::string kids;
  for (const char* id : identifiers)
    kids += "<< /S /P /P 5 0 R " + (id ? "/ID (" + std::string(id) + ")" : "") + " >> ";
  const std::string path = structured_->directory() + "/damaged.pdf";
  ondrelkit::testing::WriteHandMadePdf(
      path, {"<< /Type /Catalog /Pages 2 0 R /StructTreeRoot 4 0 R >>",
             "<< /Type /Pages /Kids [3 0 R] /Count 1 >>", "<< /Type /Page /Parent 2 0 R >>",
             "<< /Type /StructTreeRoot /K [5 0 R] >>", "<< /S /Document /K [" + kids + "] >>"});
  const ObjectId doc = Open(structured_->directory() + "/structured.tlv");
  const OkStructElem* root = PdfRoot(path);
  for (int32_t i = 0; i < static_cast<int32_t>(std::size(identifiers)); ++i)
    EXPECT_EQ(Resolve(doc, Tables().structElemKid(root, i)), std::pair(0, i >= 2)) << i;
}

TEST_F(ElementIdTest, ElementIdentifiersNameTheParagraphTheElementStarts) {
  std::ifstream file(structured_->directory() + "/structured.tlv");
  std::string source((std::istreambuf_iterator<char>(file)), {});
  const ObjectId doc = Load(source);
  const ObjectId renamed = Load(source.replace(source.find(">first<"), 7, ">other<"));
  const std::tuple<const char*, ObjectId, int> cases[] = {
      {"Eintro", doc, 1},  {"P1#", doc, 1},        {"Efirst", doc, 2},
      {"Esecond", doc, 3}, {"Efirst", renamed, 0}, {"Esecond", renamed, 3}};
  const OkStructElem* root = PdfRoot(structured_->exportedPdf());
  for (const auto& [identifier, target, expected] : cases)
    EXPECT_EQ(Resolve(target, WithId(root, identifier)), std::pair(expected, true)) << identifier;
}

TEST_F(ElementIdTest, HostElementsByIdentifierAndByTheParagraphTheyStart) {
  const ObjectId doc = Load(kElements);
  const std::pair<const char*, std::optional<std::string>> texts[] = {
      {"root", "root"},  {"title", "odd"},         {"inline", "dup"},
      {"inner", "leaf"}, {"middle", std::nullopt}, {"empty", std::nullopt}};
  for (const auto& [name, expected] : texts)
    EXPECT_EQ(ElementIdText(doc, ByDefinition(doc, name)), expected) << name;

  // From, identifier, the element found (none when null).
  const std::tuple<const char*, const char*, const char*> searches[] = {
      {"root", "dup", "word"},
      {"root", "leaf", "inner"},
      {"root", "root", nullptr},
      {"body", "leaf", nullptr},
      {"root", "nothing", nullptr}};
  for (const auto& [from, id, expected] : searches) {
    EXPECT_EQ(FindElementById(doc, ByDefinition(doc, from), id),
              expected ? ByDefinition(doc, expected) : 0)
        << from << " " << id;
  }

  // Title and word start after their parent's begin; inline and later begin mid-paragraph
  // under parents that start elsewhere; bound lies in a table cell.
  const std::pair<const char*, int> paragraphs[] = {{"root", 1},  {"title", 1},  {"body", 2},
                                                    {"word", 2},  {"inner", 4},  {"inline", 0},
                                                    {"later", 0}, {"bound", 20}, {"empty", 0}};
  for (const auto& [name, expected] : paragraphs)
    EXPECT_EQ(Unique(doc, ElementParagraph(doc, ByDefinition(doc, name))), expected) << name;
}

TEST_F(ElementIdTest, SectionNamesFindTheComponentWhoseDocumentIsOpenOnABodyPage) {
  const std::string dir = structured_->directory();
  const ObjectId book = Open(dir + "/manual.tlb");
  Open(dir + "/chapter1.tlv");
  Open(dir + "/structured.tlv");
  const ObjectId first = HostGetId(book, book, tolvane::P_BOOK_FIRST_COMPONENT);
  const ObjectId third =
      HostGetId(book, HostGetId(book, first, tolvane::P_COMP_NEXT), tolvane::P_COMP_NEXT);
  const std::pair<const char*, ObjectId> cases[] = {{"Article_chapter1.tlv", first},
                                                    {"article_CHAPTER1.TLV", first},
                                                    {"ARTICLE_Structured.tlv", third},
                                                    {"Article_table-footnote.tlv", 0},  // not open
                                                    {"Section_chapter1.tlv", 0},
                                                    {"Article_chapter1", 0},
                                                    {"Artic", 0}};
  for (const auto& [name, expected] : cases)
    EXPECT_EQ(FindComponentBySection(book, name), expected) << name;

  // The first "Shared" lies on a master page; the one inside the group comes next in book order.
  std::ofstream(dir + "/master.tlv")
      << R"(<document version="1"><page name="M" kind="master"/>)"
         R"(<flow name="A" main="yes" page="M"><p unique="1"/></flow></document>)";
  std::ofstream(dir + "/shared.tlb")
      << R"(<book version="1"><component file="master.tlv" name="Shared"/>)"
         R"(<component name="G" type="group" container="yes">)"
         R"(<component file="chapter1.tlv" name="shared"/></component></book>)";
  Open(dir + "/master.tlv");
  const ObjectId shared = Open(dir + "/shared.tlb");
  const ObjectId group = HostGetId(
      shared, HostGetId(shared, shared, tolvane::P_BOOK_FIRST_COMPONENT), tolvane::P_COMP_NEXT);
  EXPECT_EQ(FindComponentBySection(shared, "Article_Shared"),
            HostGetId(shared, group, tolvane::P_COMP_FIRST_CHILD));
}

}  // namespace
}  // namespace osprevan::pdf
