#include "platform/win/window.h"

#include <gtest/gtest.h>

#include <vector>

namespace win {
namespace {

// A handle kept by a caller after its window went must never reach a new window.
TEST(Window, DestroyedHandlesAreNeverGivenToANewWindow) {
  std::vector<HWND> destroyed;
  for (int i = 0; i < 8; ++i) {
    destroyed.push_back(CreateFrameWindow(u"Short-lived", nullptr));
    DestroyWindow(destroyed.back());
  }
  for (int i = 0; i < 8; ++i) {
    HWND fresh = CreateFrameWindow(u"Fresh", nullptr);
    for (HWND old : destroyed) EXPECT_NE(fresh, old);
    DestroyWindow(fresh);
  }
  for (HWND old : destroyed) {
    EXPECT_FALSE(IsWindow(old));
    EXPECT_FALSE(SetForegroundWindow(old));
  }
}

}  // namespace
}  // namespace win
