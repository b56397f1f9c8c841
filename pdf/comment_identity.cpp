#include "pdf/comment_identity.h"

#include <cstdio>
#include <memory>
#include <string_view>

#include "pdf/annotation_entry.h"
#include "pdf/pdf_guard.h"
#include "pdf/pdf_tables.h"

namespace osprevan::pdf {
namespace {

struct HandleReleaser {
  void operator()(OkObj* handle) const { ReleaseHandle(handle); }
};
using OwnedObject = std::unique_ptr<OkObj, HandleReleaser>;

// A 64-bit FNV-1a digest of fields, each taken with its length so that no two lists of fields
// run together into the same bytes.
class Digest {
 public:
  void Add(std::string_view bytes) {
    AddNumber(static_cast<int64_t>(bytes.size()));
    for (char c : bytes) Mix(static_cast<uint8_t>(c));
  }
  void AddNumber(int64_t number) {
    for (int i = 0; i < 8; ++i) Mix(static_cast<uint8_t>(static_cast<uint64_t>(number) >> (8 * i)));
  }
  std::string Text(const char* prefix) const {
    char hex[17];
    std::snprintf(hex, sizeof hex, "%016llx", static_cast<unsigned long long>(state_));
    return std::string(prefix) + hex;
  }

 private:
  void Mix(uint8_t byte) {
    state_ ^= byte;
    state_ *= 0x100000001b3ULL;
  }
  uint64_t state_ = 0xcbf29ce484222325ULL;
};

// The bytes of a string entry; "" when the entry is absent or no string.
std::string StringEntry(const OkAnnot* annot, const char* key) {
  const PdfTables& t = Tables();
  const OwnedObject entry(AnnotEntry(annot, key));
  if (!entry) return "";
  return Guarded(
      [&] {
        if (t.objects->PdfObjType(entry.get()) != kPdfString) return std::string();
        size_t length = 0;
        const char* bytes = t.objects->PdfStringValue(entry.get(), &length);
        return bytes ? std::string(bytes, length) : std::string();
      },
      std::string());
}

// The /Rect and the numbers of /QuadPoints, in the library's fixed point.
void AddBoxes(Digest& digest, const OkAnnot* annot) {
  const PdfTables& t = Tables();
  PdfFixed rect[4] = {};
  Guarded([&] { return t.pages->PdfAnnotRect(annot, rect), 0; }, 0);
  for (PdfFixed value : rect) digest.AddNumber(value);
  const OwnedObject quads(AnnotEntry(annot, "QuadPoints"));
  if (!quads) return;
  Guarded(
      [&] {
        if (t.objects->PdfObjType(quads.get()) != kPdfArray) return 0;
        const int32_t count = t.objects->PdfArrayLength(quads.get());
        for (int32_t i = 0; i < count; ++i) {
          const OwnedObject number(t.objects->PdfArrayGet(quads.get(), i));
          const int32_t type = t.objects->PdfObjType(number.get());
          const bool isNumber = type == kPdfInt || type == kPdfReal;
          digest.AddNumber(isNumber ? t.objects->PdfFixedValue(number.get()) : 0);
        }
        return 0;
      },
      0);
}

}  // namespace

std::string CommentIdentity(const OkAnnot* annot, int32_t page, const std::string& subtype,
                            const std::string& author, const std::string& contents) {
  Digest digest;
  digest.AddNumber(page);
  digest.Add(subtype);
  const std::string name = StringEntry(annot, "NM");
  const std::string created = StringEntry(annot, "CreationDate");
  if (!name.empty()) {
    digest.Add(name);
    digest.Add(created);
    return digest.Text("nm-");
  }
  digest.Add(author);
  digest.Add(created);
  AddBoxes(digest, annot);
  digest.Add(contents);
  return digest.Text("dg-");
}

}  // namespace osprevan::pdf
