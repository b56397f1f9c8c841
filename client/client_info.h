// The client information list the client registers with: up to ten strings read from the
// version resource of this library's file.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "tolvane/values.h"

namespace osprevan::client {

struct ClientInfoEntry {
  int32_t number;
  std::string value;
};

// The entries found in the version resource of the module file, in key order; empty when the
// file name or the version resource cannot be read.
std::vector<ClientInfoEntry> ReadClientInfo(void* module);

// A client information list in the interface's layout, owning its strings.
class ClientInfoList {
 public:
  explicit ClientInfoList(std::vector<ClientInfoEntry> entries);
  const tolvane::TClientInfoList* get() const { return &list_; }

 private:
  std::vector<ClientInfoEntry> entries_;
  std::vector<tolvane::TClientInfoEntry> records_;
  tolvane::TClientInfoList list_{};
};

}  // namespace osprevan::client
