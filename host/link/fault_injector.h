// Makes chosen host operations fail with a chosen error, so tests can walk the failure paths
// of a client (a busy host is -88).
#pragma once

#include <cstdint>
#include <map>
#include <string>

namespace tlhost {

class FaultInjector {
 public:
  // The calls of `operation` after the first `after` answer `error`, `times` of them (< 0:
  // without end) or until cleared. `after` lets a client's work start and fail half way.
  void Fail(const std::string& operation, int32_t error, int times = -1, int after = 0);
  void Clear(const std::string& operation);
  void ClearAll();

  // The error to answer for this call of `operation`, or 0 to go ahead.
  int32_t Check(const std::string& operation);

 private:
  struct Fault {
    int32_t error;
    int remaining;
    int passes;  // calls still let through before the fault starts
  };
  std::map<std::string, Fault> faults_;
};

}  // namespace tlhost
