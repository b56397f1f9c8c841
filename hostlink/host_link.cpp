#include "hostlink/host_link.h"

namespace osprevan::hostlink {

HostLink& Link() {
  static HostLink link;
  return link;
}

}  // namespace osprevan::hostlink
