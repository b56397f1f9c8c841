// The host runtime's memory services, which a client starts at the beginning of each command
// and shuts down at its end. Counters let tests check that every start has its shut-down.
#pragma once

#include <cstdint>

extern "C" {
// Starts the services (nested starts are counted); answers 0.
int32_t TlMemStartup();
// Shuts down one start; answers 0, or -1 when nothing was started.
int32_t TlMemShutdown();
int32_t TlMemActiveStarts();
int64_t TlMemStartupCount();
int64_t TlMemShutdownCount();
}
