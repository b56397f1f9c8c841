// Marker texts byte for byte, and markers put into a document of the in-process host.
#include <gtest/gtest.h>

#include <sstream>

#include "apply/marker_text.h"
#include "apply/place_marker.h"
#include "host/engine/show.h"
#include "pdf/content_element.h"
#include "tests/apply/in_process_plugin.h"

namespace osprevan::apply {
namespace {

using pdf::PdfComment;
using K = PlacementKind;

class MarkerTest : public InProcessPluginTest {
 protected:
  // Dated 2024-05-01 at `time` UTC as markers show it; tracked changes are stamped with the
  // seconds of 10:00:00 whatever the text.
  static std::unique_ptr<PdfComment> Comment(std::string author, std::string contents,
                                             const std::string& time = "10:00:00") {
    auto comment = std::make_unique<PdfComment>();
    comment->SetAuthor(author);
    comment->SetContents(contents);
    comment->SetDate("2024/05/01 " + time, 1714557600);
    return comment;
  }
  static Placement Place(PlacementKind kind, const PdfComment* comment, bool misplaced = false) {
    Placement placement;
    placement.kind = kind;
    placement.misplaced = misplaced;
    placement.dateText = "2024/05/01 10:00:00";
    placement.comment = comment;
    return placement;
  }
};

TEST_F(MarkerTest, TextsByKindAndPlace) {
  struct Case {
    const char* name;
    PlacementKind kind;
    bool misplaced;
    std::string author, contents;
    const char* section;  // around the comment's element; null: the comment has no element
    std::string elementText;
    tolvane::ObjectId flow;
    bool approximate;
    std::string expected;  // after "TL_PDF_Comment: "
  };
  const std::string kana = "あいうえおかきくけこさしすせそたちつ";  // 18 characters
  const std::string big(3000, 'x'), bigSection = "Article_" + big;
  const std::string unknown =
      "不明 : 未確認の配置 : (ページ 3,  フロー <不明>) : Mika : 2024/05/01 10:00:00";
  const Case cases[] = {
      {"NoteWithoutContents", K::Note, false, "Mika", "", "Article_A", "", 7, false,
       "ノート注釈 :  : Mika : 2024/05/01 10:00:00"},
      {"Anonymous", K::HighlightNote, false, "", "要確認", nullptr, "", 0, false,
       "ハイライト : <匿名> : 2024/05/01 10:00:00 : 注意 : 要確認 : ハイライトテキスト : 本文"},
      {"ReplacementWithoutCaret", K::Replacement, false, "Mika", "", nullptr, "", 0, false,
       "置換 : Mika : 2024/05/01 10:00:00 : 新規テキスト :  : 置換テキスト : 本文"},
      {"UnconfirmedNoteShowsNoPlace", K::Note, true, "Mika", "x", "Article_A", kana, 7, false,
       "ノート注釈 :  : Mika : 2024/05/01 10:00:00 : 注意 : x"},
      {"UnconfirmedInsertion", K::Insertion, true, "Mika", "", "article_Body", kana, 7, false,
       "挿入 : 未確認の配置 : (ページ 3,  フロー \"Body\", 段落 2 "
       "\"あいうえおかきくけこさしすせそ...\", "
       "文字位置 4) : Mika : 2024/05/01 10:00:00 : 追加テキスト : "},
      {"LongTextsKeptWhole", K::Deletion, true, "Mika", big, bigSection.c_str(), "", 7, false,
       "削除 : 未確認の配置 : (ページ 3,  フロー \"" + big +
           "\", 段落 2 , 文字位置 4) : Mika : "
           "2024/05/01 10:00:00 : 注意 : " +
           big + " : 削除テキスト : 本文"},
      // A tab stays; a backspace is no tab but a character the host refuses.
      {"ControlCharactersTheHostRefuses", K::Note, false, "Mika",
       "a\tb\bc\x01"
       "d",
       "Article_A", "", 7, false,
       "ノート注釈 :  : Mika : 2024/05/01 10:00:00 : 注意 : a\tb\xEF\xBF\xBD"
       "c\xEF\xBF\xBD"
       "d"},
      {"FlowNotFound", K::Other, true, "Mika", "", "Article_A", kana, 0, false, unknown},
      {"NoArticle", K::Other, true, "Mika", "x", "Chapter_A", kana, 7, false, unknown},
      {"Approximate", K::Other, true, "Mika", "", "Article_A", kana, 7, true, unknown},
      {"NoElement", K::Other, true, "Mika", "", nullptr, "", 7, false, unknown},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    pdf::ElementEntry section{pdf::ElementKind::Section, c.section ? c.section : ""};
    pdf::ContentElement element;
    element.containers = &section;
    element.containerIndex = 2;
    for (size_t at = 0; at < c.elementText.size(); at += 3)  // three-byte characters
      element.chars.Append({{}, {}, c.elementText.substr(at, 3), false});
    auto comment = Comment(c.author, c.contents);
    comment->SetPage(2);
    comment->AppendMarkedText("本文");
    comment->SetApproximate(c.approximate);
    if (c.section) comment->SetRange({{&element, 4}, {&element, 6}});
    Placement placement = Place(c.kind, comment.get(), c.misplaced);
    placement.flow = c.flow;
    EXPECT_EQ(ComposeMarkerText(placement), "TL_PDF_Comment: " + c.expected);
  }
}

TEST_F(MarkerTest, AReplacementShowsItsCaretsTextAndNestedReplies) {
  auto strikeOut = Comment("Mika", "");
  strikeOut->AddReply(Comment("Ken", "not shown"));
  auto caret = Comment("Mika", "新");
  auto first = Comment("Ann", "first", "10:01:00");
  auto second = Comment("", "second", "10:02:00");
  second->AddReply(Comment("Cho", "third", "10:03:00"));
  first->AddReply(std::move(second));
  caret->AddReply(std::move(first));
  caret->AddReply(Comment("Dan", "fourth", "11:00:00"));
  strikeOut->SetReplacement(std::move(caret));
  EXPECT_EQ(ComposeMarkerText(Place(PlacementKind::Replacement, strikeOut.get())),
            "TL_PDF_Comment: 置換 : Mika : 2024/05/01 10:00:00 : 新規テキスト : 新 : "
            "置換テキスト : \n-> Ann: [2024/05/01 10:01:00] : first"
            "\n -> : [2024/05/01 10:02:00] : second\n  -> Cho: [2024/05/01 10:03:00] : third"
            "\n-> Dan: [2024/05/01 11:00:00] : fourth");
}

TEST_F(MarkerTest, AChainOfRepliesFromTheFileDoesNotExhaustTheStackOrMemory) {
  auto root = Comment("Mika", "");
  constexpr int kDepth = 3000;
  PdfComment* last = root.get();
  for (int i = 0; i < kDepth; ++i) {
    last->AddReply(std::make_unique<PdfComment>());
    last = last->replies().back().get();
  }
  const std::string thread = ComposeReplyThread(Placement{}, *root, 0);
  EXPECT_EQ(std::count(thread.begin(), thread.end(), '\n'), kDepth);
  EXPECT_LT(thread.size(), size_t{kDepth} * 100);  // linear in the chain, not quadratic
}

class PlaceMarkerTest : public MarkerTest {
 protected:
  // "Hello old world" with "old" deleted, with or without the tracked-insertion condition.
  void Load(bool withAdded) {
    const std::string text =
        std::string("<document version=\"1\">") +
        (withAdded ? "<condition name=\"TL8_TRACK_CHANGES_ADDED\"/>" : "") +
        R"(<condition name="TL8_TRACK_CHANGES_DELETED"/><marker-type name="Comment"/>
        <page name="1" kind="body"/><flow name="A" main="yes" page="1"><p unique="1">Hello <c
        cond="TL8_TRACK_CHANGES_DELETED" author="Rei">old</c> world</p></flow></document>)";
    ASSERT_EQ(host_.engine().LoadDocumentText(text, "/tmp/m.tlv", doc_), 0);
    host_.engine().GetObjectByUniqueId(doc_, tolvane::OBJ_PARAGRAPH, 1, paragraph_);
    comment_ = Comment("Mika", "Check");
    placement_ = Place(PlacementKind::Note, comment_.get());
    placement_.document = doc_;
  }
  void TearDown() override {
    comment_.reset();  // its date goes back before the library is unloaded
    MarkerTest::TearDown();
  }
  // The paragraph as the host prints it.
  std::string Shown() {
    std::ostringstream out;
    tlhost::ShowDocument(*host_.engine().document(doc_), out);
    const std::string text = out.str();
    const size_t at = text.find("[1]: ") + 5;
    return text.substr(at, text.find('\n', at) - at);
  }

