// Initialisation, termination and the function tables of the library.
#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <map>
#include <mutex>
#include <string>
#include <vector>

#include "ondrelkit/ondrelkit.h"
#include "poppler/Error.h"
#include "poppler/GlobalParams.h"
#include "src/errors.h"
#include "src/memory.h"
#include "src/operations.h"
#include "src/read_ahead.h"

namespace ondrelkit {
namespace {

bool g_initialised = false;
OkMemoryCallbacks g_memory{};
long g_initData = 0;

std::mutex g_atomMutex;
std::map<std::string, PdfAtom>& AtomsByName() {
  static std::map<std::string, PdfAtom> atoms;
  return atoms;
}
std::vector<const std::string*>& NamesByAtom() {
  static std::vector<const std::string*> names;
  return names;
}

thread_local int32_t t_lastError = 0;
std::atomic<int64_t> g_blocksInUse{0};

// Poppler reports every repair it makes on a damaged file; the library answers damage with its
// own error codes, so those reports reach the host's error output only when OK_DEBUG is set.
void PopplerDiagnostic(ErrorCategory, Goffset position, const char* message) {
  if (position >= 0) {
    std::fprintf(stderr, "Ondrelkit: %s (at byte %lld)\n", message,
                 static_cast<long long>(position));
  } else {
    std::fprintf(stderr, "Ondrelkit: %s\n", message);
  }
}

// Without a callback and with quiet set, Poppler drops a report before formatting it. Over the
// fuzzers' damaged files, formatting reports nobody reads took 8% of an import's instructions.
void RoutePopplerDiagnostics() {
  const bool wanted = std::getenv("OK_DEBUG") != nullptr;
  globalParams->setErrQuiet(!wanted);
  setErrorCallback(wanted ? PopplerDiagnostic : nullptr);
}

}  // namespace

PdfAtom AtomOf(const char* name) {
  RequireInitialised();
  if (!name) Raise(kErrBadArgument);
  std::lock_guard<std::mutex> lock(g_atomMutex);
  auto [at, added] = AtomsByName().try_emplace(name, static_cast<PdfAtom>(NamesByAtom().size()));
  if (added) NamesByAtom().push_back(&at->first);
  return at->second;
}

const char* AtomNameOf(PdfAtom atom) {
  RequireInitialised();
  std::lock_guard<std::mutex> lock(g_atomMutex);
  if (atom >= NamesByAtom().size()) Raise(kErrBadArgument);
  return NamesByAtom()[atom]->c_str();
}

namespace {

int32_t LastErrorCode() {
  return t_lastError;
}

const OkCoreTable kCoreTable = {kOkCoreVersion, AtomOf,        AtomNameOf, LastErrorCode, TextNew,
                                TextFromUtf16,  TextFromBytes, TextBytes,  TextToUtf16,   Release};

const OkDocumentTable kDocumentTable = {
    kOkDocumentVersion, DefaultFileSys, PathFromText, OpenDoc,
    CloseDoc,           PageCount,      DocInfoText,  StructRoot};

}  // namespace

void RequireInitialised() {
  if (!g_initialised) Raise(kErrNotInitialised);
}

const OkMemoryCallbacks& Memory() {
  return g_memory;
}

void CountBlocks(int64_t change) {
  g_blocksInUse += change;
}

void Raise(int32_t code) {
  t_lastError = code;
  throw PdfError(code);
}

}  // namespace ondrelkit

extern "C" {

__attribute__((visibility("default"))) int32_t OkInitialize(const char* initData,
                                                            const OkMemoryCallbacks* memory) {
  if (!initData || !*initData || !memory || !memory->allocate || !memory->release ||
      !memory->reallocate || !memory->available) {
    return ondrelkit::kErrBadArgument;
  }
  char* end = nullptr;
  const long value = std::strtol(initData, &end, 10);
  if (*end != '\0') return ondrelkit::kErrBadArgument;
  ondrelkit::g_initData = value;
  ondrelkit::g_memory = *memory;
  if (!globalParams) globalParams = std::make_unique<GlobalParams>();
  ondrelkit::RoutePopplerDiagnostics();
  ondrelkit::g_initialised = true;
  return 0;
}

__attribute__((visibility("default"))) const void* OkGetFunctionTable(const char* name,
                                                                      uint32_t minVersion) {
  if (!ondrelkit::g_initialised || !name) return nullptr;
  if (std::strcmp(name, "OkCore") == 0 && minVersion <= kOkCoreVersion) {
    return &ondrelkit::kCoreTable;
  }
  if (std::strcmp(name, "OkDocument") == 0 && minVersion <= kOkDocumentVersion) {
    return &ondrelkit::kDocumentTable;
  }
  if (std::strcmp(name, "OkObjects") == 0 && minVersion <= kOkObjectsVersion) {
    return &ondrelkit::kObjectsTable;
  }
  if (std::strcmp(name, "OkDates") == 0 && minVersion <= kOkDatesVersion) {
    return &ondrelkit::kDatesTable;
  }
  if (std::strcmp(name, "OkPages") == 0 && minVersion <= kOkPagesVersion) {
    return &ondrelkit::kPagesTable;
  }
  if (std::strcmp(name, "OkContent") == 0 && minVersion <= kOkContentVersion) {
    return &ondrelkit::kContentTable;
  }
  return nullptr;
}

__attribute__((visibility("default"))) void OkTerminate() {
  ondrelkit::g_initialised = false;
}

__attribute__((visibility("default"))) int64_t OkBlocksInUse() {
  return ondrelkit::g_blocksInUse.load();
}

__attribute__((visibility("default"))) int64_t OkPagesReadAhead() {
  return ondrelkit::PagesReadAhead();
}
}
