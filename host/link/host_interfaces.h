// The COM-style objects the host offers one client: the provider it asks for interfaces, the
// seventeen host interfaces and the keep-alive object.
#pragma once

#include <cstdint>
#include <memory>

#include "tolvane/interfaces.h"

namespace tlhost {

class ClientConnection;

class HostInterfaceSet {
 public:
  explicit HostInterfaceSet(ClientConnection& connection);
  ~HostInterfaceSet();

  tolvane::IUnknown* provider();
  tolvane::IUnknown* keepAlive();
  // Whether the client asked for a notification, and whether it switched Unicode on.
  bool NotificationRequested(int32_t notification) const;
  bool UnicodeEnabled() const;

 private:
  struct Objects;
  std::unique_ptr<Objects> objects_;
};

}  // namespace tlhost
