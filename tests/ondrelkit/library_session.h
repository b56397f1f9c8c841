// An initialised PDF library with all its tables, for tests that read documents.
#pragma once

#include <cstdlib>
#include <string>
#include <vector>

#include "ondrelkit/ondrelkit.h"

namespace ondrelkit::testing {

// A text element of a page, with the boxes of its characters (points, y upward) and the MCID
// of the marked content it lies in.
struct TextPiece {
  struct Char {
    std::u16string unicode;
    float box[4];
  };
  bool marked = false;
  int mcid = -1;
  std::vector<Char> chars;
  std::u16string Text() const;
};

// Counts the bytes the library holds through the callbacks, so tests can check that
// everything handed out went back.
class LibrarySession {
 public:
  LibrarySession();
  ~LibrarySession();
  LibrarySession(const LibrarySession&) = delete;
  LibrarySession& operator=(const LibrarySession&) = delete;

  // Raises the library's error when the document does not open.
  OkDoc* Open(const std::string& path) const;
  std::string Utf8(const OkText* text) const;
  std::string Utf8(const std::u16string& units) const;
  static size_t BytesInUse();
  // The page's text elements in content order, containers entered at any depth.
  std::vector<TextPiece> PageText(OkPage* page) const;

  const OkCoreTable* core = nullptr;
  const OkDocumentTable* docs = nullptr;
  const OkObjectsTable* objs = nullptr;
  const OkPagesTable* pages = nullptr;
  const OkContentTable* content = nullptr;
};

}  // namespace ondrelkit::testing
