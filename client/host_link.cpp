#include "client/host_link.h"

namespace osprevan::client {

HostLink& Link() {
  static HostLink link;
  return link;
}

}  // namespace osprevan::client
