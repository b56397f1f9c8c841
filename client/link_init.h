// Link initialisation, run at the handshake and again when the host initialises the client:
// the support library's encodings, and ICU's data directory from the host's directory.
#pragma once

namespace osprevan::client {

void InitializeLink();

}  // namespace osprevan::client
