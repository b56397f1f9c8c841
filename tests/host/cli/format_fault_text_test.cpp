// A malformed file's fault in words: every code in every language, and the values the reader
// gives each fault are the very places its text fills.
#include "host/cli/format_fault_text.h"

#include <gtest/gtest.h>

#include <set>
#include <string>

#include "host/engine/engine.h"
#include "tests/host/cli/every_language.h"
#include "text_places.h"

namespace tlhost {
namespace {

using osprevan::fixtures::PlacesOf;

TEST(FormatFaultTextTest, EveryCodeHasATextInEveryLanguageWithTheSamePlaces) {
  testing::ExpectEveryKeyInEveryLanguage(FormatFaultTextOf, FormatFaultCode::Count);
}

// Files the reader refuses, each with a fault that carries values: the names of those values
// are exactly the places of its text, so no value is dropped and no place is left unfilled.
TEST(FormatFaultTextTest, TheReadersValuesFillTheirTextsPlaces) {
  const std::string head = "<document version=\"1\">\n  <flow name=\"A\" main=\"yes\">\n";
  const std::string tail = "  </flow>\n</document>\n";
  const std::string files[] = {
      head + "    <p unique=\"1\" shade=\"x\"/>\n" + tail,
      head + "    <p/>\n" + tail,
      head + "    <p unique=\"1\" autonumber-not-in-pdf=\"maybe\"/>\n" + tail,
      head + "    <p unique=\"x1\"/>\n" + tail,
      head + "    <p unique=\"1\"><bold/></p>\n" + tail,
      head + "    <p unique=\"1\"><table-anchor ref=\"t9\"/></p>\n" + tail,
      head + "    <p unique=\"1\"/>\n    <p unique=\"1\"/>\n" + tail,
      head + "    <p unique=\"1\"><c cond=\"Nope\">x</c></p>\n" + tail,
      head + "    <p unique=\"1\" format=\"&#8;\"/>\n" + tail,
      head + "    <p unique=\"1\"><xref-end/></p>\n" + tail,
      "<book version=\"1\"/>\n",
      "<document version=\"1\">\n  <colour name=\"R\"/>\n  <colour name=\"R\"/>\n" +
          std::string("  <flow name=\"A\" main=\"yes\">\n    <p unique=\"1\"/>\n") + tail,
  };
  Engine engine;
  std::set<FormatFaultCode> seen;
  for (const std::string& file : files) {
    SCOPED_TRACE(file);
    ObjectId id = 0;
    ASSERT_NE(engine.LoadDocumentText(file, "bad.tlv", id), 0);
    const FormatFault& fault = engine.lastProblem().format;
    std::set<std::string> names;
    for (const auto& [name, value] : fault.values) names.insert(name);
    EXPECT_FALSE(names.empty()) << engine.lastError();
    EXPECT_EQ(names, PlacesOf(FormatFaultTextOf(UiLanguage::English, fault.code)))
        << engine.lastError();
    seen.insert(fault.code);
  }
  EXPECT_EQ(seen.size(), std::size(files)) << "two files show the same fault";
}

TEST(FormatFaultTextTest, AFaultIsSaidWithItsLine) {
  const FormatFault onLine{FormatFaultCode::UnknownElement, 7, {{"element", "b"}, {"parent", "p"}}};
  FormatFault wholeFile{FormatFaultCode::NeverAnchored, 0, {{"key", "t1"}}};
  EXPECT_EQ(FormatFaultText(UiLanguage::English, onLine), "line 7: unknown element <b> inside <p>");
  EXPECT_EQ(FormatFaultText(UiLanguage::Japanese, onLine),
            "7 行目 : <p> の中の要素 <b> は不明です");
  EXPECT_EQ(FormatFaultText(UiLanguage::English, wholeFile),
            "\"t1\" is never anchored in the text");
  EXPECT_EQ(FormatFaultText(UiLanguage::Japanese, wholeFile),
            "\"t1\" はテキストのどこにもアンカーされていません");
}

}  // namespace
}  // namespace tlhost
