// The export read back with the PDF library: structure, identifiers, text and entries.
#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <string>
#include <vector>

#include "exported_pdf.h"
#include "reviewed_pdf.h"

namespace tlhost::pdfexport::testing {
namespace {

using osprevan::fixtures::ReviewedPdf;

// The chain of own types from the element up to the root, innermost first.
std::vector<std::string> Ancestry(const ExportedPdf& pdf, const ReadElement* e) {
  std::vector<std::string> out;
  for (int p = e->parent; p >= 0; p = pdf.elements[p].parent) out.push_back(pdf.elements[p].type);
  return out;
}

// Identifiers "P<unique>#<two before>#<one before>#<one after>#<two after>", counted in the
// paragraph's own list; the text under each paragraph is its number and its text; tables,
// footnotes and titles have their containers; the role map maps the host's types.
TEST(ExportStructure, TablesFootnotesAndTheirParagraphs) {
  ReviewedPdf fixture;
  ASSERT_TRUE(fixture.ExportExample("table-footnote.tlv")) << fixture.error();
  ExportedPdf pdf(fixture.exportedPdf());
  for (const char* id : {"P1#0#0#2#3", "P2#0#1#3#0", "P3#1#2#0#0", "P10#0#0#0#0", "P11#0#0#0#0",
                         "P15#0#0#0#0", "P20#0#0#0#0"})
    EXPECT_NE(pdf.ById(id), nullptr) << id;
  EXPECT_EQ(pdf.ById("P16#0#0#0#0"), nullptr);  // the straddled cell's paragraph
  const std::pair<const char*, const char*> texts[] = {
      {"P1#0#0#2#3", "2\tSettings"},
      {"P2#0#1#3#0", "The table lists the settings1."},  // with the footnote's number
      {"P10#0#0#0#0", "Table 1: Settings"},
      {"P14#0#0#0#0", "Updates the screen"},
      {"P20#0#0#0#0", "As of version 17."},  // the footnote's label is not tagged
  };
  for (const auto& [id, text] : texts) EXPECT_EQ(pdf.ById(id)->text, text) << id;
  EXPECT_EQ(pdf.unownedTextPieces, 0);
  EXPECT_EQ(Ancestry(pdf, pdf.ById("P15#0#0#0#0")),
            (std::vector<std::string>{"TD", "TR", "TBody", "Table", "Article_A", "Document"}));
  EXPECT_EQ(Ancestry(pdf, pdf.ById("P11#0#0#0#0")),
            (std::vector<std::string>{"TH", "TR", "THead", "Table", "Article_A", "Document"}));
  const ReadElement* title = pdf.ById("P10#0#0#0#0");
  EXPECT_EQ(pdf.elements[title->parent].type, "TableTitle");
  EXPECT_EQ(title->type, "TableTitle_Pgf");  // the format's name is taken by the container
  // The second body row keeps one cell: its neighbour lies under it.
  const std::vector<const ReadElement*> rows = pdf.OfType("TR");
  ASSERT_EQ(rows.size(), 3u);
  EXPECT_EQ(rows[2]->kids.size(), 1u);
  const std::vector<const ReadElement*> notes = pdf.OfType("Note");
  ASSERT_EQ(notes.size(), 1u);
  EXPECT_EQ(notes[0]->id, "N1");
  EXPECT_EQ(pdf.elements[notes[0]->parent].type, "Article_A");
  const std::map<std::string, std::string> roles = {
      {"Article_A", "Art"}, {"Heading1", "H1"}, {"Body", "P"}, {"TableTitle", "Caption"}};
  for (const auto& [type, mapped] : roles)
    EXPECT_EQ(pdf.roleMap.count(type) ? pdf.roleMap.at(type) : "", mapped) << type;
  EXPECT_EQ(pdf.roleMap.count("TD"), 0u);  // standard types are not mapped
}

const char* kHiddenAndFrames = R"(<?xml version="1.0" encoding="UTF-8"?>
<document version="1">
  <condition name="Secret" shown="no"/>
  <condition name="Open" shown="yes"/>
  <marker-type name="Comment"/>
  <page name="1" kind="body"/>
  <flow name="A" main="yes" page="1">
    <p unique="5" format="Body" autonumber="(a) " autonumber-not-in-pdf="yes">one<c cond="Secret">gone</c><c cond="Open">two</c><hidden-begin/>away<hidden-end/> three<marker type="Comment" text="x"/></p>
    <p unique="6" format="Body">before <frame-anchor ref="a1"/>after</p>
    <p unique="7" format="Heading 2">	tab</p>
  </flow>
  <flow name="Side" page="1">
    <p unique="30" format="Body">side flow</p>
  </flow>
  <frame key="a1"><flow name="Inset"><p unique="50">inset text</p><p unique="51">more</p></flow></frame>
</document>
)";

// Hidden text, markers and numbers left out do not reach the PDF; an anchored frame's text is
// a block inside its paragraph; flows of body pages are articles of their own.
TEST(ExportStructure, HiddenTextFramesAndFlows) {
  ReviewedPdf fixture;
  ASSERT_TRUE(fixture.ExportText(kHiddenAndFrames)) << fixture.error();
  ExportedPdf pdf(fixture.exportedPdf());
  EXPECT_EQ(pdf.ById("P5#0#0#6#7")->text, "onetwo three");
  EXPECT_EQ(pdf.ById("P7#5#6#0#0")->text, "\ttab");  // a leading tab stays one character
  EXPECT_EQ(pdf.ById("P7#5#6#0#0")->mapped, "H2");
  const ReadElement* p = pdf.ById("P6#0#5#7#0");
  ASSERT_NE(p, nullptr);
  EXPECT_EQ(p->text, "before inset text moreafter");
  std::vector<std::string> kids;
  for (int k : p->kids) kids.push_back(pdf.elements[k].type + ":" + pdf.elements[k].id);
  EXPECT_EQ(kids, (std::vector<std::string>{"BlockStart:BSF1", "Span:", "BlockEnd:BEF1"}));
  EXPECT_EQ(pdf.roleMap.at("BlockStart"), "NonStruct");
  EXPECT_EQ(pdf.ById("P50#0#0#51#0"), nullptr);  // the frame's paragraphs have no elements
  EXPECT_NE(pdf.ById("Article_Side"), nullptr);
  EXPECT_EQ(pdf.ById("P30#0#0#0#0")->firstPage, 1);
}

// The Japanese example's identifiers and text (tracked-change text shown, the marker not), and
// the entries and element forms the options ask for.
TEST(ExportStructure, JapaneseChapterWithCreatorDateRotationAndSections) {
  ReviewedPdf standard;
  ASSERT_TRUE(standard.ExportExample("chapter1.tlv")) << standard.error();
  ExportedPdf j(standard.exportedPdf());
  EXPECT_EQ(j.creator, "Tolvane 17.0");
  EXPECT_EQ(j.ById("P1#0#0#2#3")->text, "1\tはじめに");
  EXPECT_NE(j.ById("P2#0#1#3#0"), nullptr);
  EXPECT_EQ(j.ById("P3#1#2#0#0")->text, "注釈は文書の該当する段落にすべて戻されます。");
  EXPECT_NE(j.ById("Article_A"), nullptr);
  ReviewedPdf fixture;
  ExportOptions options;
  options.creationTime = 1700000000;
  options.pageRotation = {{0, 90}};
  options.sectionElements = true;
  ASSERT_TRUE(fixture.ExportExample("chapter1.tlv", std::string("作成者"), options))
      << fixture.error();
  ExportedPdf pdf(fixture.exportedPdf());
  EXPECT_EQ(pdf.creator, "作成者");
  EXPECT_EQ(pdf.creationDate, "D:20231114221320Z");
  EXPECT_EQ(pdf.rotations, std::vector<int>{90});
  EXPECT_EQ(pdf.ById("Article_A"), nullptr);
  ASSERT_NE(pdf.ById("Section_A"), nullptr);
  EXPECT_EQ(pdf.ById("Section_A")->mapped, "Sect");
}

TEST(ExportStructure, StructuredDocumentsCarryElementTypesAndIdentifiers) {
  ReviewedPdf fixture;
  ASSERT_TRUE(fixture.ExportExample("structured.tlv")) << fixture.error();
  ExportedPdf pdf(fixture.exportedPdf());
  const ReadElement* topic = pdf.ById("Eintro");
  ASSERT_NE(topic, nullptr);
  EXPECT_EQ(topic->type, "topic");
  EXPECT_EQ(topic->mapped, "Div");
  std::vector<std::string> kids;
  for (int k : topic->kids) kids.push_back(pdf.elements[k].type + ":" + pdf.elements[k].id);
  // The title has no identifier text and keeps its paragraph's identifier.
  EXPECT_EQ(kids, (std::vector<std::string>{"title:P1#0#0#2#3", "p:Efirst", "p:Esecond"}));
  EXPECT_EQ(pdf.ById("Esecond")->text, "The second paragraph.");
  EXPECT_EQ(pdf.roleMap.at("title"), "H1");
  EXPECT_EQ(pdf.roleMap.at("p"), "P");
}

// Identifiers outside ASCII, Latin and Japanese, from the "id" attribute in both letter cases
// and from the unique-identifier property.
const char* kNonAsciiIdentifiers = R"(<?xml version="1.0" encoding="UTF-8"?>
<document version="1">
  <element-def name="topic"/>
  <element-def name="p"/>
  <page name="1" kind="body"/>
  <flow name="A" main="yes" page="1">
    <structure>
      <element key="e1" def="topic">
        <attribute name="id"><value>Übersicht</value></attribute>
        <element key="e2" def="p">
          <attribute name="ID"><value>第1段落</value></attribute>
        </element>
        <element key="e3" def="p" unique-id="段落-二"/>
      </element>
    </structure>
    <p unique="1" format="Body"><element-begin ref="e1"/><element-begin ref="e2"/>最初の段落。<element-end ref="e2"/></p>
    <p unique="2" format="Body"><element-begin ref="e3"/>二番目の段落。<element-end ref="e3"/><element-end ref="e1"/></p>
  </flow>
</document>
)";

