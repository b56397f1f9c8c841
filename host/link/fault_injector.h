// Makes chosen host operations fail with a chosen error, so tests can walk the failure paths
// of a client (a busy host is -88).
#pragma once

#include <cstdint>
#include <map>
#include <string>

namespace tlhost {

class FaultInjector {
 public:
  // Every call of `operation` answers `error` until cleared; `times` < 0 means without end.
  void Fail(const std::string& operation, int32_t error, int times = -1);
  void Clear(const std::string& operation);
  void ClearAll();

  // The error to answer for this call of `operation`, or 0 to go ahead.
  int32_t Check(const std::string& operation);

 private:
  struct Fault {
    int32_t error;
    int remaining;
  };
  std::map<std::string, Fault> faults_;
};

}  // namespace tlhost
