#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "fixture.h"

namespace tlhost::testing {
namespace {

using namespace tolvane;

TEST_F(EngineTest, NewDocumentHasReservedColoursAndTheCommentMarkerType) {
  const ObjectId doc = engine.NewDocument("/tmp/new.tlv");
  std::vector<int32_t> codes;
  Value v;
  ASSERT_EQ(engine.GetProp(doc, doc, P_DOC_FIRST_COLOUR, v), 0);
  for (ObjectId c = v.id; c; c = v.id) {
    Value code;
    ASSERT_EQ(engine.GetProp(doc, c, P_COLOUR_RESERVED, code), 0);
    codes.push_back(code.i);
    ASSERT_EQ(engine.GetProp(doc, c, P_COLOUR_NEXT, v), 0);
  }
  EXPECT_NE(std::find(codes.begin(), codes.end(), 3), codes.end());
  EXPECT_NE(std::find(codes.begin(), codes.end(), 8), codes.end());
  EXPECT_NE(Named(doc, OBJ_MARKER_TYPE, "Comment"), 0u);
}

TEST_F(EngineTest, NamedObjectsRefuseNamesInUse) {
  const ObjectId doc = engine.NewDocument("/tmp/new.tlv");
  ObjectId first = 0, second = 5;
  ASSERT_EQ(engine.NewNamedObject(doc, OBJ_CONDITION, "TL_PDF_Comments_Highlight", first), 0);
  EXPECT_EQ(engine.NewNamedObject(doc, OBJ_CONDITION, "TL_PDF_Comments_Highlight", second),
            ERR_NAME_IN_USE);
  EXPECT_EQ(second, 0u);
  EXPECT_EQ(Named(doc, OBJ_CONDITION, "TL_PDF_Comments_Highlight"), first);
  EXPECT_EQ(engine.NewNamedObject(doc, OBJ_CONDITION, "", second), ERR_BAD_NAME);
  EXPECT_EQ(engine.SetProp(doc, first, P_COND_STYLE_OVERRIDE, Value::Int(STYLE_SINGLE_UNDERLINE)),
            0);
  EXPECT_EQ(engine.SetProp(doc, first, P_COND_STYLE_OVERRIDE, Value::Int(9)), ERR_BAD_VALUE);
  EXPECT_EQ(engine.SetProp(doc, first, P_COND_BACKGROUND_COLOUR, Value::Id(first)), ERR_BAD_VALUE);
  EXPECT_EQ(engine.SetProp(doc, first, P_COND_SHOWN, Value::String("1")), ERR_BAD_TYPE);
  Value style;
  ASSERT_EQ(engine.GetProp(doc, first, P_COND_STYLE_OVERRIDE, style), 0);
  EXPECT_EQ(style.i, STYLE_SINGLE_UNDERLINE);
}

TEST_F(EngineTest, PropertiesOfTheWrongObjectKindAreRefused) {
  const ObjectId doc = Load(kPlainDocument);
  const ObjectId pgf = Paragraph(doc, 1);
  Value v;
  EXPECT_EQ(engine.GetProp(doc, pgf, P_COND_NAME, v), ERR_BAD_PROPERTY);
  EXPECT_EQ(engine.GetProp(doc, doc, P_PGF_UNIQUE, v), ERR_BAD_PROPERTY);
  EXPECT_EQ(engine.GetProp(doc, 0x0B00FFFFu, P_PGF_UNIQUE, v), ERR_BAD_OBJECT);
  const ObjectId other = engine.NewDocument("/tmp/other.tlv");
  EXPECT_EQ(engine.GetProp(other, pgf, P_PGF_UNIQUE, v), ERR_BAD_OBJECT);
  EXPECT_EQ(engine.SetProp(doc, pgf, P_PGF_UNIQUE, Value::Int(4)), ERR_READ_ONLY);
}

TEST_F(EngineTest, ParentLinksClimbFromACellToItsBodyPage) {
  const ObjectId doc = Load(kPlainDocument);
  ObjectId at = Paragraph(doc, 11);
  for (int steps = 0;
       at && (KindOf(at) < KIND_BODY_PAGE || KindOf(at) > KIND_HIDDEN_PAGE) && steps < 10;
       ++steps) {
    Value first, second;
    engine.GetProp(doc, at, P_OBJECT_PARENT, first);
    engine.GetProp(doc, at, P_OBJECT_PARENT_2, second);
    at = first.id ? first.id : second.id;
  }
  EXPECT_EQ(KindOf(at), KIND_BODY_PAGE);
  Value row, kind, straddled;
  ASSERT_EQ(engine.GetProp(doc, Paragraph(doc, 12), P_PGF_CELL, row), 0);
  ASSERT_EQ(engine.GetProp(doc, row.id, P_CELL_STRADDLED, straddled), 0);
  EXPECT_EQ(straddled.i, 1);
  ASSERT_EQ(engine.GetProp(doc, row.id, P_CELL_ROW, row), 0);
  ASSERT_EQ(engine.GetProp(doc, row.id, P_ROW_KIND, kind), 0);
  EXPECT_EQ(kind.i, ROW_BODY);
}

TEST_F(EngineTest, OpenFindsOpenFilesWithoutRegardToCaseAndCloseNeverReusesIds) {
  const std::string path = ::testing::TempDir() + "/Case.tlv";
  { std::ofstream(path) << kPlainDocument; }
  ObjectId doc = 0, again = 0;
  std::vector<PropValue> returned;
  ASSERT_EQ(engine.OpenFile(path, {{OPEN_SECOND_NAME, Value::String("x")}}, doc, returned), 0);
  std::string upper = path;
  upper.replace(upper.size() - 8, 4, "CASE");
  ASSERT_EQ(engine.OpenFile(upper, {}, again, returned), 0);
  EXPECT_EQ(again, doc);
  ASSERT_EQ(returned.size(), 1u);
  EXPECT_EQ(returned[0].property, OPEN_RETURN_ALREADY_OPEN);
  const ObjectId pgf = Paragraph(doc, 1);
  engine.SetProp(doc, doc, P_DOC_MODIFIED, Value::Int(1));
  EXPECT_EQ(engine.Close(doc, 0), ERR_CANCELLED);  // unsaved changes are kept
  ASSERT_EQ(engine.Close(doc, CLOSE_DISCARD), 0);
  Value v;
  EXPECT_EQ(engine.GetProp(0, pgf, P_PGF_UNIQUE, v), ERR_BAD_OBJECT);
  ASSERT_EQ(engine.OpenFile(path, {}, again, returned), 0);
  EXPECT_NE(again, doc);
  EXPECT_NE(Paragraph(again, 1), pgf);
  EXPECT_EQ(engine.OpenFile(path + ".missing", {}, again, returned), ERR_FILE_OPEN);
  EXPECT_EQ(engine.Redisplay(doc), ERR_BAD_DOCUMENT);
}

// Open parameters: the returned error, the value types and the second name.
class OpenTest : public EngineTest {
 protected:
  void SetUp() override {
    // One folder per test: ctest runs the tests of this program side by side.
    const std::string name = ::testing::UnitTest::GetInstance()->current_test_info()->name();
    dir = std::filesystem::path(::testing::TempDir() + "/open-" + name).lexically_normal();
    std::filesystem::remove_all(dir);
    std::filesystem::create_directories(dir + "/sub");
  }
  void Write(const std::string& name, const std::string& text = kPlainDocument) {
    std::ofstream(dir + "/" + name) << text;
  }
  int32_t Open(const std::string& path, const std::vector<PropValue>& params) {
    opened = 0;
    return engine.OpenFile(path, params, opened, returned);
  }
  // The error OpenFile returned as a parameter, 0 when none.
  int32_t ReturnedError() const {
    for (const PropValue& p : returned) {
      if (p.property == OPEN_RETURN_ERROR) return p.value.i;
    }
    return 0;
  }
  std::string OpenedPath() {
    Value name;
    EXPECT_EQ(engine.GetProp(0, opened, P_DOC_NAME, name), 0);
    return name.s;
  }

