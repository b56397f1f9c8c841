#include <gtest/gtest.h>

#include "host/link/fault_injector.h"
#include "host/link/ui_registry.h"

namespace tlhost {
namespace {

using namespace tolvane;

TEST(UiRegistry, RejectsUnknownObjectsAndDuplicateTags) {
  UiRegistry ui;
  ObjectId id = 0;
  EXPECT_EQ(ui.GetNamedObject(0, OBJ_MENU, "NoSuchMenu", id), ERR_NOT_FOUND);
  EXPECT_EQ(id, 0u);
  EXPECT_EQ(ui.GetNamedObject(MakeId(KIND_MENU, 999), OBJ_MENU_ITEM, "Separator1", id),
            ERR_BAD_OBJECT);
  ASSERT_EQ(ui.DefineCommand(0, 1, "Cmd", "", "", id), 0);
  ObjectId again = 0;
  EXPECT_EQ(ui.DefineCommand(0, 2, "Cmd", "", "", again), ERR_NAME_IN_USE);
  EXPECT_EQ(ui.AddCommandToMenu(MakeId(KIND_MENU, 999), id), ERR_BAD_OBJECT);
}

TEST(FaultInjector, FailsForAChosenNumberOfCalls) {
  FaultInjector faults;
  faults.Fail("GetInt", ERR_BUSY, 2);
  EXPECT_EQ(faults.Check("GetInt"), ERR_BUSY);
  EXPECT_EQ(faults.Check("GetString"), 0);
  EXPECT_EQ(faults.Check("GetInt"), ERR_BUSY);
  EXPECT_EQ(faults.Check("GetInt"), 0);
  faults.Fail("AddText", ERR_FAILED, 1, 2);  // the third call fails, once
  for (const int32_t expected : {0, 0, int32_t{ERR_FAILED}, 0}) {
    EXPECT_EQ(faults.Check("AddText"), expected);
  }
  faults.Fail("*", ERR_FAILED);
  EXPECT_EQ(faults.Check("Anything"), ERR_FAILED);
  faults.ClearAll();
  EXPECT_EQ(faults.Check("Anything"), 0);
}

}  // namespace
}  // namespace tlhost
