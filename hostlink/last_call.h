// The outcome of the host operation just called, as the plug-in's layers answer each other: a
// Status whose code says what the host's error number stands for. The host's own convention (0
// or an empty value, and a last error) ends here; read the outcome right after the call, since
// the next call replaces it.
#pragma once

#include <cstdint>

#include "support/status.h"

namespace osprevan::hostlink {

// Done after a call the host carried out; otherwise `what` failed, with the host's number in
// the reason.
support::Status LastCallStatus(const char* what);

// A question about the last call: the host refused it because the name is taken already.
bool LastCallFoundNameInUse();

// What a host error number means to the caller: not found for a document, object, property or
// name that is not there; refused for a host that is busy, read-only, cancelled, or that does
// not do it; failed for everything else.
support::StatusCode CodeOfHostError(int32_t error);

}  // namespace osprevan::hostlink
