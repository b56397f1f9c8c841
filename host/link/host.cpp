#include "host/link/host.h"

#include "host/link/client_connection.h"

namespace tlhost {

Host::Host()
    : engine_(std::make_unique<Engine>()),
      mainWindow_(win::CreateFrameWindow(u"Tolvane", nullptr)) {
  win::SetForegroundWindow(mainWindow_);
  dialogs_.SetOwnerWindow(mainWindow_);
}

Host::~Host() {
  UnloadClients();
  win::DestroyWindow(mainWindow_);
}

int Host::LoadClient(const std::string& path, LoadFault& fault) {
  const int index = static_cast<int>(clients_.size());
  auto connection = std::make_unique<ClientConnection>(*this, index, path);
  if (!connection->Connect(fault)) return -1;
  clients_.push_back(std::move(connection));
  return index;
}

int Host::LoadClient(const std::string& path, std::string& error) {
  LoadFault fault;
  const int index = LoadClient(path, fault);
  if (index < 0) {
    error = path + ": fault " + std::to_string(static_cast<int>(fault.code));
    for (const auto& [name, value] : fault.values) error += " " + name + "=" + value;
  }
  return index;
}

int Host::LinkClient(tolvane::ClientInitFunction init, void* module, const std::string& path) {
  const int index = static_cast<int>(clients_.size());
  clients_.push_back(std::make_unique<ClientConnection>(*this, index, path));
  clients_.back()->ConnectLinked(init, module);
  return index;
}

bool Host::RunCommand(const std::string& tag) {
  const CommandRecord* command = ui_.FindCommandByTag(tag);
  if (!command || command->client < 0 || static_cast<size_t>(command->client) >= clients_.size()) {
    return false;
  }
  clients_[static_cast<size_t>(command->client)]->Command(command->number);
  return true;
}

void Host::UnloadClients() {
  for (auto& client : clients_) client->Quit();
  for (auto& client : clients_) client->Drop();
  clients_.clear();
}

}  // namespace tlhost
