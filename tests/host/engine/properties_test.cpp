#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <optional>

#include "fixture.h"

namespace tlhost::testing {
namespace {

using namespace tolvane;

TEST_F(EngineTest, NamedObjectsAndPropertiesRefuseWhatTheirKindDoesNotHold) {
  const ObjectId doc = Load(kPlainDocument);
  const ObjectId pgf = Paragraph(doc, 1);
  ObjectId first = 0, second = 5;
  ASSERT_EQ(engine.NewNamedObject(doc, OBJ_CONDITION, "TL_PDF_Comments_Highlight", first), 0);
  EXPECT_EQ(engine.NewNamedObject(doc, OBJ_CONDITION, "TL_PDF_Comments_Highlight", second),
            ERR_NAME_IN_USE);
  EXPECT_EQ(second, 0u);
  EXPECT_EQ(Named(doc, OBJ_CONDITION, "TL_PDF_Comments_Highlight"), first);
  EXPECT_EQ(engine.NewNamedObject(doc, OBJ_CONDITION, "", second), ERR_BAD_NAME);
  ASSERT_EQ(engine.SetProp(doc, first, P_COND_STYLE_OVERRIDE, Value::Int(STYLE_SINGLE_UNDERLINE)),
            0);
  const ObjectId other = engine.NewDocument("/tmp/other.tlv");
  const struct {
    ObjectId doc, object;
    int32_t property;
    std::optional<Value> set;  // a get when empty
    int32_t error;
  } refused[] = {
      {doc, first, P_COND_STYLE_OVERRIDE, Value::Int(9), ERR_BAD_VALUE},
      {doc, first, P_COND_BACKGROUND_COLOUR, Value::Id(first), ERR_BAD_VALUE},
      {doc, first, P_COND_SHOWN, Value::String("1"), ERR_BAD_TYPE},
      {doc, pgf, P_PGF_UNIQUE, Value::Int(4), ERR_READ_ONLY},
      {doc, pgf, P_COND_NAME, {}, ERR_BAD_PROPERTY},
      {doc, doc, P_PGF_UNIQUE, {}, ERR_BAD_PROPERTY},
      {doc, 0x0B00FFFFu, P_PGF_UNIQUE, {}, ERR_BAD_OBJECT},
      {other, pgf, P_PGF_UNIQUE, {}, ERR_BAD_OBJECT},
  };
  for (const auto& r : refused) {
    Value v;
    EXPECT_EQ(r.set ? engine.SetProp(r.doc, r.object, r.property, *r.set)
                    : engine.GetProp(r.doc, r.object, r.property, v),
              r.error)
        << r.property;
  }
  Value style;
  ASSERT_EQ(engine.GetProp(doc, first, P_COND_STYLE_OVERRIDE, style), 0);
  EXPECT_EQ(style.i, STYLE_SINGLE_UNDERLINE);
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
  Value cell, kind, straddled;
  ASSERT_EQ(engine.GetProp(doc, Paragraph(doc, 12), P_PGF_CELL, cell), 0);
  ASSERT_EQ(engine.GetProp(doc, cell.id, P_CELL_STRADDLED, straddled), 0);
  EXPECT_EQ(straddled.i, 1);
  ASSERT_EQ(engine.GetProp(doc, cell.id, P_CELL_ROW, cell), 0);
  ASSERT_EQ(engine.GetProp(doc, cell.id, P_ROW_KIND, kind), 0);
  EXPECT_EQ(kind.i, ROW_BODY);
}

// One folder per test, as ctest runs the tests of this program side by side.
class OpenTest : public EngineTest {
 protected:
  void SetUp() override {
    const std::string name = ::testing::UnitTest::GetInstance()->current_test_info()->name();
    dir = std::filesystem::path(::testing::TempDir() + "/open-" + name).lexically_normal();
    std::filesystem::remove_all(dir);
    std::filesystem::create_directories(dir + "/sub");
  }
  void Write(const std::string& name, const std::string& text = kPlainDocument) {
    std::ofstream(dir + "/" + name) << text;
  }
  int32_t Open(const std::string& path, const std::vector<PropValue>& params = {}) {
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
  const std::pair<std::pair<std::string, std::vector<PropValue>>, int32_t> cases[] = {
      {{"doc.tlv", {{OPEN_ALERT_ANSWERS_PRESET, Value::String("yes")}}}, ERR_BAD_VALUE},
      {{"doc.tlv", {{OPEN_SECOND_NAME, Value::Int(1)}}}, ERR_BAD_VALUE},
      {{"doc.tlv", {{OPEN_MAKE_VISIBLE, Value::String("")}}}, ERR_BAD_VALUE},
      {{"missing.tlv", {}}, ERR_FILE_OPEN},
      {{"broken.tlv", {}}, ERR_FILE_FORMAT},
  };
  for (const auto& [open, error] : cases) {
    EXPECT_EQ(Open(dir + "/" + open.first, open.second), error);
    EXPECT_EQ(ReturnedError(), error);
    EXPECT_EQ(opened, 0u);
  }
  EXPECT_EQ(Open(""), ERR_BAD_NAME);
  EXPECT_TRUE(engine.openDocuments().empty());
  // Preset answers and visibility of the right type open the file and return no error.
  ASSERT_EQ(Open(dir + "/doc.tlv",
                 {{OPEN_ALERT_ANSWERS_PRESET, Value::Int(1)}, {OPEN_MAKE_VISIBLE, Value::Int(0)}}),
            0);
  EXPECT_TRUE(returned.empty());
}

TEST_F(OpenTest, OpenFilesAreFoundWithoutRegardToCaseAndClosedIdsAreNeverReused) {
  Write("Case.tlv");
  ASSERT_EQ(Open(dir + "/Case.tlv"), 0);
  const ObjectId doc = opened;
  ASSERT_EQ(Open(dir + "/CASE.tlv"), 0);
  EXPECT_EQ(opened, doc);
  ASSERT_EQ(returned.size(), 1u);
  EXPECT_EQ(returned[0].property, OPEN_RETURN_ALREADY_OPEN);
  const ObjectId pgf = Paragraph(doc, 1);
  engine.SetProp(doc, doc, P_DOC_MODIFIED, Value::Int(1));
  EXPECT_EQ(engine.Close(doc, 0), ERR_CANCELLED);  // unsaved changes are kept
  ASSERT_EQ(engine.Close(doc, CLOSE_DISCARD), 0);
  Value v;
  EXPECT_EQ(engine.GetProp(0, pgf, P_PGF_UNIQUE, v), ERR_BAD_OBJECT);
  EXPECT_EQ(engine.Redisplay(doc), ERR_BAD_DOCUMENT);
  ASSERT_EQ(Open(dir + "/Case.tlv"), 0);
  EXPECT_NE(opened, doc);
  EXPECT_NE(Paragraph(opened, 1), pgf);
}

TEST_F(OpenTest, TheSecondNameIsOpenedWhenTheNamedFileIsMissing) {
  Write("named.tlv");
  Write("sub/moved.tlv");
  Write("absolute.tlv");
  const auto second = [](const std::string& name) {
    return std::vector<PropValue>{{OPEN_ALERT_ANSWERS_PRESET, Value::Int(1)},
                                  {OPEN_SECOND_NAME, Value::String(name)}};
  };
  // The named file exists: the second name is not looked at. Missing: a relative second name
  // is taken from the named file's folder.
  const struct {
    const char* named;
    std::string second;
    const char* opened;
  } cases[] = {{"/named.tlv", "sub/moved.tlv", "/named.tlv"},
               {"/sub/../gone.tlv", "sub/moved.tlv", "/sub/moved.tlv"},
               {"/sub/gone.tlv", dir + "/absolute.tlv", "/absolute.tlv"}};
  for (const auto& c : cases) {
    ASSERT_EQ(Open(dir + c.named, second(c.second)), 0) << engine.lastError();
    EXPECT_EQ(OpenedPath(), dir + c.opened);
  }
  // Neither exists.
  EXPECT_EQ(Open(dir + "/gone.tlv", second("nowhere.tlv")), ERR_FILE_OPEN);
  EXPECT_EQ(ReturnedError(), ERR_FILE_OPEN);
  EXPECT_NE(engine.lastError().find(dir + "/nowhere.tlv"), std::string::npos) << engine.lastError();
  EXPECT_EQ(engine.openDocuments().size(), 3u);
}

TEST_F(OpenTest, BookComponentsWithTypesAndNestedContainers) {
  Write("part.tlv");
  Write("manual.tlb",
        "<book version=\"1\">\n"
        "  <component file=\"part.tlv\" second-name=\"Part\" exclude=\"yes\"/>\n"
        "  <component name=\"Group\" type=\"group\" container=\"yes\">\n"
        "    <component file=\"toc.tlv\" type=\"generated-list\"/>\n"
        "  </component>\n"
        "</book>\n");
  ASSERT_EQ(Open(dir + "/manual.tlb"), 0) << engine.lastError();
  const ObjectId book = opened;
  Value first, file, exclude, next, child, type, object;
  ASSERT_EQ(engine.GetProp(0, book, P_BOOK_FIRST_COMPONENT, first), 0);
  ASSERT_EQ(engine.GetProp(book, first.id, P_COMP_FILE_NAME, file), 0);
  EXPECT_EQ(file.s, dir + "/part.tlv");
  ASSERT_EQ(engine.GetProp(book, first.id, P_COMP_EXCLUDE, exclude), 0);
  EXPECT_EQ(exclude.i, 1);
  ASSERT_EQ(engine.GetProp(book, first.id, P_COMP_NEXT, next), 0);
  ASSERT_EQ(engine.GetProp(book, next.id, P_COMP_FIRST_CHILD, child), 0);
  ASSERT_EQ(engine.GetProp(book, child.id, P_COMP_TYPE, type), 0);
  EXPECT_EQ(type.i, COMP_TYPE_GENERATED_LIST);
  ASSERT_EQ(engine.GetProp(book, first.id, P_COMP_OBJECT, object), 0);
  EXPECT_EQ(object.id, 0u);  // the document is not open yet
  ASSERT_EQ(Open(file.s), 0);
  ASSERT_EQ(engine.GetProp(book, first.id, P_COMP_OBJECT, object), 0);
  EXPECT_EQ(KindOf(object.id), KIND_TEXT_FRAME);
}

}  // namespace
}  // namespace tlhost::testing
