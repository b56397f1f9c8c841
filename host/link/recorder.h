// What the host saw a client do that a person would see: console lines, alerts, usage events
// and dialogs, kept in order for tests and for the command line to print.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace tlhost {

struct AlertRecord {
  std::string text;
  int32_t kind;
  int32_t answer;  // 0 OK or Yes, 1 No
};

struct UsageRecord {
  std::string category;
  std::string feature;
  std::string event;
};

struct Recorder {
  std::string console;  // everything printed, as printed
  std::vector<AlertRecord> alerts;
  std::vector<UsageRecord> usage;
  std::vector<std::string> dialogsOpened;  // names asked of HostOpenDialogResource
  std::vector<std::string> nativeDialogs;  // template names of the native dialogs run
  bool echo = false;  // also write console text and alerts to standard output as they come

  // The plug-in reports each document it places comments into, just before it does, with the
  // usage event "Osprevan" "StructureDoc" or "UnstructureDoc"; nothing else tells the host that
  // an import went ahead.
  bool ImportRan() const {
    for (const UsageRecord& u : usage) {
      if (u.category == "Osprevan" &&
          (u.feature == "StructureDoc" || u.feature == "UnstructureDoc")) {
        return true;
      }
    }
    return false;
  }

  void Clear() {
    console.clear();
    alerts.clear();
    usage.clear();
    dialogsOpened.clear();
    nativeDialogs.clear();
  }
};

}  // namespace tlhost
