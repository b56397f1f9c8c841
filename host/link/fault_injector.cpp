#include "host/link/fault_injector.h"

namespace tlhost {

void FaultInjector::Fail(const std::string& operation, int32_t error, int times, int after) {
  faults_[operation] = {error, times, after};
}

void FaultInjector::Clear(const std::string& operation) {
  faults_.erase(operation);
}

void FaultInjector::ClearAll() {
  faults_.clear();
}

int32_t FaultInjector::Check(const std::string& operation) {
  auto found = faults_.find(operation);
  if (found == faults_.end()) found = faults_.find("*");
  if (found == faults_.end()) return 0;
  if (found->second.passes > 0) {
    --found->second.passes;
    return 0;
  }
  const int32_t error = found->second.error;
  if (found->second.remaining > 0 && --found->second.remaining == 0) faults_.erase(found);
  return error;
}

}  // namespace tlhost
