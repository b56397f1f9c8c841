// The stand-in host: its document engine, its menus and commands, what it recorded, and the
// client libraries it loaded, which it drives through their notification objects.
#pragma once

#include <bitset>
#include <memory>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "host/dialogs/dialog_layer.h"
#include "host/engine/engine.h"
#include "host/link/fault_injector.h"
#include "host/link/load_fault.h"
#include "host/link/recorder.h"
#include "host/link/responder.h"
#include "host/link/ui_registry.h"
#include "platform/win/window.h"
#include "tolvane/interfaces.h"

namespace tlhost {

class ClientConnection;

// How the next client is offered the host's interfaces.
struct HandshakeOptions {
  std::bitset<tolvane::HOST_IF_COUNT> supplied = std::bitset<tolvane::HOST_IF_COUNT>().set();
  bool passProvider = true;
  bool passModuleHandle = true;
  bool hostOwnsMemory = false;  // interface 15 answers that returned blocks stay the host's
  // Client information handed over instead of letting the client read its own.
  std::optional<std::vector<std::pair<int32_t, std::string>>> clientInfo;
};

class Host {
 public:
  Host();
  ~Host();
  Host(const Host&) = delete;
  Host& operator=(const Host&) = delete;

  Engine& engine() { return *engine_; }
  UiRegistry& ui() { return ui_; }
  Recorder& recorder() { return recorder_; }
  Responder& responder() { return responder_; }
  FaultInjector& faults() { return faults_; }
  HandshakeOptions& handshake() { return handshake_; }
  DialogLayer& dialogs() { return dialogs_; }
  // The frame window standing for the host's main window, from construction to destruction.
  win::HWND mainWindow() const { return mainWindow_; }

  // Loads a client library and runs its handshake. Answers the client's index, or -1 with the
  // reason in `fault` when the library cannot be loaded or its entry point is missing.
  int LoadClient(const std::string& path, LoadFault& fault);
  // The same for a caller that only logs why: `error` is "PATH: fault K name=..." (not for users).
  int LoadClient(const std::string& path, std::string& error);
  // Connects a client whose entry point is linked into this program; answers its index.
  int LinkClient(tolvane::ClientInitFunction init, void* module, const std::string& path);
  ClientConnection& client(int index) { return *clients_.at(static_cast<size_t>(index)); }
  size_t clientCount() const { return clients_.size(); }

  // Runs a command by its tag, as choosing it from a menu does; false when no client defined it.
  bool RunCommand(const std::string& tag);

  // Drops every client: Quit, then the final Release; the libraries are unloaded last.
  void UnloadClients();

 private:
  std::unique_ptr<Engine> engine_;
  win::HWND mainWindow_ = nullptr;
  UiRegistry ui_;
  Recorder recorder_;
  Responder responder_;
  FaultInjector faults_;
  HandshakeOptions handshake_;
  DialogLayer dialogs_;
  std::vector<std::unique_ptr<ClientConnection>> clients_;
};

}  // namespace tlhost
