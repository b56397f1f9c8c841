#include "library_session.h"

#include <algorithm>
#include <stdexcept>

namespace ondrelkit::testing {
namespace {

size_t g_inUse = 0;

void* Allocate(void*, size_t size) {
  auto* block = static_cast<size_t*>(std::malloc(size + 2 * sizeof(size_t)));
  if (!block) return nullptr;
  *block = size;
  g_inUse += size;
  return block + 2;  // keeps the alignment of malloc
}
void Free(void*, void* block) {
  if (!block) return;
  size_t* header = static_cast<size_t*>(block) - 2;
  g_inUse -= *header;
  std::free(header);
}
void* Reallocate(void*, void*, size_t) {
  return nullptr;
}
size_t Available(void*) {
  return size_t{100} << 20;
}
const OkMemoryCallbacks kMemory = {Allocate, Reallocate, Free, Available, nullptr};

}  // namespace

LibrarySession::LibrarySession() {
  if (OkInitialize("1", &kMemory) != 0) throw std::runtime_error("library did not start");
  core = static_cast<const OkCoreTable*>(OkGetFunctionTable("OkCore", kOkCoreVersion));
  docs = static_cast<const OkDocumentTable*>(OkGetFunctionTable("OkDocument", kOkDocumentVersion));
  objs = static_cast<const OkObjectsTable*>(OkGetFunctionTable("OkObjects", kOkObjectsVersion));
  pages = static_cast<const OkPagesTable*>(OkGetFunctionTable("OkPages", kOkPagesVersion));
  content = static_cast<const OkContentTable*>(OkGetFunctionTable("OkContent", kOkContentVersion));
  if (!core || !docs || !objs || !pages || !content) throw std::runtime_error("table missing");
}

LibrarySession::~LibrarySession() {
  OkTerminate();
}

OkDoc* LibrarySession::Open(const std::string& path) const {
  const std::u16string wide(path.begin(), path.end());
  OkText* text = core->PdfTextFromUtf16(wide.data(), wide.size());
  OkPath* pdfPath = docs->PdfPathFromText(docs->PdfDefaultFileSys(), text);
  core->PdfRelease(text);
  try {
    OkDoc* document = docs->PdfOpenDoc(pdfPath, docs->PdfDefaultFileSys());
    core->PdfRelease(pdfPath);
    return document;
  } catch (...) {
    core->PdfRelease(pdfPath);
    throw;
  }
}

std::string LibrarySession::Utf8(const OkText* text) const {
  std::vector<char> buffer(core->PdfTextBytes(text, nullptr, 0) + 1);
  core->PdfTextBytes(text, buffer.data(), buffer.size());
  return buffer.data();
}

std::string LibrarySession::Utf8(const std::u16string& units) const {
  OkText* text = core->PdfTextFromUtf16(units.data(), units.size());
  std::string out = Utf8(text);
  core->PdfRelease(text);
  return out;
}

std::u16string TextPiece::Text() const {
  std::u16string text;
  for (const Char& c : chars) text += c.unicode;
  return text;
}

std::vector<TextPiece> LibrarySession::PageText(OkPage* page) const {
  std::vector<TextPiece> out;
  std::vector<std::pair<const OkContent*, int>> stack = {{content->PdfPageContent(page), 0}};
  while (!stack.empty()) {
    auto& [container, at] = stack.back();
    if (at >= content->PdfContentCount(container)) {
      stack.pop_back();
      continue;
    }
    const OkElement* element = content->PdfContentAt(container, at++);
    if (content->PdfElementKind(element) == kPdfElementContainer) {
      stack.push_back({content->PdfContainerContent(element), 0});
      continue;
    }
    TextPiece& piece = out.emplace_back();
    const OkElement* marked = content->PdfTextMarkedContent(element);
    piece.marked = marked != nullptr;
    piece.mcid = marked ? content->PdfContainerMcid(marked) : -1;
    for (int run = 0; run < content->PdfTextRunCount(element); ++run) {
      for (int k = 0; k < content->PdfRunCharCount(element, run); ++k) {
        char16_t units[16];
        const size_t n = content->PdfCharUnicode(element, run, k, units, 16);
        TextPiece::Char& c = piece.chars.emplace_back();
        c.unicode.assign(units, std::min<size_t>(n, 15));
        PdfFixed box[4];
        content->PdfCharBox(element, run, k, box);
        for (int e = 0; e < 4; ++e) c.box[e] = static_cast<float>(box[e]) / 65536;  // 16.16
      }
    }
  }
  return out;
}

size_t LibrarySession::BytesInUse() {
  return g_inUse;
}

}  // namespace ondrelkit::testing
