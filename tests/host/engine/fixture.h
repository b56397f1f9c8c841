// Hand-written documents for the engine tests, loaded from file text.
#pragma once

#include <gtest/gtest.h>
#include <stdlib.h>

#include <filesystem>
#include <string>

#include "host/engine/engine.h"

namespace tlhost::testing {

// Colours, the tracked-change conditions, a highlight condition and a hidden one; the main
// flow has three paragraphs (unique 1 to 3), the second anchoring a table and a footnote.
inline const char* kPlainDocument = R"(<?xml version="1.0" encoding="UTF-8"?>
<document version="1">
  <colour name="Yellow" reserved="3"/>
  <condition name="TL8_TRACK_CHANGES_ADDED" shown="yes"/>
  <condition name="TL8_TRACK_CHANGES_DELETED" shown="yes"/>
  <condition name="Highlight" shown="yes" background="yes" background-colour="Yellow"/>
  <condition name="Secret" shown="no"/>
  <marker-type name="Comment"/>
  <page name="1" kind="body"/>
  <flow name="A" main="yes" page="1">
    <p unique="1" format="Heading" autonumber="1.&#9;">日本語のテキスト</p>
    <p unique="2">ab<table-anchor ref="t1"/>cd<footnote-anchor ref="fn1"/><c cond="Secret">xy</c>ef</p>
    <p unique="3">last</p>
  </flow>
  <table key="t1">
    <row kind="heading"><cell key="c1"><p unique="10">H</p></cell></row>
    <row kind="body"><cell key="c2"><p unique="11">B1</p></cell><cell key="c3" straddled="yes"><p unique="12">B2</p></cell></row>
  </table>
  <footnote key="fn1" number="1"><p unique="20">note</p></footnote>
</document>
)";

// A folder of the test's own under the test temporary folder, removed with what it holds: two
// test programs run at once never meet in it.
class ScratchDir {
 public:
  ScratchDir() {
    std::string pattern = ::testing::TempDir() + "/engine-test-XXXXXX";
    if (mkdtemp(pattern.data())) path_ = pattern;
  }
  ~ScratchDir() {
    std::error_code ignored;
    if (!path_.empty()) std::filesystem::remove_all(path_, ignored);
  }
  ScratchDir(const ScratchDir&) = delete;
  ScratchDir& operator=(const ScratchDir&) = delete;
  const std::string& path() const { return path_; }

 private:
  std::string path_;
};

class EngineTest : public ::testing::Test {
 protected:
  ObjectId Load(const std::string& text, const std::string& path = "test.tlv") {
    ObjectId id = 0;
    EXPECT_EQ(engine.LoadDocumentText(text, path, id), 0) << engine.lastError();
    return id;
  }
  ObjectId Paragraph(ObjectId doc, int32_t unique) {
    ObjectId id = 0;
    EXPECT_EQ(engine.GetObjectByUniqueId(doc, tolvane::OBJ_PARAGRAPH, unique, id), 0);
    return id;
  }
  ObjectId Named(ObjectId doc, int32_t type, const std::string& name) {
    ObjectId id = 0;
    engine.GetNamedObject(doc, type, name, id);
    return id;
  }
  // The strings of the items, with a mark for every other kind.
  static std::string Describe(const std::vector<TextItem>& items) {
    std::string out;
    for (const TextItem& i : items) {
      out += "(" + std::to_string(i.offset) + ":";
      out += i.kind == tolvane::TI_STRING ? i.text : std::to_string(i.kind);
      out += ")";
    }
    return out;
  }

  Engine engine;
};

}  // namespace tlhost::testing
