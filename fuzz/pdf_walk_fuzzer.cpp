// Fuzz target over the PDF library alone: opening the input bytes, every page's annotations and
// interpreted content, and the structure tree from its root and from each marked-content
// sequence upward. Everything the library hands out is released, and its count of blocks must
// be back where it started after each input.
#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <set>
#include <string>
#include <vector>

#include "ondrelkit/ondrelkit.h"

namespace {

// Bounds that keep one input's walk short; the library's own guards are what is under test.
constexpr int32_t kMostPages = 64;
constexpr int kMostElements = 20000;
constexpr int kMostClimb = 512;

void* Allocate(void*, size_t size) {
  return std::malloc(size ? size : 1);
}
void* Reallocate(void*, void* block, size_t size) {
  return std::realloc(block, size ? size : 1);
}
void Release(void*, void* block) {
  std::free(block);
}
size_t Available(void*) {
  return size_t{1} << 30;
}

struct Library {
  const OkCoreTable* core = nullptr;
  const OkDocumentTable* docs = nullptr;
  const OkPagesTable* pages = nullptr;
  const OkContentTable* content = nullptr;
  const OkDatesTable* dates = nullptr;
  std::string path;

  Library() {
    static const OkMemoryCallbacks memory = {Allocate, Reallocate, Release, Available, nullptr};
    if (OkInitialize("1", &memory) != 0) std::abort();
    core = static_cast<const OkCoreTable*>(OkGetFunctionTable("OkCore", kOkCoreVersion));
    docs = static_cast<const OkDocumentTable*>(OkGetFunctionTable("OkDocument", 1));
    pages = static_cast<const OkPagesTable*>(OkGetFunctionTable("OkPages", 1));
    content = static_cast<const OkContentTable*>(OkGetFunctionTable("OkContent", 1));
    dates = static_cast<const OkDatesTable*>(OkGetFunctionTable("OkDates", 1));
    const char* shm = "/dev/shm";
    namespace fs = std::filesystem;
    const fs::path base = fs::is_directory(shm) ? fs::path(shm) : fs::temp_directory_path();
    path = (base / ("osprevan-walk-" + std::to_string(getpid()) + ".pdf")).string();
  }
  ~Library() {
    std::remove(path.c_str());
    OkTerminate();
  }
};

// Calls `step`, taking a library error as the defined answer it is.
template <typename Step>
void Guarded(Step step) {
  try {
    step();
  } catch (...) {
  }
}

void ClimbAndRead(const Library& lib, OkStructElem* element) {
  for (int i = 0; element && i < kMostClimb; ++i) {
    Guarded([&] {
      char id[64];
      PdfStructElemId(element, id, sizeof id);
      PdfStructElemType(element);
    });
    OkText* text = lib.core->PdfTextNew();
    Guarded([&] { PdfStructElemActualText(element, text); });
    lib.core->PdfRelease(text);
    OkStructElem* parent = nullptr;
    Guarded([&] { parent = PdfStructElemParent(element); });
    element = parent;
  }
}

void WalkContent(const Library& lib, OkPage* page, const OkContent* top, OkObj* pageObject,
                 int& budget) {
  std::vector<const OkContent*> pending{top};
  while (!pending.empty() && budget > 0) {
    const OkContent* content = pending.back();
    pending.pop_back();
    const int32_t count = lib.content->PdfContentCount(content);
    for (int32_t i = 0; i < count && budget-- > 0; ++i) {
      const OkElement* element = lib.content->PdfContentAt(content, i);
      if (lib.content->PdfElementKind(element) == kPdfElementContainer) {
        lib.content->PdfContainerTag(element);
        const int32_t mcid = lib.content->PdfContainerMcid(element);
        if (mcid >= 0)
          Guarded([&] { ClimbAndRead(lib, PdfMarkedContentParent(pageObject, mcid)); });
        pending.push_back(lib.content->PdfContainerContent(element));
        continue;
      }
      lib.content->PdfTextMarkedContent(element);
      for (int32_t r = 0; r < lib.content->PdfTextRunCount(element); ++r) {
        for (int32_t k = 0; k < lib.content->PdfRunCharCount(element, r); ++k) {
          PdfFixed box[4];
          uint8_t codes[8];
          char16_t unicode[8];
          lib.content->PdfCharBox(element, r, k, box);
          lib.content->PdfCharCodes(element, r, k, codes, sizeof codes);
          lib.content->PdfCharUnicode(element, r, k, unicode, 8);
        }
      }
    }
  }
}

void ReadAnnotations(const Library& lib, OkPage* page) {
  const int32_t count = lib.pages->PdfAnnotCount(page);
  for (int32_t i = 0; i < count && i < kMostElements; ++i) {
    OkAnnot* annot = nullptr;
    Guarded([&] { annot = lib.pages->PdfAnnotAt(page, i); });
    if (!annot) continue;
    Guarded([&] { lib.pages->PdfAnnotSubtype(annot); });
    Guarded([&] {
      PdfFixed rect[4];
      lib.pages->PdfAnnotRect(annot, rect);
    });
    OkText* text = lib.core->PdfTextNew();
    Guarded([&] { lib.pages->PdfAnnotTitle(annot, text); });
    Guarded([&] { lib.pages->PdfAnnotContents(annot, text); });
    lib.core->PdfRelease(text);
    OkDate* date = lib.dates->PdfDateNew();
    Guarded([&] { lib.dates->PdfAnnotDate(annot, date); });
    lib.dates->PdfDateFree(date);
    Guarded([&] { lib.core->PdfRelease(lib.pages->PdfAnnotDict(annot)); });
    lib.core->PdfRelease(annot);
  }
}

void WalkStructureTree(const Library& lib, const OkDoc* doc) {
  if (!lib.docs->PdfStructRoot(doc)) return;
  Guarded([&] { lib.core->PdfRelease(PdfStructRoleMap(doc)); });
  std::vector<OkStructElem*> pending;
  for (int32_t i = 0; i < kMostElements; ++i) {
    OkStructElem* kid = nullptr;
    Guarded([&] { kid = PdfStructRootKid(doc, i); });
    if (!kid) break;
    pending.push_back(kid);
  }
  std::set<OkStructElem*> seen;
  int budget = kMostElements;
  while (!pending.empty() && budget-- > 0) {
    OkStructElem* element = pending.back();
    pending.pop_back();
    if (!seen.insert(element).second) continue;
    ClimbAndRead(lib, element);
    // Once per element: the search for its first page may visit the whole tree below it.
    Guarded([&] { PdfStructElemFirstPage(element); });
    int32_t kids = 0;
    Guarded([&] { kids = PdfStructElemKidCount(element); });
    for (int32_t k = 0; k < kids && k < kMostElements; ++k) {
      Guarded([&] {
        int32_t page = -1;
        switch (PdfStructElemKidKind(element, k)) {
          case kPdfKidElement:
            pending.push_back(PdfStructElemKid(element, k));
            break;
          case kPdfKidMarkedContent:
            PdfStructElemKidMcid(element, k, &page);
            break;
          case kPdfKidObject:
            lib.core->PdfRelease(PdfStructElemKidObject(element, k));
            break;
          default:
            break;
        }
      });
    }
  }
}

void Walk(const Library& lib) {
  OkText* name = lib.core->PdfTextFromBytes(lib.path.data(), lib.path.size());
  OkPath* path = lib.docs->PdfPathFromText(lib.docs->PdfDefaultFileSys(), name);
  lib.core->PdfRelease(name);
  OkDoc* doc = nullptr;
  Guarded([&] { doc = lib.docs->PdfOpenDoc(path, lib.docs->PdfDefaultFileSys()); });
  lib.core->PdfRelease(path);
  if (!doc) return;
  Guarded([&] { lib.core->PdfRelease(lib.docs->PdfDocInfoText(doc, "Creator")); });
  const int32_t pageCount = lib.docs->PdfPageCount(doc);
  for (int32_t p = 0; p < pageCount && p < kMostPages; ++p) {
    OkPage* page = nullptr;
    Guarded([&] { page = lib.pages->PdfAcquirePage(doc, p); });
    if (!page) continue;
    Guarded([&] {
      lib.pages->PdfPageRotation(page);
      PdfFixed box[4];
      lib.pages->PdfPageBox(page, box);
    });
    Guarded([&] { ReadAnnotations(lib, page); });
    OkObj* pageObject = nullptr;
    Guarded([&] { pageObject = lib.pages->PdfPageObject(page); });
    Guarded([&] {
      int budget = kMostElements;
      WalkContent(lib, page, lib.content->PdfPageContent(page), pageObject, budget);
    });
    lib.core->PdfRelease(pageObject);
    lib.pages->PdfReleasePage(page);
  }
  Guarded([&] { WalkStructureTree(lib, doc); });
  lib.docs->PdfCloseDoc(doc);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static Library lib;
  {
    std::ofstream out(lib.path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));
  }
  const int64_t blocksBefore = OkBlocksInUse();
  Walk(lib);
  if (OkBlocksInUse() != blocksBefore) {
    std::fprintf(stderr, "pdf_walk_fuzzer: the library kept %lld blocks\n",
                 static_cast<long long>(OkBlocksInUse() - blocksBefore));
    std::abort();
  }
  return 0;
}
