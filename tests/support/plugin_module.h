// Loads the built plug-in as a module so that its resources can be read in tests.
#pragma once

#include <gtest/gtest.h>

#include "platform/win/module.h"
#include "support/ui_strings.h"

namespace osprevan::support::testing {

class PluginResources : public ::testing::Test {
 protected:
  void SetUp() override {
    module_ = win::LoadLibrary(OSPREVAN_PLUGIN_PATH);
    ASSERT_NE(module_, nullptr) << win::LastLoaderError();
    SetResourceModule(module_);
    SetEditionFlag(0);
  }
  void TearDown() override {
    SetResourceModule(nullptr);
    if (module_) win::FreeLibrary(module_);
  }
  win::HMODULE module_ = nullptr;
};

}  // namespace osprevan::support::testing
