// Loading the PDF library once per import command: find it, initialise it with the plug-in's
// memory callbacks, take its function tables, and shut it down at the end of the command.
#pragma once

#include <cstdint>
#include <string>

#include "support/status.h"

namespace osprevan::pdf {

constexpr const char* kPdfLibraryFile = "libOndrelkit.so";
// The library may hold at most this much of the plug-in's memory at a time.
constexpr size_t kPdfMemoryLimit = 100u * 1024u * 1024u;

// Done when the library is loaded and initialised; failed otherwise, with why (nothing stays
// loaded).
support::Status PdfLibraryLoad();
// Loads the library file at `path` with the given initialisation data (PdfLibraryLoad finds
// both through the host).
support::Status PdfLibraryLoadFrom(const std::string& path, const std::string& initData);
void PdfLibraryUnload();
bool PdfLibraryLoaded();

// Where the last load looked for the library, and why it failed (for diagnostics).
const std::string& PdfLibraryLastPath();
const std::string& PdfLibraryLastError();

// Bytes the library holds through the memory callbacks right now.
size_t PdfLibraryBytesInUse();

// The last error code the library raised, recorded by callers that caught it.
int32_t LastPdfError();
// The library's error for an encrypted PDF that opens only with a password.
constexpr int32_t kPdfErrorNeedsPassword = 9;
void RecordPdfError(int32_t code);

}  // namespace osprevan::pdf
