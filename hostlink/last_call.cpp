#include "hostlink/last_call.h"

#include <string>

#include "hostlink/host_ops.h"
#include "tolvane/numbers.h"

namespace osprevan::hostlink {

support::StatusCode CodeOfHostError(int32_t error) {
  switch (error) {
    case tolvane::ERR_NONE:
      return support::StatusCode::kDone;
    case tolvane::ERR_BAD_DOCUMENT:
    case tolvane::ERR_BAD_OBJECT:
    case tolvane::ERR_BAD_PROPERTY:
    case tolvane::ERR_NOT_FOUND:
      return support::StatusCode::kNotFound;
    case tolvane::ERR_BUSY:
    case tolvane::ERR_READ_ONLY:
    case tolvane::ERR_CANCELLED:
    case tolvane::ERR_NAME_IN_USE:
    case tolvane::ERR_NOT_SUPPORTED:
      return support::StatusCode::kRefused;
    default:
      return support::StatusCode::kFailed;
  }
}

support::Status LastCallStatus(const char* what) {
  const int32_t error = LastHostError();
  if (error == tolvane::ERR_NONE) return support::Status::Done();
  std::string reason = std::string(what) + " (host error " + std::to_string(error) + ")";
  switch (CodeOfHostError(error)) {
    case support::StatusCode::kNotFound:
      return support::Status::NotFound(std::move(reason));
    case support::StatusCode::kRefused:
      return support::Status::Refused(std::move(reason));
    default:
      return support::Status::Failed(std::move(reason));
  }
}

bool LastCallFoundNameInUse() {
  return LastHostError() == tolvane::ERR_NAME_IN_USE;
}

}  // namespace osprevan::hostlink