TEST(ExportStructure, NonAsciiIdentifiersAreWrittenAsTheirUtf8Bytes) {
  ReviewedPdf fixture;
  ASSERT_TRUE(fixture.ExportText(kNonAsciiIdentifiers)) << fixture.error();
  ExportedPdf pdf(fixture.exportedPdf());
  std::vector<std::string> ids;
  for (const ReadElement& e : pdf.elements)
    if (!e.id.empty() && e.id[0] == 'E') ids.push_back(e.id);
  // The library hands back the /ID bytes: neither a byte-order mark nor a one-byte encoding.
  EXPECT_EQ(ids, (std::vector<std::string>{"EÜbersicht", "E第1段落", "E段落-二"}));
  ASSERT_NE(pdf.ById("E第1段落"), nullptr);
  EXPECT_EQ(pdf.ById("E第1段落")->text, "最初の段落。");
  EXPECT_EQ(pdf.elements[pdf.ById("E段落-二")->parent].id, "EÜbersicht");
}

TEST(ExportLayout, ParagraphBrokenAcrossPagesKeepsOneElement) {
  std::string words;
  for (int i = 0; i < 700; ++i) words += "word" + std::to_string(i) + " ";
  words += "\tend.";
  const std::string text = std::string(R"(<?xml version="1.0" encoding="UTF-8"?>
<document version="1">
  <page name="1" kind="body"/>
  <flow name="A" main="yes" page="1">
    <p unique="1" format="Body">)") +
                           words + R"(</p>
    <p unique="2" format="Body">after</p>
  </flow>
</document>
)";
  ReviewedPdf fixture;
  ASSERT_TRUE(fixture.ExportText(text)) << fixture.error();
  ExportedPdf pdf(fixture.exportedPdf());
  ASSERT_GE(pdf.pageCount, 2);
  const ReadElement* long_ = pdf.ById("P1#0#0#2#0");
  ASSERT_NE(long_, nullptr);
  EXPECT_EQ(long_->text, words);  // the blanks ending lines and a lone tab are characters too
  EXPECT_EQ(long_->pages, (std::vector<int>{0, 1}));
  EXPECT_EQ(pdf.OfType("Body").size(), 2u);
  EXPECT_EQ(pdf.ById("P2#0#1#0#0")->pages, std::vector<int>{1});
}

}  // namespace
}  // namespace tlhost::pdfexport::testing