  std::string dir;
  ObjectId opened = 0;
  std::vector<PropValue> returned;
};

TEST_F(OpenTest, EveryFailureReturnsItsErrorAndOpensNothing) {
  Write("doc.tlv");
  Write("broken.tlv", "<document version=\"1\">");
  const std::vector<std::pair<std::vector<PropValue>, int32_t>> wrongTypes = {
      {{{OPEN_ALERT_ANSWERS_PRESET, Value::String("yes")}}, ERR_BAD_VALUE},
      {{{OPEN_SECOND_NAME, Value::Int(1)}}, ERR_BAD_VALUE},
      {{{OPEN_MAKE_VISIBLE, Value::String("")}}, ERR_BAD_VALUE},
  };
  for (const auto& [params, error] : wrongTypes) {
    EXPECT_EQ(Open(dir + "/doc.tlv", params), error);
    EXPECT_EQ(ReturnedError(), error);
    EXPECT_EQ(opened, 0u);
  }
  EXPECT_EQ(Open("", {}), ERR_BAD_NAME);
  EXPECT_EQ(ReturnedError(), ERR_BAD_NAME);
  EXPECT_EQ(Open(dir + "/missing.tlv", {}), ERR_FILE_OPEN);
  EXPECT_EQ(ReturnedError(), ERR_FILE_OPEN);
  EXPECT_EQ(Open(dir + "/broken.tlv", {}), ERR_FILE_FORMAT);
  EXPECT_EQ(ReturnedError(), ERR_FILE_FORMAT);
  EXPECT_TRUE(engine.openDocuments().empty());

  // Preset answers and visibility of the right type open the file and return no error.
  ASSERT_EQ(Open(dir + "/doc.tlv",
                 {{OPEN_ALERT_ANSWERS_PRESET, Value::Int(1)}, {OPEN_MAKE_VISIBLE, Value::Int(0)}}),
            0);
  EXPECT_NE(opened, 0u);
  EXPECT_TRUE(returned.empty());
}

TEST_F(OpenTest, TheSecondNameIsOpenedWhenTheNamedFileIsMissing) {
  Write("named.tlv");
  Write("sub/moved.tlv");
  Write("absolute.tlv");
  const auto second = [](const std::string& name) {
    return std::vector<PropValue>{{OPEN_ALERT_ANSWERS_PRESET, Value::Int(1)},
                                  {OPEN_SECOND_NAME, Value::String(name)}};
  };
  // The named file exists: the second name is not looked at.
  ASSERT_EQ(Open(dir + "/named.tlv", second("sub/moved.tlv")), 0) << engine.lastError();
  EXPECT_EQ(OpenedPath(), dir + "/named.tlv");
  // Missing: a relative second name is taken from the named file's folder.
  ASSERT_EQ(Open(dir + "/sub/../gone.tlv", second("sub/moved.tlv")), 0) << engine.lastError();
  EXPECT_EQ(OpenedPath(), dir + "/sub/moved.tlv");
  const ObjectId moved = opened;
  ASSERT_EQ(Open(dir + "/other-gone.tlv", second("SUB/MOVED.tlv")), 0);
  EXPECT_EQ(opened, moved);  // already open, found without regard to letter case
  EXPECT_EQ(returned.size(), 1u);
  EXPECT_EQ(returned[0].property, OPEN_RETURN_ALREADY_OPEN);
  ASSERT_EQ(Open(dir + "/sub/gone.tlv", second(dir + "/absolute.tlv")), 0);
  EXPECT_EQ(OpenedPath(), dir + "/absolute.tlv");
  // Neither exists.
  EXPECT_EQ(Open(dir + "/gone.tlv", second("nowhere.tlv")), ERR_FILE_OPEN);
  EXPECT_EQ(ReturnedError(), ERR_FILE_OPEN);
  EXPECT_NE(engine.lastError().find(dir + "/nowhere.tlv"), std::string::npos) << engine.lastError();
  EXPECT_EQ(engine.openDocuments().size(), 3u);
}

TEST_F(EngineTest, RedrawsAreCountedPerDocument) {
  const ObjectId a = engine.NewDocument("/tmp/a.tlv");
  const ObjectId b = engine.NewDocument("/tmp/b.tlv");
  ASSERT_EQ(engine.Redisplay(a), 0);
  ASSERT_EQ(engine.Reformat(b), 0);
  ASSERT_EQ(engine.Reformat(b), 0);
  EXPECT_EQ(engine.redisplayCount(a), 1);
  EXPECT_EQ(engine.redisplayCount(b), 0);
  EXPECT_EQ(engine.reformatCount(b), 2);
}

TEST_F(EngineTest, BookComponentsWithTypesAndNestedContainers) {
  const std::string dir = ::testing::TempDir();
  { std::ofstream(dir + "/part.tlv") << kPlainDocument; }
  {
    std::ofstream(dir + "/manual.tlb")
        << "<book version=\"1\">\n"
           "  <component file=\"part.tlv\" second-name=\"Part\" exclude=\"yes\"/>\n"
           "  <component name=\"Group\" type=\"group\" container=\"yes\">\n"
           "    <component file=\"toc.tlv\" type=\"generated-list\"/>\n"
           "  </component>\n"
           "</book>\n";
  }
  ObjectId book = 0;
  std::vector<PropValue> returned;
  ASSERT_EQ(engine.OpenFile(dir + "/manual.tlb", {}, book, returned), 0) << engine.lastError();
  Value first, file, exclude, next, child, type, object;
  ASSERT_EQ(engine.GetProp(0, book, P_BOOK_FIRST_COMPONENT, first), 0);
  ASSERT_EQ(engine.GetProp(book, first.id, P_COMP_FILE_NAME, file), 0);
  EXPECT_EQ(file.s, std::filesystem::path(dir + "/part.tlv").lexically_normal().string());
  ASSERT_EQ(engine.GetProp(book, first.id, P_COMP_EXCLUDE, exclude), 0);
  EXPECT_EQ(exclude.i, 1);
  ASSERT_EQ(engine.GetProp(book, first.id, P_COMP_NEXT, next), 0);
  ASSERT_EQ(engine.GetProp(book, next.id, P_COMP_FIRST_CHILD, child), 0);
  ASSERT_EQ(engine.GetProp(book, child.id, P_COMP_TYPE, type), 0);
  EXPECT_EQ(type.i, COMP_TYPE_GENERATED_LIST);
  ASSERT_EQ(engine.GetProp(book, first.id, P_COMP_OBJECT, object), 0);
  EXPECT_EQ(object.id, 0u);  // the document is not open yet
  ObjectId doc = 0;
  ASSERT_EQ(engine.OpenFile(file.s, {}, doc, returned), 0);
  ASSERT_EQ(engine.GetProp(book, first.id, P_COMP_OBJECT, object), 0);
  EXPECT_EQ(KindOf(object.id), KIND_TEXT_FRAME);
}

}  // namespace
}  // namespace tlhost::testing
