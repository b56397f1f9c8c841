#include <gtest/gtest.h>

#include "host/link/fault_injector.h"
#include "tolvane/numbers.h"

namespace tlhost {
namespace {

using namespace tolvane;

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
