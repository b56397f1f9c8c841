// A client library that cannot be connected, in words: every code in every language, and the
// values the host gives each fault are the very places its text fills.
#include "host/cli/load_fault_text.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdlib>

#include <set>
#include <string>

#include "host/link/host.h"
#include "tests/host/cli/every_language.h"
#include "text_places.h"

namespace tlhost {
namespace {

TEST(LoadFaultTextTest, EveryCodeHasATextInEveryLanguageWithTheSamePlaces) {
  testing::ExpectEveryKeyInEveryLanguage(LoadFaultTextOf, LoadFaultCode::Count);
}

TEST(LoadFaultTextTest, ALibraryThatIsNotThereIsNamedWithTheLoadersCause) {
  // An empty folder of the test's own: the library asked for is not in it.
  std::string folder = ::testing::TempDir() + "/load-fault-XXXXXX";
  ASSERT_NE(mkdtemp(folder.data()), nullptr);
  const std::string path = folder + "/libclient.so";
  Host host;
  LoadFault fault;
  EXPECT_LT(host.LoadClient(path, fault), 0);
  EXPECT_EQ(fault.code, LoadFaultCode::CannotLoad);
  std::set<std::string> names;
  std::string cause;
  for (const auto& [name, value] : fault.values) {
    names.insert(name);
    if (name == "cause") cause = value;
  }
  EXPECT_EQ(names, osprevan::fixtures::PlacesOf(LoadFaultTextOf(UiLanguage::English, fault.code)));
  EXPECT_FALSE(cause.empty());
  EXPECT_EQ(LoadFaultText(UiLanguage::Japanese, fault),
            "tolvane: クライアントライブラリ " + path + " を読み込めません : " + cause);
  EXPECT_EQ(host.clientCount(), 0u);
  rmdir(folder.c_str());
}

}  // namespace
}  // namespace tlhost
