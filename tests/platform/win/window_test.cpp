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

TEST(Window, TextIsKeptAndCopiedWithinTheCapacity) {
  HWND window = CreateFrameWindow(u"Tolvane", nullptr);
  char16_t text[4];
  EXPECT_EQ(GetWindowText(window, text, 4), 3);
  EXPECT_EQ(std::u16string(text), u"Tol");
  EXPECT_EQ(GetWindowTextLength(window), 7);
  SendMessage(window, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(u"Ab"));
  EXPECT_EQ(SendMessage(window, WM_GETTEXT, 4, reinterpret_cast<LPARAM>(text)), 2);
  EXPECT_EQ(std::u16string(text), u"Ab");
  DestroyWindow(window);
}

}  // namespace
}  // namespace win