  tolvane::ObjectId doc_ = 0, paragraph_ = 0;
  std::unique_ptr<PdfComment> comment_;
  Placement placement_;
};

TEST_F(PlaceMarkerTest, MarkersAreTrackedInsertionsOutsideDeletedText) {
  struct Case {
    const char* name;
    bool withAdded;
    int32_t offset, protectDeleted;  // the host session's setting
    bool readOnly;
    bool placed;
    std::string shown;
  };
  const std::string marker =
      "[marker Comment: TL_PDF_Comment: ノート注釈 :  : Mika : 2024/05/01 10:00:00 : 注意 : Check]";
  const std::string added = "{+Mika 2024-05-01T10:00:00Z|" + marker + "+}";
  const std::string old = "{-Rei 1970-01-01T00:00:00Z|old-}";
  const std::string unchanged = "Hello " + old + " world";
  const Case cases[] = {
      {"BeforeDeletedText", true, 6, 1, false, true, "Hello " + added + old + " world"},
      {"InsideDeletedText", true, 8, 1, false, false, unchanged},
      {"InsideDeletedTextNotProtected", true, 8, 0, false, true,
       "Hello {-Rei 1970-01-01T00:00:00Z|ol-}" + added + "{-Rei 1970-01-01T00:00:00Z|d-} world"},
      {"AfterTheParagraphEnd", true, 16, 1, false, true, unchanged + added},
      {"RefusedByTheHost", true, 2, 1, true, false, unchanged},
      {"NoInsertionConditionKeepsTheMarker", false, 15, 1, false, false, unchanged + marker},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    Load(c.withAdded);
    host_.engine().session().trackDeletedTest = c.protectDeleted;
    host_.engine().SetProp(doc_, doc_, tolvane::P_DOC_READ_ONLY, tlhost::Value::Int(c.readOnly));
    EXPECT_EQ(PlaceMarker(placement_, {paragraph_, c.offset}).ok(), c.placed);
    EXPECT_EQ(Shown(), c.shown);
  }
}

TEST_F(PlaceMarkerTest, ALocationTheHostRefusesIsNotJudgedByTheOldSelection) {
  Load(true);
  ASSERT_TRUE(LocationIsDeleted(placement_, {paragraph_, 8}));  // the selection is now in "old"
  EXPECT_FALSE(LocationIsDeleted(placement_, {paragraph_, 99}));
}

}  // namespace
}  // namespace osprevan::apply
