#include "platform/win/module_handle.h"

#include <gtest/gtest.h>

#include <string>

#include "platform/win/module.h"
#include "platform/win/utf16.h"

namespace win {
namespace {

// The plug-in finds its own library by the path the host gives for it, and its file's name.
TEST(GetModuleHandle, FindsALibraryByItsFileAndNothingElse) {
  const HMODULE library = ModuleFromAddress(reinterpret_cast<const void*>(&GetModuleHandle));
  std::string path;
  ASSERT_TRUE(GetModuleFileName(library, path));
  const std::string folder = path.substr(0, path.rfind('/'));
  EXPECT_EQ(GetModuleHandle(Utf8ToWide(path)), library);
  EXPECT_EQ(GetModuleHandle(Utf8ToWide(folder + "/./" + path.substr(folder.size() + 1))), library);
  EXPECT_EQ(GetModuleHandle(u""), nullptr);
  EXPECT_EQ(GetModuleHandle(u"/nonexistent/module.so"), nullptr);
  EXPECT_EQ(GetModuleHandle(u"/etc/hostname"), nullptr);  // a file, but no module
}

}  // namespace
}  // namespace win
