#include "host/link/client_connection.h"

#include <cstring>

#include "host/link/host_interfaces.h"
#include "platform/win/task_allocator.h"

namespace tlhost {

using namespace tolvane;

ClientConnection::ClientConnection(Host& host, int index, std::string path)
    : host_(host), index_(index), path_(std::move(path)) {}

ClientConnection::~ClientConnection() {
  Drop();
  FreeHeldBlocks();
  // The library goes last: the client's objects live in its code.
  if (module_) win::FreeLibrary(module_);
}

bool ClientConnection::Connect(LoadFault& fault) {
  module_ = win::LoadLibrary(path_);
  if (!module_) {
    fault = {LoadFaultCode::CannotLoad, {{"path", path_}, {"cause", win::LastLoaderError()}}};
    return false;
  }
  auto init =
      reinterpret_cast<ClientInitFunction>(win::GetProcAddress(module_, CLIENT_INIT_SYMBOL));
  if (!init) {
    fault = {LoadFaultCode::NoEntryPoint, {{"path", path_}, {"symbol", CLIENT_INIT_SYMBOL}}};
    return false;
  }
  Handshake(init, module_);
  return true;
}

void ClientConnection::ConnectLinked(ClientInitFunction init, void* module) {
  Handshake(init, module);
}

void ClientConnection::Handshake(ClientInitFunction init, void* module) {
  interfaces_ = std::make_unique<HostInterfaceSet>(*this);
  const HandshakeOptions& options = host_.handshake();

  // Host-supplied client information, laid out for the call.
  std::vector<std::string> strings;
  std::vector<TClientInfoEntry> entries;
  TClientInfoList list{0, nullptr};
  if (options.clientInfo) {
    strings.reserve(options.clientInfo->size());
    for (const auto& [number, text] : *options.clientInfo) {
      strings.push_back(text);
      TClientInfoEntry entry{};
      entry.number = number;
      entry.value.property = number;
      entry.value.type = VT_STRING;
      entry.value.u.sval = strings.back().data();
      entries.push_back(entry);
    }
    list = {static_cast<uint32_t>(entries.size()), entries.data()};
  }
  ++callDepth_;
  initResult_ = init(options.passModuleHandle ? module : nullptr,
                     options.passProvider ? interfaces_->provider() : nullptr,
                     interfaces_->keepAlive(), options.clientInfo ? &list : nullptr);
  --callDepth_;
  FreeHeldBlocks();
}

void ClientConnection::OnRegister(ITolvaneNotifications0* notifications, uint32_t version,
                                  const TClientInfoList* info) {
  if (notifications_) notifications_->Release();
  notifications_ = notifications;
  if (notifications_) notifications_->AddRef();
  registeredVersion_ = version;
  registeredInfo_.reset();
  if (info) {
    std::vector<std::pair<int32_t, std::string>> entries;
    for (uint32_t i = 0; info->val && i < info->len; ++i) {
      const TValue& v = info->val[i].value;
      entries.emplace_back(info->val[i].number, v.type == VT_STRING && v.u.sval ? v.u.sval : "");
    }
    registeredInfo_ = std::move(entries);
  }
}

template <typename Call>
int32_t ClientConnection::Callback(Call call) {
  if (!notifications_) return E_FAIL;
  if (callDepth_ == 0) returnValue_ = 0;
  ++callDepth_;
  const int32_t result = call(notifications_);
  --callDepth_;
  if (callDepth_ == 0) FreeHeldBlocks();
  return result;
}

int32_t ClientConnection::Initialize(int32_t kind) {
  return Callback([&](ITolvaneNotifications0* n) { return n->Initialize(kind); });
}

int32_t ClientConnection::Command(int32_t number) {
  return Callback([&](ITolvaneNotifications0* n) { return n->Command(number); });
}

int32_t ClientConnection::Notify(int32_t notification, ObjectId object, const std::string& text,
                                 int32_t number) {
  if (notification != NOTE_FIELD_LIST && interfaces_ &&
      !interfaces_->NotificationRequested(notification)) {
    return S_FALSE;  // the host only delivers what a client asked for
  }
  return Callback([&](ITolvaneNotifications0* n) {
    return n->Notify(notification, object, text.c_str(), number);
  });
}

int32_t ClientConnection::DialogEvent(int32_t dialogNumber, int32_t item, int32_t modifiers) {
  return Callback(
      [&](ITolvaneNotifications0* n) { return n->DialogEvent(dialogNumber, item, modifiers); });
}

int32_t ClientConnection::GetResource(int32_t type, const std::string& name,
                                      std::vector<uint8_t>& bytes) {
  return Callback([&](ITolvaneNotifications0* n) {
    TResourceBlock block{0, nullptr};
    const int32_t result = n->GetResource(type, name.c_str(), &block);
    if (result == S_OK && block.data) {
      const auto* data = static_cast<const uint8_t*>(block.data);
      bytes.assign(data, data + block.size);
      CoTaskMemFree(block.data);
    }
    return result;
  });
}

int32_t ClientConnection::CmsCommand(TCmsResult& result) {
  return Callback([&](ITolvaneNotifications0* n) {
    void* cms = nullptr;
    if (n->QueryInterface(IID_ITolvaneCMSNotifications0, &cms) != S_OK || !cms)
      return E_NOINTERFACE;
    auto* commands = static_cast<ITolvaneCMSNotifications0*>(cms);
    const int32_t answer = commands->CMSCommand(nullptr, &result);
    commands->Release();
    return answer;
  });
}

int32_t ClientConnection::Quit() {
  return Callback([&](ITolvaneNotifications0* n) { return n->Quit(); });
}

void ClientConnection::Drop() {
  if (!notifications_) return;
  ITolvaneNotifications0* last = notifications_;
  notifications_ = nullptr;
  last->Release();
}

void ClientConnection::FreeHeldBlocks() {
  for (void* block : heldBlocks_) CoTaskMemFree(block);
  heldBlocks_.clear();
}

}  // namespace tlhost
