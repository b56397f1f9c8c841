// One loaded client library: the interface objects the host offered it, what it registered,
// and the calls that drive it. Every callback runs on the caller's thread, one at a time.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "host/link/host.h"
#include "host/link/load_fault.h"
#include "platform/win/module.h"
#include "tolvane/interfaces.h"

namespace tlhost {

class HostInterfaceSet;

class ClientConnection {
 public:
  ClientConnection(Host& host, int index, std::string path);
  ~ClientConnection();
  ClientConnection(const ClientConnection&) = delete;
  ClientConnection& operator=(const ClientConnection&) = delete;

  // Loads the library and calls its entry point; false with `fault` when that cannot be done.
  bool Connect(LoadFault& fault);
  // Runs the handshake with an entry point linked into this process (no library to load).
  void ConnectLinked(tolvane::ClientInitFunction init, void* module);

  int32_t initResult() const { return initResult_; }
  bool registered() const { return notifications_ != nullptr; }
  uint32_t registeredVersion() const { return registeredVersion_; }
  // The client information entries registered (number, string); null list -> nullopt.
  const std::optional<std::vector<std::pair<int32_t, std::string>>>& registeredInfo() const {
    return registeredInfo_;
  }
  void* moduleHandedBack() const { return moduleHandedBack_; }
  const std::string& path() const { return path_; }
  int index() const { return index_; }

  // Callbacks. Each answers the client's HRESULT, or E_FAIL when the client is not linked.
  int32_t Initialize(int32_t kind);
  int32_t Command(int32_t number);
  int32_t Notify(int32_t notification, tolvane::ObjectId object, const std::string& text,
                 int32_t number);
  int32_t DialogEvent(int32_t dialogNumber, int32_t item, int32_t modifiers);
  int32_t GetResource(int32_t type, const std::string& name, std::vector<uint8_t>& bytes);
  int32_t CmsCommand(tolvane::TCmsResult& result);
  int32_t Quit();
  // The host's final Release of the notification object.
  void Drop();

  // The value the client answered with HostReturnValue during the last callback.
  int32_t returnValue() const { return returnValue_; }
  // Order in which the client released the host interfaces (indices 0 to 16).
  const std::vector<int>& releaseOrder() const { return releaseOrder_; }
  int32_t keepAliveReferences() const { return keepAliveRefs_; }

  // Used by the interface objects.
  Host& host() { return host_; }
  void SetReturnValue(int32_t value) { returnValue_ = value; }
  void OnRegister(tolvane::ITolvaneNotifications0* notifications, uint32_t version,
                  const tolvane::TClientInfoList* info);
  void OnClientModule(void* module) { moduleHandedBack_ = module; }
  void OnInterfaceReleased(int index) { releaseOrder_.push_back(index); }
  void OnKeepAlive(int delta) { keepAliveRefs_ += delta; }
  // Hands a block to the client: kept until the callback ends when the host owns returned memory.
  template <typename T>
  T* Hand(T* block) {
    if (block && host_.handshake().hostOwnsMemory) heldBlocks_.push_back(block);
    return block;
  }

 private:
  template <typename Call>
  int32_t Callback(Call call);
  void Handshake(tolvane::ClientInitFunction init, void* module);
  void FreeHeldBlocks();

  Host& host_;
  int index_;
  std::string path_;
  win::HMODULE module_ = nullptr;
  std::unique_ptr<HostInterfaceSet> interfaces_;
  tolvane::ITolvaneNotifications0* notifications_ = nullptr;
  uint32_t registeredVersion_ = 0;
  std::optional<std::vector<std::pair<int32_t, std::string>>> registeredInfo_;
  void* moduleHandedBack_ = nullptr;
  int32_t initResult_ = -1;
  int32_t returnValue_ = 0;
  int callDepth_ = 0;
  std::vector<int> releaseOrder_;
  int32_t keepAliveRefs_ = 0;
  std::vector<void*> heldBlocks_;
};

}  // namespace tlhost
