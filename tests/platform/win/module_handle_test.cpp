#include "platform/win/module_handle.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <climits>
#include <string>

#include "platform/win/module.h"
#include "platform/win/utf16.h"

namespace win {
namespace {

std::string ProgramPath() {
  char path[PATH_MAX];
  const ssize_t length = readlink("/proc/self/exe", path, sizeof path - 1);
  return length > 0 ? std::string(path, static_cast<size_t>(length)) : std::string();
}

TEST(GetModuleHandle, FindsTheProgramAndLibrariesByTheirFiles) {
  // The program is the one module the loader lists without a name.
  const HMODULE program = ModuleFromAddress(reinterpret_cast<const void*>(&ProgramPath));
  ASSERT_NE(program, nullptr);
  EXPECT_EQ(GetModuleHandle(Utf8ToWide(ProgramPath())), program);
  std::string named;
  ASSERT_TRUE(GetModuleFileName(program, named));
  EXPECT_EQ(GetModuleHandle(Utf8ToWide(named)), program);

  // A library, by a path other than the one it was loaded by.
  const HMODULE library = ModuleFromAddress(reinterpret_cast<const void*>(&GetModuleHandle));
  std::string libraryPath;
  ASSERT_TRUE(GetModuleFileName(library, libraryPath));
  const std::string folder = libraryPath.substr(0, libraryPath.rfind('/'));
  EXPECT_EQ(GetModuleHandle(Utf8ToWide(folder + "/./" + libraryPath.substr(folder.size() + 1))),
            library);

  EXPECT_EQ(GetModuleHandle(u""), nullptr);
  EXPECT_EQ(GetModuleHandle(u"/nonexistent/module.so"), nullptr);
  EXPECT_EQ(GetModuleHandle(u"/etc/hostname"), nullptr);  // a file, but no module
}

}  // namespace
}  // namespace win
