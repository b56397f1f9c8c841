#include "pdf/pdf_document.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cmath>
#include <cstdlib>
#include <vector>

#include "hostlink/call_refusal.h"
#include "hostlink/host_ops.h"
#include "pdf/file_times.h"
#include "pdf/library_handles.h"
#include "pdf/pdf_checks.h"
#include "pdf/pdf_guard.h"
#include "pdf/pdf_library.h"
#include "pdf/pdf_signature.h"
#include "pdf/pdf_tables.h"
#include "support/message_ids.h"
#include "support/unicode_text.h"

namespace osprevan::pdf {
namespace {

constexpr size_t kPathCapacity = 1024;

std::string TextToUtf8(OkText* text) {
  const PdfTables& t = Tables();
  std::vector<char> buffer(t.core->PdfTextBytes(text, nullptr, 0) + 1);
  t.core->PdfTextBytes(text, buffer.data(), buffer.size());
  return std::string(buffer.data());
}

// Why a file that is there cannot be read as a PDF, before its bytes are read; none when it may
// be one.
hostlink::CallRefusal FileProblem(const std::string& path) {
  struct stat status {};
  if (stat(path.c_str(), &status) != 0) return hostlink::kRefusalNoSuchFile;
  if (S_ISDIR(status.st_mode)) return hostlink::kRefusalFolder;
  if (access(path.c_str(), R_OK) != 0) return hostlink::kRefusalUnreadable;
  if (status.st_size == 0) return hostlink::kRefusalEmptyFile;
  return hostlink::kRefusalNone;
}

}  // namespace

support::Status ValidatePdfPath(const hostlink::Caller& caller, const std::string& path,
                                bool signature) {
  const auto wide = support::Utf8ToUtf16(path);
  if (!wide || wide->empty() || !LastWriteTime(path)) {
    return hostlink::Refuse(caller, support::MSG_INVALID_PATH, hostlink::kRefusalNoSuchFile,
                            "no file at the PDF path", tolvane::ALERT_OK_ONLY);
  }
  hostlink::CallRefusal problem = FileProblem(path);
  if (problem == hostlink::kRefusalNone && signature && !IsPdfFile(*wide))
    problem = hostlink::kRefusalNotPdf;
  if (problem == hostlink::kRefusalNone) return support::Status::Done();
  return hostlink::Refuse(caller, support::MSG_NOT_PDF, problem,
                          "the file at the PDF path cannot be read as a PDF",
                          tolvane::ALERT_OK_ONLY);
}

OkDoc* OpenPdfByPath(const std::u16string& path) {
  const PdfTables& t = Tables();
  if (path.empty() || !t.core || !t.document) return nullptr;
  OkText* text = nullptr;
  OkPath* pdfPath = nullptr;
  OkDoc* document = Guarded(
      [&]() -> OkDoc* {
        text = t.core->PdfTextFromUtf16(path.data(), path.size());
        OkFileSys* fileSystem = t.document->PdfDefaultFileSys();
        pdfPath = t.document->PdfPathFromText(fileSystem, text);
        return t.document->PdfOpenDoc(pdfPath, fileSystem);
      },
      static_cast<OkDoc*>(nullptr));
  Guarded(
      [&] {
        t.core->PdfRelease(pdfPath);
        t.core->PdfRelease(text);
        return 0;
      },
      0);
  return document;
}

void ClosePdf(OkDoc* document) {
  if (!document || !Tables().document) return;
  Guarded(
      [&] {
        Tables().document->PdfCloseDoc(document);
        return 0;
      },
      0);
}

bool IsTaggedPdf(const OpenedPdf& pdf) {
  OkDoc* document = LibraryDocument(pdf);
  if (!document) return false;
  return Guarded([&] { return Tables().document->PdfStructRoot(document); }, false);
}

bool HasRoleMap(OkDoc* document) {
  if (!document) return false;
  return Guarded(
      [&] {
        OkObj* roleMap = Tables().structRoleMap(document);
        const bool present = roleMap != nullptr;
        Tables().core->PdfRelease(roleMap);
        return present;
      },
      false);
}

TopElement TopElementKind(const OpenedPdf& pdf) {
  OkDoc* document = LibraryDocument(pdf);
  TopElement kind;
  const PdfTables& t = Tables();
  if (!document) return kind;
  Guarded(
      [&] {
        OkStructElem* top = t.structRootKid(document, 0);
        const ondrelkit::PdfAtom type = t.structElemType(top);
        t.core->PdfRelease(top);
        kind.isBook = type == t.core->PdfAtom("Book");
        kind.isDocument = type == t.core->PdfAtom("Document");
        return 0;
      },
      0);
  return kind;
}

CreatorCheck CheckCreatorText(const std::string& creator) {
  if (creator.rfind("Tolvane", 0) != 0) return {};
  const size_t space = creator.find_last_of(' ');
  if (space == std::string::npos || space + 1 >= creator.size()) return {};
  const std::string last = creator.substr(space + 1);
  char* end = nullptr;
  const double version = std::strtod(last.c_str(), &end);
  // strtod also reads "nan" and "inf": NaN passes every "< 9" test, and neither is a version.
  if (end == last.c_str() || !std::isfinite(version) || version < 9.0) return {};
  return {true, version < 12.0};
}

CreatorCheck CheckCreator(const OpenedPdf& pdf) {
  OkDoc* document = LibraryDocument(pdf);
  std::string creator;
  if (document) {
    creator = Guarded(
        [&] {
          OkText* text = Tables().document->PdfDocInfoText(document, "Creator");
          std::string utf8 = TextToUtf8(text);
          Tables().core->PdfRelease(text);
          return utf8;
        },
        std::string());
  }
  return CheckCreatorText(creator);
}

bool SourceNewerThanPdf(tolvane::ObjectId document, const std::u16string& pdfPath) {
  const int32_t nameProperty =
      tolvane::KindOf(document) == tolvane::KIND_BOOK ? tolvane::P_BOOK_NAME : tolvane::P_DOC_NAME;
  const std::string source = HostGetString(document, document, nameProperty);
  if (source.empty()) return false;
  if (support::Utf8ToUtf16(source).value_or(u"").size() > kPathCapacity) return false;
  const auto pdf = support::Utf16ToUtf8(pdfPath);
  if (!pdf) return false;
  const auto written = LastWriteTime(source);
  const auto created = CreationTime(*pdf);
  if (!written || !created) return false;
  return *created < *written;
}

}  // namespace osprevan::pdf
