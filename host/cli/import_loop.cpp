#include "host/cli/import_loop.h"

#include <malloc.h>

#include <chrono>
#include <iomanip>

#include "host/cli/cli_texts.h"
#include "host/cli/error_text.h"
#include "host/link/client_connection.h"
#include "platform/win/module.h"
#include "platform/win/task_allocator.h"

#if defined(__has_feature)
#if __has_feature(address_sanitizer)
#define TLHOST_ASAN 1
#endif
#endif
#if defined(__SANITIZE_ADDRESS__)
#define TLHOST_ASAN 1
#endif
#ifdef TLHOST_ASAN
// From the sanitizer runtime; declared here because GCC does not install its header.
extern "C" size_t __sanitizer_get_current_allocated_bytes();
#endif

namespace tlhost {
namespace {

size_t HeapInUse() {
#ifdef TLHOST_ASAN
  return __sanitizer_get_current_allocated_bytes();
#else
  return mallinfo2().uordblks;
#endif
}

// Holds the PDF library loaded for the life of the loop and reads its count of blocks.
class HeldPdfLibrary {
 public:
  explicit HeldPdfLibrary(const std::string& path) : module_(win::LoadLibrary(path)) {
    if (module_) {
      blocksInUse_ = reinterpret_cast<int64_t (*)()>(win::GetProcAddress(module_, "OkBlocksInUse"));
    }
  }
  ~HeldPdfLibrary() {
    if (module_) win::FreeLibrary(module_);
  }
  HeldPdfLibrary(const HeldPdfLibrary&) = delete;
  HeldPdfLibrary& operator=(const HeldPdfLibrary&) = delete;

  bool ok() const { return blocksInUse_ != nullptr; }
  int64_t blocksInUse() const { return blocksInUse_(); }

 private:
  win::HMODULE module_ = nullptr;
  int64_t (*blocksInUse_)() = nullptr;
};

}  // namespace

bool RepeatImport(UiLanguage language, Host& host, const std::string& pdfLibraryPath,
                  const ImportRequest& request, int rounds, std::ostream& out,
                  std::vector<ImportRound>& measured) {
  const HeldPdfLibrary library(pdfLibraryPath);
  if (!library.ok()) {
    out << Said(language, CliText::CannotHoldPdfLibrary, {{"path", pdfLibraryPath}}) << "\n";
    return false;
  }
  Engine& engine = host.engine();
  measured.reserve(measured.size() + static_cast<size_t>(rounds));  // not to count its growth
  for (int round = 1; round <= rounds; ++round) {
    ObjectId id = 0;
    std::vector<PropValue> returned;
    if (const int32_t error = engine.OpenFile(request.file, {}, id, returned);
        error != 0 || id == 0) {
      out << Said(language, CliText::CannotOpen,
                  {{"path", request.file},
                   {"why", OpenProblem(language, engine, request.file, error)}})
          << "\n";
      return false;
    }
    engine.SetProp(0, 0, tolvane::P_SESSION_ACTIVE_DOC, Value::Id(id));
    host.recorder().Clear();
    const auto start = std::chrono::steady_clock::now();
    host.client(0).Notify(tolvane::NOTE_CLIENT_CALL, 0, request.pdf, 0);
    const std::chrono::duration<double> took = std::chrono::steady_clock::now() - start;
    ImportRound result;
    result.ran = host.recorder().ImportRan();
    result.seconds = took.count();
    engine.Close(id, tolvane::CLOSE_DISCARD);
    host.recorder().Clear();
    result.taskBlocks = CoTaskMemOutstanding();
    result.pdfBlocks = library.blocksInUse();
    result.heapBytes = HeapInUse();
    measured.push_back(result);
    out << "[round] " << round << (result.ran ? " imported " : " refused ") << std::fixed
        << std::setprecision(4) << result.seconds << " s, task blocks " << result.taskBlocks
        << ", PDF library blocks " << result.pdfBlocks << ", heap " << result.heapBytes
        << " bytes\n";
  }
  return true;
}

}  // namespace tlhost
