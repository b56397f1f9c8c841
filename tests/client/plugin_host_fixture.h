// A stand-in host that loads the real plug-in library, for tests of the handshake and the
// callbacks as a host drives them.
#pragma once

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <memory>
#include <string>

#include "host/link/client_connection.h"
#include "host/link/host.h"

namespace osprevan::testing {

inline std::string PluginPath() {
  return OSPREVAN_PLUGIN_PATH;
}

class PluginHostTest : public ::testing::Test {
 protected:
  void SetUp() override {
    host_ = std::make_unique<tlhost::Host>();
    SetSession(17, "Tolvane");
  }
  void TearDown() override { host_.reset(); }

  void SetSession(int major, const std::string& product) {
    using namespace tolvane;
    auto& engine = host_->engine();
    engine.SetProp(0, 0, P_SESSION_VERSION_MAJOR, tlhost::Value::Int(major));
    engine.SetProp(0, 0, P_SESSION_PRODUCT_NAME, tlhost::Value::String(product));
    engine.SetProp(0, 0, P_SESSION_LANGUAGE, tlhost::Value::Int(LANG_JAPANESE));
    engine.SetProp(0, 0, P_SESSION_STANDARD_MENUS, tlhost::Value::Int(1));
  }

  // Loads the plug-in; the handshake's result is in client().initResult().
  tlhost::ClientConnection& Load() {
    std::string error;
    const int index = host_->LoadClient(PluginPath(), error);
    EXPECT_GE(index, 0) << error;
    return host_->client(index);
  }

  tlhost::ClientConnection& LoadAndInitialize(int32_t kind = tolvane::INIT_STARTUP) {
    tlhost::ClientConnection& client = Load();
    EXPECT_EQ(client.initResult(), 0);
    client.Initialize(kind);
    return client;
  }

  tlhost::Host& host() { return *host_; }

  // Makes `directory` the user's settings folder with the first-use warning answered for good,
  // so that an import goes straight to the PDF; answers the folder.
  std::filesystem::path UseAnsweredUserDir(const std::filesystem::path& directory) {
    std::filesystem::create_directories(directory);
    std::ofstream(directory / "pdfcomments.ini") << "DontShowInitialWarning=Yes\r\n";
    host_->engine().session().userDir = directory.string();
    return directory;
  }

 private:
  std::unique_ptr<tlhost::Host> host_;
};

}  // namespace osprevan::testing
