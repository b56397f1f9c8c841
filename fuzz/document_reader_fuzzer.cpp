// Fuzz target over the host's reader of its XML file format, for documents and books. Besides
// crashes and sanitizer reports it checks the round trip: whatever the reader accepts, the
// writer writes, and reading that back gives the same file again.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "host/engine/file_format.h"

namespace {

uint32_t g_serial = 0;

tolvane::ObjectId NewId(uint32_t kind) {
  return tolvane::MakeId(kind, ++g_serial);
}

template <typename Model, typename Read, typename Write>
void RoundTrip(const std::string& text, uint32_t kind, Read read, Write write, const char* what) {
  Model model;
  tlhost::FormatFault error;
  g_serial = 0;  // each model numbers its objects afresh, as the engine does for a new file
  model.id = NewId(kind);
  if (read(text, NewId, model, error) != 0) return;
  const std::string written = write(model);
  Model again;
  g_serial = 0;
  again.id = NewId(kind);
  if (read(written, NewId, again, error) != 0) {
    std::fprintf(stderr, "document_reader_fuzzer: a written %s does not read back: %s\n", what,
                 tlhost::Diagnostic(error).c_str());
    std::abort();
  }
  if (write(again) != written) {
    std::fprintf(stderr, "document_reader_fuzzer: a %s changed in its round trip\n", what);
    std::abort();
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string text(reinterpret_cast<const char*>(data), size);
  RoundTrip<tlhost::Document>(text, tolvane::KIND_DOCUMENT, tlhost::ReadDocument,
                              tlhost::WriteDocument, "document");
  RoundTrip<tlhost::Book>(text, tolvane::KIND_BOOK, tlhost::ReadBook, tlhost::WriteBook, "book");
  return 0;
}
