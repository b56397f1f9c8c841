// A test fixture with the plug-in linked into the stand-in host in the same process, its module
// loaded for the string table, and the PDF library loaded.
#pragma once

#include <gtest/gtest.h>

#include "host/link/client_connection.h"
#include "host/link/host.h"
#include "pdf/pdf_library.h"
#include "platform/win/module.h"

extern "C" int32_t T_ApiClientInit(void*, tolvane::IUnknown*, tolvane::IUnknown*,
                                   const tolvane::TClientInfoList*);

namespace osprevan::apply {

class InProcessPluginTest : public ::testing::Test {
 protected:
  void SetUp() override {
    module_ = win::LoadLibrary(OSPREVAN_PLUGIN_PATH);
    ASSERT_NE(module_, nullptr) << win::LastLoaderError();
    const int client = host_.LinkClient(T_ApiClientInit, module_, OSPREVAN_PLUGIN_PATH);
    ASSERT_EQ(host_.client(client).initResult(), 0);
    ASSERT_TRUE(pdf::PdfLibraryLoadFrom(OSPREVAN_PDF_LIBRARY, "1").ok())
        << pdf::PdfLibraryLastError();
  }
  void TearDown() override {
    pdf::PdfLibraryUnload();
    host_.UnloadClients();
    if (module_) win::FreeLibrary(module_);
  }

  win::HMODULE module_ = nullptr;
  tlhost::Host host_;
};

}  // namespace osprevan::apply
