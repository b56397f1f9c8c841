// Reading and writing documents (*.tlv) and books (*.tlb) in the engine's XML file format,
// described in docs/file-format.md. Reading either fills the whole model or reports the first
// fault with its line and leaves the target as it was given.
#pragma once

#include <cstdint>
#include <functional>
#include <string>

#include "host/engine/book.h"
#include "host/engine/document.h"
#include "host/engine/format_fault.h"

namespace tlhost {

using IdAllocator = std::function<ObjectId(uint32_t kind)>;

// Answer 0, or ERR_FILE_FORMAT with the first `fault` and its line. The text is parsed in place.
int32_t ReadDocument(std::string text, const IdAllocator& newId, Document& out, FormatFault& fault);
int32_t ReadBook(std::string text, const IdAllocator& newId, Book& out, FormatFault& fault);

std::string WriteDocument(const Document& document);
std::string WriteBook(const Book& book);

}  // namespace tlhost
