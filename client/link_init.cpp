#include "client/link_init.h"

#include <unicode/putil.h>

#include <string>

#include "hostlink/host_ops.h"
#include "hostlink/last_call.h"
#include "support/paths.h"
#include "support/text_encoding.h"

namespace osprevan::client {
namespace {

// ICU keeps its data directory in memory of its own until it is set again. When the plug-in
// set it, the plug-in's unload hands it back as it found it, because ICU may leave the process
// together with the plug-in, and its copy would then be lost memory.
class DataDirectoryOwner {
 public:
  ~DataDirectoryOwner() {
    if (set_) u_setDataDirectory("");
  }
  void Set(const std::string& directory) {
    u_setDataDirectory(directory.c_str());
    set_ = true;
  }

 private:
  bool set_ = false;
};

DataDirectoryOwner g_dataDirectory;

}  // namespace

void InitializeLink() {
  if (!support::EncodingsSetUp()) {
    support::SetUpEncodings();
    support::SelectEncoding("TolvRoman");
  }
  const char* current = u_getDataDirectory();
  if (current && *current) return;
  const std::string hostDir = HostGetString(0, 0, tolvane::P_SESSION_HOST_DIR);
  if (hostlink::LastCallStatus("reading the host's folder").ok() && !hostDir.empty()) {
    g_dataDirectory.Set(support::JoinPath(hostDir, "icu_data"));
  }
}

}  // namespace osprevan::client
