#include <gtest/gtest.h>

#include <sys/resource.h>

#include <csignal>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "fixture.h"
#include "host/engine/file_format.h"

namespace tlhost::testing {
namespace {

using namespace tolvane;

std::string ReadAll(const std::string& path) {
  return (std::ostringstream() << std::ifstream(path, std::ios::binary).rdbuf()).str();
}

// Every kind of item, properties on items and on the paragraph end, structure bound to a
// cell, an anchored frame with its own flow, written by hand (not in the saved form).
const char* kRich = R"(<document version="1">
  <colour name="Red" reserved="8"/>
  <condition name="TL8_TRACK_CHANGES_ADDED" colour-override="yes" colour="Red" style="single-underline"/>
  <condition name="TL8_TRACK_CHANGES_DELETED"/>
  <marker-type name="Comment"/>
  <element-def name="doc"><attribute name="class"><value>- topic/topic </value></attribute></element-def>
  <element-def name="entry"/>
  <page name="1"/>
  <page name="M" kind="master"/>
  <flow name="A" main="yes" page="1">
    <structure>
      <element key="root" def="doc" unique-id="u1">
        <attribute name="id"><value>x &amp; "y"</value></attribute>
        <element key="cellelement" def="entry" bound="cellkey"/>
      </element>
    </structure>
    <p unique="5" format="Body" autonumber="Figure 3: " autonumber-not-in-pdf="yes" end-cond="TL8_TRACK_CHANGES_DELETED" end-author="Ken" end-time="99"><element-begin ref="root"/>a &lt;b&gt;<c cond="TL8_TRACK_CHANGES_ADDED|TL8_TRACK_CHANGES_DELETED" author="Aiko" time="1700000000">挿入</c><marker type="Comment" text="TL_PDF_Comment: x&#10;-> y" cond="TL8_TRACK_CHANGES_ADDED"/><xref-begin/>see<xref-end/><variable-begin/>v<variable-end/><hidden-begin/>h<hidden-end/><special code="2"/>	tab<frame-anchor ref="fr"/><table-anchor ref="tbl"/><element-end ref="root"/></p>
  </flow>
  <frame key="fr"><flow name="inner"><p unique="9">in the frame</p></flow></frame>
  <table key="tbl" title="yes">
    <title><p unique="6">Table 1</p></title>
    <row kind="heading"><cell key="cellkey"><p unique="7">h</p></cell></row>
  </table>
</document>
)";

TEST_F(EngineTest, SavingKeepsEverythingAndReadingTheSavedFileGivesItBack) {
  const ObjectId doc = Load(kRich);
  const std::string first = WriteDocument(*engine.document(doc));
  const ObjectId again = Load(first, "again.tlv");
  EXPECT_EQ(WriteDocument(*engine.document(again)), first);
  for (const char* piece :
       {"autonumber=\"Figure 3: \"", "autonumber-not-in-pdf=\"yes\"", "end-author=\"Ken\"",
        "<c cond=\"TL8_TRACK_CHANGES_ADDED|TL8_TRACK_CHANGES_DELETED\" author=\"Aiko\" "
        "time=\"1700000000\">挿入</c>",
        "text=\"TL_PDF_Comment: x&#10;-&gt; y\"", "<special code=\"2\"/>\ttab", "a &lt;b&gt;",
        "bound=\"c1\"", "<value>x &amp; \"y\"</value>", "kind=\"master\"", "unique-id=\"u1\""})
    EXPECT_NE(first.find(piece), std::string::npos) << piece << "\n" << first;
  std::vector<TextItem> before, after;
  ASSERT_EQ(engine.GetText(doc, Paragraph(doc, 5), TI_ALL, TIO_INCLUDE_HIDDEN_TEXT, before), 0);
  ASSERT_EQ(engine.GetText(again, Paragraph(again, 5), TI_ALL, TIO_INCLUDE_HIDDEN_TEXT, after), 0);
  EXPECT_EQ(Describe(after), Describe(before));
  auto marker = std::find_if(after.begin(), after.end(),
                             [](const TextItem& i) { return i.kind == TI_MARKER_ANCHOR; });
  ASSERT_NE(marker, after.end());
  Value text;
  ASSERT_EQ(engine.GetProp(again, marker->id, P_MARKER_TEXT, text), 0);
  EXPECT_EQ(text.s, "TL_PDF_Comment: x\n-> y");
}

TEST_F(EngineTest, MalformedFilesAreRejectedWithTheirLineAndNothingIsLoaded) {
  const std::string head = "<document version=\"1\">\n  <flow name=\"A\">\n";
  using Code = FormatFaultCode;
  struct Case {
    std::string text;
    FormatFaultCode code;
    int line;
    FaultValues values;
  };
  const std::vector<Case> cases = {
      {head + "    <p unique=\"1\">x</q>\n", Code::XmlTagMismatch, 3, {}},
      {head + "    <p unique=\"1\" colour=\"x\">x</p>\n  </flow>\n</document>\n",
       Code::UnknownAttribute,
       3,
       {{"attribute", "colour"}, {"element", "p"}}},
      {head + "    <p unique=\"1\"><bold/></p>\n  </flow>\n</document>\n",
       Code::UnknownElement,
       3,
       {{"element", "bold"}, {"parent", "p"}}},
      {head + "    <p unique=\"1\"/>\n    <p unique=\"1\"/>\n  </flow>\n</document>\n",
       Code::UniqueNumberTwice,
       4,
       {{"number", "1"}}},
      {head + "    <p unique=\"1\"><c cond=\"Nope\">x</c></p>\n  </flow>\n</document>\n",
       Code::NoConditionNamed,
       3,
       {{"name", "Nope"}}},
      {head + "    <p unique=\"1\"><table-anchor ref=\"t9\"/></p>\n  </flow>\n</document>\n",
       Code::KeyNamesNoTable,
       3,
       {{"key", "t9"}}},
      {head + "    <p unique=\"x1\"/>\n  </flow>\n</document>\n",
       Code::NotANumber,
       3,
       {{"attribute", "unique"}, {"value", "x1"}}},
      {head + "    <p unique=\"1\">\xC3(</p>\n  </flow>\n</document>\n", Code::TextNotUtf8, 3, {}},
      {"<book version=\"1\"/>\n", Code::NotADocument, 1, {{"element", "book"}}},
      {head + "    <p unique=\"2147483647\"/>\n  </flow>\n</document>\n",
       Code::UniqueNumberRange,
       3,
       {{"most", "2147483646"}}},
      {"<document version=\"1\">\n  <flow name=\"A\">\n    <p unique=\"1\"/>\n  </flow>\n"
       "</document>\n",
       Code::NoMainFlow,
       2,
       {}},
      {"<document version=\"1\" next-unique=\"3\">\n  <flow name=\"A\" main=\"yes\">\n"
       "    <p unique=\"3\"/>\n  </flow>\n</document>\n",
       Code::NextUniqueTooLow,
       1,
       {{"number", "3"}, {"highest", "3"}}},
      // Control characters that HostAddText refuses, as references and as raw bytes, in text
      // (the line is that of the character) and in attributes.
      {head + "    <p unique=\"1\">a&#1;b</p>\n  </flow>\n</document>\n",
       Code::TextControlCharacter,
       3,
       {{"code", "U+0001"}}},
      {head + "    <p unique=\"1\">first\nsecond \x1F</p>\n  </flow>\n</document>\n",
       Code::TextControlCharacter,
       4,
       {{"code", "U+001F"}}},
      // The parser would cut the text at U+0000 and drop what follows.
      {head + "    <p unique=\"1\" autonumber=\"&#x00;1\"/>\n  </flow>\n</document>\n",
       Code::TextControlCharacter,
       3,
       {{"code", "U+0000"}}},
      {head + "    <p unique=\"1\" format=\"&#8;\"/>\n  </flow>\n</document>\n",
       Code::AttributeControlCharacter,
       3,
       {{"attribute", "format"}, {"code", "U+0008"}}},
      // Lines are those of the file as it was, not of the text the parser rewrote in place.
      {"<document version=\"1\">\r\n  <flow name=\"A\">\r\n    <p unique=\"1\">a&amp;\r\nb&lt;\r\n"
       "c</p>\r\n    <p unique=\"1\"/>\r\n  </flow>\r\n</document>\r\n",
       Code::UniqueNumberTwice,
       6,
       {{"number", "1"}}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.text);
    ObjectId id = 7;
    EXPECT_EQ(engine.LoadDocumentText(c.text, "bad.tlv", id), ERR_FILE_FORMAT);
    EXPECT_EQ(id, 0u);
    const FileProblem& problem = engine.lastProblem();
    EXPECT_EQ(problem.cause, FileCause::Malformed) << engine.lastError();
    EXPECT_EQ(problem.path, "bad.tlv");
    EXPECT_EQ(problem.format.code, c.code) << engine.lastError();
    EXPECT_EQ(problem.format.line, c.line) << engine.lastError();
    EXPECT_EQ(problem.format.values, c.values) << engine.lastError();
  }
  EXPECT_TRUE(engine.openDocuments().empty());
  // Opened from a file, the fault is named with the file's path and line.
  const ScratchDir scratch;
  const std::string path = scratch.path() + "/bad.tlv";
  { std::ofstream(path) << cases[1].text; }
  ObjectId id = 0;
  std::vector<PropValue> returned;
  EXPECT_EQ(engine.OpenFile(path, {}, id, returned), ERR_FILE_FORMAT);
  EXPECT_EQ(engine.lastProblem().path, path);
  EXPECT_EQ(engine.lastProblem().format.line, 3) << engine.lastError();
}

TEST_F(EngineTest, AllowedControlsAndCdataTextAreKept) {
  const ObjectId doc = Load(
      "<document version=\"1\">\n  <!-- &#0; -->\n  <flow name=\"A\" main=\"yes\">\n"
      "    <p unique=\"1\">a&#9;b&#10;c&#13;d<![CDATA[&#0;]]></p>\n  </flow>\n</document>\n");
  std::vector<TextItem> items;
  ASSERT_EQ(engine.GetText(doc, Paragraph(doc, 1), TI_STRING, 0, items), 0);
  ASSERT_EQ(items.size(), 1u);
  EXPECT_EQ(items[0].text, "a\tb\nc\rd&#0;");
}

TEST_F(EngineTest, UniqueNumbersAreNotGivenAgainAfterDeletingSavingAndReopening) {
  const ScratchDir scratch;
  const std::string path = scratch.path() + "/unique.tlv";
  // Written before the next number was stored: the highest present is taken.
  const ObjectId doc = Load(
      "<document version=\"1\">\n  <flow name=\"A\" main=\"yes\">\n    <p unique=\"1\"/>\n"
      "    <p unique=\"2\"/>\n    <p unique=\"3\"/>\n  </flow>\n</document>\n",
      path);
  ASSERT_EQ(engine.DeleteParagraph(doc, Paragraph(doc, 3)), 0);
  ASSERT_EQ(engine.Save(doc, ""), 0) << engine.lastError();
  EXPECT_NE(ReadAll(path).find("<document version=\"1\" next-unique=\"4\">"), std::string::npos)
      << ReadAll(path);
  ASSERT_EQ(engine.Close(doc, 0), 0);

  ObjectId again = 0;
  std::vector<PropValue> returned;
  ASSERT_EQ(engine.OpenFile(path, {}, again, returned), 0) << engine.lastError();
  ObjectId found = 0;
  EXPECT_EQ(engine.GetObjectByUniqueId(again, OBJ_PARAGRAPH, 3, found), ERR_NOT_FOUND);
  auto newParagraphUnique = [&](ObjectId d, const std::string& flowName) {
    ObjectId flow = 0;
    EXPECT_EQ(engine.NewNamedObject(d, OBJ_FLOW, flowName, flow), 0);
    Value first, unique;
    EXPECT_EQ(engine.GetProp(d, flow, P_FLOW_FIRST_PARAGRAPH, first), 0);
    EXPECT_EQ(engine.GetProp(d, first.id, P_PGF_UNIQUE, unique), 0);
    return unique.i;
  };
  EXPECT_EQ(newParagraphUnique(again, "B"), 4);
  EXPECT_EQ(newParagraphUnique(again, "C"), 5);
}

TEST_F(EngineTest, AFailedSaveLeavesTheOldFile) {
  const ScratchDir scratch;
  const std::string dir = scratch.path();
  const std::string path = dir + "/doc.tlv";
  { std::ofstream(path) << "old"; }
  const ObjectId doc = Load(kPlainDocument, path);
  engine.SetProp(doc, doc, P_DOC_MODIFIED, Value::Int(1));
  // A file size limit makes the write fail, also for a user whom permissions do not stop.
  rlimit saved{};
  getrlimit(RLIMIT_FSIZE, &saved);
  auto handler = std::signal(SIGXFSZ, SIG_IGN);
  rlimit small = saved;
  small.rlim_cur = 64;
  setrlimit(RLIMIT_FSIZE, &small);
  const int32_t e = engine.Save(doc, "");
  setrlimit(RLIMIT_FSIZE, &saved);
  std::signal(SIGXFSZ, handler);
  EXPECT_EQ(e, ERR_FILE_WRITE);
  EXPECT_EQ(ReadAll(path), "old");
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir), {}), 1);  // no leftovers
  Value modified;
  engine.GetProp(doc, doc, P_DOC_MODIFIED, modified);
  EXPECT_EQ(modified.i, 1);
  ASSERT_EQ(engine.Save(doc, ""), 0);
  EXPECT_EQ(ReadAll(path), WriteDocument(*engine.document(doc)));
  engine.GetProp(doc, doc, P_DOC_MODIFIED, modified);
  EXPECT_EQ(modified.i, 0);
}

}  // namespace
}  // namespace tlhost::testing
