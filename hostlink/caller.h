// Who started an import: a person through the menu, or another client through a call. Messages
// and refusals go where that one reads them: an alert for a person, the host console and the
// call's return value for a client.
#pragma once

namespace osprevan::hostlink {

struct Caller {
  bool isOtherClient = false;
};

}  // namespace osprevan::hostlink
