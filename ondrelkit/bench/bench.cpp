// Walks every character of every page of a long PDF and prints pages per second, beside the
// time the system's pdftotext -bbox takes for the same file.
#include <unistd.h>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>

#include "library_session.h"
#include "structured_pdf.h"

namespace {

using Clock = std::chrono::steady_clock;

double Seconds(Clock::time_point since) {
  return std::chrono::duration<double>(Clock::now() - since).count();
}

// Every box, code and Unicode of one page's content, as a client would read it.
size_t WalkContent(const OkContentTable* c, const OkContent* content) {
  size_t chars = 0;
  for (int i = 0; i < c->PdfContentCount(content); ++i) {
    const OkElement* element = c->PdfContentAt(content, i);
    if (c->PdfElementKind(element) == kPdfElementContainer) {
      chars += WalkContent(c, c->PdfContainerContent(element));
      continue;
    }
    for (int run = 0; run < c->PdfTextRunCount(element); ++run) {
      for (int k = 0; k < c->PdfRunCharCount(element, run); ++k) {
        PdfFixed box[4];
        uint8_t codes[8];
        char16_t units[8];
        c->PdfCharBox(element, run, k, box);
        c->PdfCharCodes(element, run, k, codes, sizeof codes);
        c->PdfCharUnicode(element, run, k, units, 8);
        ++chars;
      }
    }
  }
  return chars;
}

}  // namespace

int main(int argc, char** argv) {
  namespace fs = std::filesystem;
  std::string path;
  fs::path made;
  if (argc > 1) {
    path = argv[1];
  } else {
    made = fs::temp_directory_path() / ("ondrelkit_bench_" + std::to_string(::getpid()) + ".pdf");
    path = made.string();
    ondrelkit::testing::WriteLongPdf(path, 300);
  }
  ondrelkit::testing::LibrarySession lib;
  const Clock::time_point start = Clock::now();
  OkDoc* doc = lib.Open(path);
  const int pages = lib.docs->PdfPageCount(doc);
  size_t chars = 0;
  for (int i = 0; i < pages; ++i) {
    OkPage* page = lib.pages->PdfAcquirePage(doc, i);
    chars += WalkContent(lib.content, lib.content->PdfPageContent(page));
    lib.pages->PdfReleasePage(page);
  }
  lib.docs->PdfCloseDoc(doc);
  const double ours = Seconds(start);

  const std::string command = "pdftotext -bbox '" + path + "' /dev/null";
  const Clock::time_point other = Clock::now();
  const int status = std::system(command.c_str());
  const double theirs = Seconds(other);

  std::printf("pages %d, characters %zu\n", pages, chars);
  std::printf("content walk: %.3f s, %.1f pages/s\n", ours, pages / ours);
  if (status == 0) {
    std::printf("pdftotext -bbox: %.3f s, %.1f pages/s\n", theirs, pages / theirs);
    std::printf("speed ratio (content walk / pdftotext): %.2f\n", theirs / ours);
  } else {
    std::printf("pdftotext -bbox could not run\n");
  }
  if (!made.empty()) fs::remove(made);
  return 0;
}
