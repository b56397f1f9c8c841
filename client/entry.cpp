// The library's single exported entry point: the handshake with the host.
#include <memory>

#include "client/client_info.h"
#include "client/commands.h"
#include "client/link_init.h"
#include "client/notifications.h"
#include "hostlink/host_link.h"
#include "hostlink/host_ops.h"
#include "support/message_output.h"
#include "support/ui_strings.h"

namespace {

using osprevan::hostlink::Link;

constexpr int kFirstGroup = 14;  // interfaces 1 to 14 are asked for before the required check

void AskFor(tolvane::IUnknown* provider, int index) {
  void* out = nullptr;
  if (provider->QueryInterface(tolvane::IID_HOST[index], &out) == tolvane::S_OK && out) {
    Link().interfaces[index] = static_cast<tolvane::IUnknown*>(out);
  }
}

void PrintToHostConsole(const std::string& text) {
  osprevan::HostPrintConsole(text);
}

}  // namespace

extern "C" __attribute__((visibility("default"))) int32_t T_ApiClientInit(
    void* module, tolvane::IUnknown* provider, tolvane::IUnknown* keepAlive,
    const tolvane::TClientInfoList* info) {
  using namespace osprevan::client;
  osprevan::hostlink::HostLink& link = Link();
  InstallCommandHandlers();
  link.module = module;
  if (!provider) return -1;
  for (int i = 0; i < kFirstGroup; ++i) AskFor(provider, i);
  if (!link.interfaces[tolvane::HOST_IF_MAIN]) {
    // Without the main interface the client stays unlinked; give back what it was handed.
    for (int i = 0; i < kFirstGroup; ++i) {
      if (link.interfaces[i]) link.interfaces[i]->Release();
      link.interfaces[i] = nullptr;
    }
    return -1;
  }
  for (int i = kFirstGroup; i < tolvane::HOST_IF_COUNT; ++i) AskFor(provider, i);

  if (auto* memory = link.At<tolvane::ITolvaneMemory>(tolvane::HOST_IF_MEMORY)) {
    if (memory->HostOwnsMemory(1) == tolvane::S_OK) link.sharedMemory = 1;
  }

  auto* notifications = new TolvaneNotificationsC();
  link.notifications = notifications;

  std::unique_ptr<ClientInfoList> ownInfo;
  const tolvane::TClientInfoList* registered = info;
  if (!info && module) {
    ownInfo = std::make_unique<ClientInfoList>(ReadClientInfo(module));
    registered = ownInfo->get();
  }
  link.Main()->RegisterClient(static_cast<tolvane::ITolvaneNotifications0*>(notifications),
                              tolvane::CLIENT_INTERFACE_VERSION, registered);
  if (auto* moduleSink = link.At<tolvane::ITolvaneModule>(tolvane::HOST_IF_MODULE)) {
    moduleSink->SetClientModule(module);
  }
  ownInfo.reset();

  InitializeLink();
  osprevan::support::SetResourceModule(module);
  // Whatever the plug-in says from here on is in the user's language.
  TakeHostLanguage();
  link.keepAlive = keepAlive;
  if (keepAlive) keepAlive->AddRef();
  notifications->Release();
  osprevan::support::SetMessageSink(PrintToHostConsole);
  return 0;
}
