#include "platform/win/window.h"

#include <gtest/gtest.h>

#include <vector>

namespace win {
namespace {

TEST(Window, DestroyedHandlesAreNeverGivenToANewWindow) {
  std::vector<HWND> destroyed;
  for (int i = 0; i < 8; ++i) {
    HWND window = CreateFrameWindow(u"Short-lived", nullptr);
    ASSERT_TRUE(IsWindow(window));
    DestroyWindow(window);
    destroyed.push_back(window);
  }
  for (int i = 0; i < 8; ++i) {
    HWND fresh = CreateFrameWindow(u"Fresh", nullptr);
    for (HWND old : destroyed) EXPECT_NE(fresh, old);
    DestroyWindow(fresh);
  }
  for (HWND old : destroyed) {
    EXPECT_FALSE(IsWindow(old));
    EXPECT_FALSE(SetForegroundWindow(old));
    EXPECT_EQ(GetWindow(old, GW_OWNER), nullptr);
  }
}

TEST(Window, OwnershipForegroundAndEnabling) {
  HWND main = CreateFrameWindow(u"Main", nullptr);
  HWND owned = CreateFrameWindow(u"Owned", main);
  EXPECT_EQ(GetWindow(owned, GW_OWNER), main);
  EXPECT_EQ(GetParent(owned), main);  // a top-level window answers its owner
  EXPECT_EQ(GetWindow(main, GW_OWNER), nullptr);

  ASSERT_TRUE(SetForegroundWindow(owned));
  EXPECT_EQ(GetForegroundWindow(), owned);
  // Destroying the foreground window hands the foreground to its owner.
  DestroyWindow(owned);
  EXPECT_EQ(GetForegroundWindow(), main);

  EXPECT_FALSE(EnableWindow(main, FALSE));  // was enabled
  EXPECT_FALSE(IsWindowEnabled(main));
  EXPECT_NE(GetWindowLong(main, GWL_STYLE) & static_cast<int32_t>(WS_DISABLED), 0);
  EXPECT_TRUE(EnableWindow(main, TRUE));  // was disabled
  EXPECT_TRUE(IsWindowEnabled(main));

  // Windows it owned lose their owner when the owner goes.
  HWND other = CreateFrameWindow(u"Other", main);
  DestroyWindow(main);
  EXPECT_EQ(GetWindow(other, GW_OWNER), nullptr);
  EXPECT_EQ(GetForegroundWindow(), nullptr);
  DestroyWindow(other);
}

TEST(Window, TextIsKeptAndCopiedWithinTheCapacity) {
  HWND window = CreateFrameWindow(u"Tolvane", nullptr);
  char16_t text[4];
  EXPECT_EQ(GetWindowText(window, text, 4), 3);
  EXPECT_EQ(std::u16string(text), u"Tol");
  EXPECT_EQ(GetWindowTextLength(window), 7);
  SendMessage(window, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(u"Ab"));
  EXPECT_EQ(SendMessage(window, WM_GETTEXTLENGTH, 0, 0), 2);
  EXPECT_EQ(SendMessage(window, WM_GETTEXT, 4, reinterpret_cast<LPARAM>(text)), 2);
  EXPECT_EQ(std::u16string(text), u"Ab");
  char name[8];
  EXPECT_EQ(GetClassName(window, name, sizeof name), 5);
  EXPECT_STREQ(name, "Frame");
  DestroyWindow(window);
  EXPECT_EQ(GetClassName(window, name, sizeof name), 0);
}

}  // namespace
}  // namespace win
