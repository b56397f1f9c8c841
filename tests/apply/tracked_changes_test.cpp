// What a deletion does to text that is already a tracked insertion: text inserted before the
// import becomes struck text, as the writer's would; text this placing inserted, and text
// struck already, stays an insertion too, so that neither accepting nor rejecting the changes
// leaves a reviewer's word behind as the writer's.
#include <gtest/gtest.h>

#include <regex>

#include "apply/apply_placement.h"
#include "apply/tracked_insertions.h"
#include "apply/validate_placement.h"
#include "host/engine/file_format.h"
#include "tests/apply/in_process_plugin.h"

namespace osprevan::apply {
namespace {

constexpr const char* kDocument = R"(<document version="1" next-unique="3">
  <condition name="TL8_TRACK_CHANGES_ADDED"/>
  <condition name="TL8_TRACK_CHANGES_DELETED"/>
  <marker-type name="Comment"/>
  <page name="1" kind="body"/>
  <flow name="A" main="yes" page="1">
    <p unique="1">Old <c cond="TL8_TRACK_CHANGES_ADDED" author="Rei" time="5">added</c> and <c
      cond="TL8_TRACK_CHANGES_ADDED|TL8_TRACK_CHANGES_DELETED" author="Sato" time="7">gone</c
      > text.</p>
  </flow>
</document>)";

class TrackedChangesTest : public InProcessPluginTest {
 protected:
  void SetUp() override {
    InProcessPluginTest::SetUp();
    ASSERT_EQ(host_.engine().LoadDocumentText(kDocument, "/tmp/tracked.tlv", doc_), 0);
    host_.engine().GetObjectByUniqueId(doc_, tolvane::OBJ_PARAGRAPH, 1, paragraph_);
  }

  // Applies a placement of `kind` by `author` over begin..end of the paragraph.
  bool Apply(PlacementKind kind, const std::string& author, int32_t begin, int32_t end,
             const std::string& contents = "") {
    comments_.push_back(std::make_unique<pdf::PdfComment>());
    pdf::PdfComment& comment = *comments_.back();
    std::string who = author, text = contents;
    comment.SetAuthor(who);
    comment.SetContents(text);
    Placement p;
    p.kind = kind;
    p.document = doc_;
    p.comment = &comment;
    p.begin = {paragraph_, begin};
    p.end = {paragraph_, end};
    p.insertions = &insertions_;
    ValidatePlacement(p);
    return ApplyPlacement(p, StruckRanges()).ok();
  }
  std::string Written() { return tlhost::WriteDocument(*host_.engine().document(doc_)); }
  // Whether the document has one run of `text` with these conditions, author and time; a time
  // of -1 is any: an undated comment's change is stamped with the time of the import.
  bool HasRun(const std::string& conditions, const std::string& author, int32_t time,
              const std::string& text) {
    const std::string when = time < 0 ? "[0-9]+" : std::to_string(time);
    const std::regex run("<c cond=\"" + conditions + "\" author=\"" + author + "\" time=\"" + when +
                         "\">" + text + "</c>");
    return std::regex_search(Written(), run);
  }

  tolvane::ObjectId doc_ = 0, paragraph_ = 0;
  TrackedInsertions insertions_;
  std::vector<std::unique_ptr<pdf::PdfComment>> comments_;
};

TEST_F(TrackedChangesTest, ADeletionKeepsAnInsertionOnlyWhereTheImportMadeItOrTextIsStruck) {
  struct Case {
    const char* name;
    const char* heldAuthor;  // a stamp this placing inserted with; null: none
    int32_t heldTime;
    bool insertFirst;  // Mika's " new" is inserted after "Old" by the same placing first
    // A run the document has after Ana struck its first 18 characters
    const char* conditions;
    const char* author;
    int32_t time;
    const char* text;
  };
  const char* both = "TL8_TRACK_CHANGES_ADDED\\|TL8_TRACK_CHANGES_DELETED";
  const Case cases[] = {
      {"AnEarlierInsertionBecomesStruck", nullptr, 0, false, "TL8_TRACK_CHANGES_DELETED", "Ana", -1,
       "Old added and "},
      {"ThisImportsInsertionStaysOne", "Rei", 5, false, both, "Ana", -1, "added"},
      {"StruckInsertionKeepsItsStamp", nullptr, 0, false, both, "Sato", 7, "gone"},
      {"InsertedByThisPlacingStaysOne", nullptr, 0, true, both, "Ana", -1, " new"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    SetUp();
    if (c.heldAuthor) insertions_.Note({c.heldAuthor, c.heldTime});
    if (c.insertFirst) {
      ASSERT_TRUE(Apply(PlacementKind::Insertion, "Mika", 3, 3, " new"));
    }
    ASSERT_TRUE(Apply(PlacementKind::Deletion, "Ana", 0, 18));
    EXPECT_TRUE(HasRun(c.conditions, c.author, c.time, c.text)) << Written();
    TearDown();
    insertions_ = {};
  }
}

}  // namespace
}  // namespace osprevan::apply
