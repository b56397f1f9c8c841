// The PDF library's loading interface and function tables. A client loads the library at run
// time, initialises it with memory callbacks, and takes each table by name and minimum version.
// Operations that fail raise ondrelkit::PdfError.
#pragma once

#include <cstddef>
#include <cstdint>
#include <exception>

namespace ondrelkit {

class PdfError : public std::exception {
 public:
  explicit PdfError(int32_t code) : code_(code) {}
  int32_t code() const { return code_; }
  const char* what() const noexcept override { return "PDF library error"; }

 private:
  int32_t code_;
};

using PdfAtom = uint32_t;
constexpr PdfAtom kNoAtom = 0xFFFFFFFFu;

}  // namespace ondrelkit

extern "C" {

struct OkMemoryCallbacks {
  void* (*allocate)(void* context, size_t size);
  void* (*reallocate)(void* context, void* block, size_t size);
  void (*release)(void* context, void* block);
  size_t (*available)(void* context);
  void* context;
};

// 0 on success; initData is a decimal number as text.
int32_t OkInitialize(const char* initData, const OkMemoryCallbacks* memory);
// A table of at least `minVersion`, or null.
const void* OkGetFunctionTable(const char* name, uint32_t minVersion);
void OkTerminate();

// Table "OkCore": names, and the code of the last error raised on this thread.
constexpr uint32_t kOkCoreVersion = 1;
struct OkCoreTable {
  uint32_t version;
  ondrelkit::PdfAtom (*PdfAtom)(const char* name);
  const char* (*PdfAtomName)(ondrelkit::PdfAtom atom);
  int32_t (*PdfErrorCode)();
};
}
