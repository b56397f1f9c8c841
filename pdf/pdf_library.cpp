#include "pdf/pdf_library.h"

#include <cstdlib>
#include <cstring>
#include <new>

#include "hostlink/host_ops.h"
#include "pdf/pdf_tables.h"
#include "platform/win/module.h"
#include "support/paths.h"

namespace osprevan::pdf {
namespace {

struct LoadedLibrary {
  win::HMODULE module = nullptr;
  bool initialised = false;
  decltype(&OkInitialize) initialize = nullptr;
  decltype(&OkTerminate) terminate = nullptr;
};

LoadedLibrary g_library;
std::string g_lastPath;
std::string g_lastError;
size_t g_bytesInUse = 0;
thread_local int32_t t_lastPdfError = 0;

// Every block carries its size in front, so frees and reallocations keep the count right.
struct alignas(std::max_align_t) BlockHeader {
  size_t size;
};

void* Allocate(void*, size_t size) {
  if (size > kPdfMemoryLimit - g_bytesInUse) return nullptr;
  auto* header = static_cast<BlockHeader*>(std::malloc(sizeof(BlockHeader) + size));
  if (!header) return nullptr;
  header->size = size;
  g_bytesInUse += size;
  return header + 1;
}

void Release(void*, void* block) {
  if (!block) return;
  BlockHeader* header = static_cast<BlockHeader*>(block) - 1;
  g_bytesInUse -= header->size;
  std::free(header);
}

void* Reallocate(void* context, void* block, size_t size) {
  if (!block) return Allocate(context, size);
  BlockHeader* header = static_cast<BlockHeader*>(block) - 1;
  const size_t old = header->size;
  if (size > old && size - old > kPdfMemoryLimit - g_bytesInUse) return nullptr;
  auto* grown = static_cast<BlockHeader*>(std::realloc(header, sizeof(BlockHeader) + size));
  if (!grown) return nullptr;
  grown->size = size;
  g_bytesInUse = g_bytesInUse - old + size;
  return grown + 1;
}

size_t Available(void*) {
  return kPdfMemoryLimit - g_bytesInUse;
}

const OkMemoryCallbacks kMemoryCallbacks = {Allocate, Reallocate, Release, Available, nullptr};

std::string LibraryPath() {
  std::string directory = HostGetString(0, 0, tolvane::P_SESSION_PDF_LIB_PATH);
  if (directory.empty()) {
    std::string name;
    support::SplitPath(HostGetClientPath(), directory, name);
  }
  return support::JoinPath(directory, kPdfLibraryFile);
}

support::Status Fail(const std::string& reason) {
  g_lastError = reason;
  PdfLibraryUnload();
  return support::Status::Failed(reason);
}

}  // namespace

support::Status PdfLibraryLoad() {
  const std::string path = LibraryPath();
  return PdfLibraryLoadFrom(path, HostGetString(0, 0, tolvane::P_SESSION_PDF_LIB_INIT));
}

support::Status PdfLibraryLoadFrom(const std::string& path, const std::string& initData) {
  if (g_library.module) PdfLibraryUnload();
  g_lastError.clear();
  g_lastPath = path;
  g_library.module = win::LoadLibrary(g_lastPath);
  if (!g_library.module) return Fail(win::LastLoaderError());
  g_library.initialize = reinterpret_cast<decltype(&OkInitialize)>(
      win::GetProcAddress(g_library.module, "OkInitialize"));
  g_library.terminate = reinterpret_cast<decltype(&OkTerminate)>(
      win::GetProcAddress(g_library.module, "OkTerminate"));
  auto getTable = reinterpret_cast<decltype(&OkGetFunctionTable)>(
      win::GetProcAddress(g_library.module, "OkGetFunctionTable"));
  if (!g_library.initialize || !g_library.terminate || !getTable) {
    return Fail("the PDF library lacks its loading interface");
  }
  if (g_library.initialize(initData.c_str(), &kMemoryCallbacks) != 0) {
    return Fail("the PDF library refused to initialise");
  }
  g_library.initialised = true;
  if (const support::Status bound = BindTables(g_library.module, getTable); !bound.ok()) {
    return Fail("the PDF library lacks " + bound.reason());
  }
  return support::Status::Done();
}

void PdfLibraryUnload() {
  UnbindTables();
  if (g_library.initialised && g_library.terminate) g_library.terminate();
  if (g_library.module) win::FreeLibrary(g_library.module);
  g_library = LoadedLibrary{};
}

bool PdfLibraryLoaded() {
  return g_library.initialised;
}
const std::string& PdfLibraryLastPath() {
  return g_lastPath;
}
const std::string& PdfLibraryLastError() {
  return g_lastError;
}
size_t PdfLibraryBytesInUse() {
  return g_bytesInUse;
}

int32_t LastPdfError() {
  return t_lastPdfError;
}
void RecordPdfError(int32_t code) {
  t_lastPdfError = code;
}

}  // namespace osprevan::pdf
