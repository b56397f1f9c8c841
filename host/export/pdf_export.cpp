#include "host/export/pdf_export.h"

#include <sys/stat.h>

#include <chrono>
#include <cstdio>
#include <fstream>
#include <set>

#include "host/export/content_builder.h"
#include "host/export/page_layout.h"
#include "host/export/pdf_finisher.h"

namespace tlhost::pdfexport {
namespace {

using tolvane::KindOf;

class BookExporter {
 public:
  BookExporter(Engine& engine, const ExportOptions& options, StructTree& tree, LayoutContent& out)
      : engine_(engine), options_(options), tree_(tree), out_(out) {}

  // Components in book order, containers entered, nested books entered once; the components
  // the book leaves out, generated lists and maps have no source text to export.
  int32_t Components(const Book& book, const std::vector<ObjectId>& list, bool nested, int parent,
                     std::string& error) {
    for (ObjectId id : list) {
      const BookComponent& c = book.componentsById.at(id);
      if (c.exclude || (nested && c.excludeNested)) continue;
      if (c.container) {
        if (int32_t e = Components(book, c.children, nested, parent, error)) return e;
        continue;
      }
      if (c.type != tolvane::COMP_TYPE_DOCUMENT && c.type != tolvane::COMP_TYPE_BOOK) continue;
      ObjectId opened = 0;
      std::vector<PropValue> returned;
      const std::string path = book.ComponentPath(c);
      if (int32_t e = engine_.OpenFile(path, {}, opened, returned)) {
        error = engine_.lastError().empty() ? path + ": cannot be opened" : engine_.lastError();
        return e;
      }
      if (const Book* inner = engine_.book(opened)) {
        if (!visited_.insert(inner->id).second) continue;  // a book that contains itself
        if (int32_t e = Components(*inner, inner->components, true, parent, error)) return e;
        continue;
      }
      const Document* d = engine_.document(opened);
      if (!d) {
        error = path + ": not a document";
        return tolvane::ERR_BAD_OBJECT;
      }
      BuildDocumentContent(*d, options_, parent, tree_, out_);
    }
    return 0;
  }

  void Visit(ObjectId book) { visited_.insert(book); }

 private:
  Engine& engine_;
  const ExportOptions& options_;
  StructTree& tree_;
  LayoutContent& out_;
  std::set<ObjectId> visited_;
};

std::string DefaultCreator(const Session& s) {
  return s.productName + " " + std::to_string(s.versionMajor) + "." +
         std::to_string(s.versionMinor);
}

}  // namespace

int32_t ExportPdf(Engine& engine, ObjectId documentOrBook, const ExportOptions& options,
                  const std::string& path, std::string& error) {
  for (const auto& [page, degrees] : options.pageRotation) {
    if (page < 0 || degrees < 0 || degrees >= 360 || degrees % 90 != 0) {
      error = "page rotation must be 0, 90, 180 or 270 on a page from 0";
      return tolvane::ERR_BAD_VALUE;
    }
  }
  if (path.empty()) {
    error = "no output file given";
    return tolvane::ERR_BAD_NAME;
  }
  StructTree tree;
  LayoutContent content;
  if (const Document* d = engine.document(documentOrBook)) {
    BuildDocumentContent(*d, options, -1, tree, content);
  } else if (const Book* b = engine.book(documentOrBook)) {
    const int root = tree.AddNode(-1, "Book", "");
    tree.MapRole("Book", "Document");
    BookExporter books(engine, options, tree, content);
    books.Visit(b->id);
    if (int32_t e = books.Components(*b, b->components, false, root, error)) return e;
  } else {
    error = "no open document or book with this id";
    return tolvane::ERR_BAD_OBJECT;
  }

  const std::string drawn = path + ".drawn";
  DrawnPages pages;
  if (int32_t e = DrawPages(content, drawn, pages, error)) {
    std::remove(drawn.c_str());
    error = "cannot write " + path + ": " + error;
    return e;
  }
  FinishSettings settings;
  settings.creator = options.creator ? *options.creator : DefaultCreator(engine.session());
  settings.creationTime = options.creationTime
                              ? *options.creationTime
                              : std::chrono::duration_cast<std::chrono::seconds>(
                                    std::chrono::system_clock::now().time_since_epoch())
                                    .count();
  settings.pageRotation = options.pageRotation;
  const int32_t e = FinishPdf(drawn, path, tree, pages, settings, error);
  std::remove(drawn.c_str());
  return e;
}

namespace {

bool SameFile(const struct stat& a, const std::string& path) {
  struct stat b {};
  return stat(path.c_str(), &b) == 0 && a.st_dev == b.st_dev && a.st_ino == b.st_ino;
}

}  // namespace

OutputCheck CheckOutput(const Engine& engine, ObjectId id, const std::string& file,
                        const std::string& out, bool refuseNonPdf) {
  struct stat existing {};
  if (stat(out.c_str(), &existing) != 0) return {};
  std::vector<std::string> inputs = {file};
  if (const Book* book = engine.book(id)) {
    for (const auto& [componentId, component] : book->componentsById)
      inputs.push_back(book->ComponentPath(component));
  }
  for (const std::string& input : inputs) {
    if (SameFile(existing, input)) return {OutputRefusal::kIsAnInput, input};
  }
  if (S_ISDIR(existing.st_mode)) return {OutputRefusal::kIsAFolder, ""};
  if (!S_ISREG(existing.st_mode)) return {OutputRefusal::kNotARegularFile, ""};
  char head[5] = {};
  std::ifstream(out, std::ios::binary).read(head, sizeof head);
  if (refuseNonPdf && std::string(head, sizeof head) != "%PDF-")
    return {OutputRefusal::kNotAPdf, ""};
  return {};
}

namespace {

// The check's words in English, for callers that keep the export's own messages.
std::string RefusalWords(const OutputCheck& check) {
  switch (check.refusal) {
    case OutputRefusal::kNone:
      return "";
    case OutputRefusal::kIsAnInput:
      return "is the input " + check.input;
    case OutputRefusal::kIsAFolder:
      return "is a folder";
    case OutputRefusal::kNotARegularFile:
      return "not a regular file";
    case OutputRefusal::kNotAPdf:
      return "an existing file that is not a PDF (--force replaces it)";
  }
  return "";
}

}  // namespace

int32_t ExportFile(const std::string& file, const ExportOptions& options, const std::string& path,
                   std::string& error) {
  Engine engine;
  ObjectId id = 0;
  std::vector<PropValue> returned;
  if (int32_t e = engine.OpenFile(file, {}, id, returned)) {
    error = engine.lastError().empty() ? file + ": cannot be opened" : engine.lastError();
    return e;
  }
  if (const std::string problem =
          RefusalWords(CheckOutput(engine, id, file, path, options.refuseNonPdf));
      !problem.empty()) {
    error = "cannot write " + path + ": " + problem;
    return tolvane::ERR_FILE_WRITE;
  }
  return ExportPdf(engine, id, options, path, error);
}

}  // namespace tlhost::pdfexport
