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
  const ObjectId other = engine.NewDocument("other.tlv");
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

// One folder per test, as ctest runs the tests of this program side by side.
class OpenTest : public EngineTest {
 protected:
  void SetUp() override { dir = scratch.path(); }
  void Write(const std::string& name, const std::string& text = kPlainDocument) {
    std::ofstream(dir + "/" + name) << text;
  }
  int32_t Open(const std::string& path, const std::vector<PropValue>& params = {}) {
    opened = 0;
    return engine.OpenFile(path, params, opened, returned);
  }
  // The error OpenFile returned as a parameter, 0 when none.
  int32_t ReturnedError() const {
    for (const PropValue& p : returned)
      if (p.property == OPEN_RETURN_ERROR) return p.value.i;
    return 0;
  }
  ScratchDir scratch;
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

}  // namespace
}  // namespace tlhost::testing
