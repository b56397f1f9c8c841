#include "client/link_init.h"

#include <unicode/putil.h>

#include <string>

#include "hostlink/host_ops.h"
#include "support/paths.h"
#include "support/text_encoding.h"

namespace osprevan::client {

void InitializeLink() {
  if (!support::EncodingsSetUp()) {
    support::SetUpEncodings();
    support::SelectEncoding("TolvRoman");
  }
  const char* current = u_getDataDirectory();
  if (current && *current) return;
  const std::string hostDir = HostGetString(0, 0, tolvane::P_SESSION_HOST_DIR);
  if (LastHostError() == 0 && !hostDir.empty()) {
    u_setDataDirectory(support::JoinPath(hostDir, "icu_data").c_str());
  }
}

}  // namespace osprevan::client
