// osprevan-comments PDF [--pages A-B] [--document DOC]: reads a reviewed PDF the way the
// import does, with no filter, and prints one JSON object per top-level comment: where it lies
// on its page, the text it marks, the range it was tied to, its states, replies and
// replacement. With a document (opened in the stand-in host, in this process) each comment's
// object also holds the placement it becomes there: kind, begin and end, flow, misplaced and
// why, and the document's text around it. It changes nothing. It is what a developer runs to
// see why a comment lands where it lands.
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <optional>
#include <set>
#include <string>

#include "apply/make_placement.h"
#include "apply/validate_placement.h"
#include "host/link/client_connection.h"
#include "host/link/host.h"
#include "hostlink/host_ops.h"
#include "pdf/comment_kind.h"
#include "pdf/filter_criteria.h"
#include "pdf/opened_pdf.h"
#include "pdf/pdf_comment.h"
#include "pdf/pdf_library.h"
#include "pdf/review_read.h"
#include "platform/win/module.h"
#include "support/formatted.h"
#include "support/json_text.h"
#include "support/unicode_text.h"
#include "tools/comments/text_context.h"

extern "C" int32_t T_ApiClientInit(void*, tolvane::IUnknown*, tolvane::IUnknown*,
                                   const tolvane::TClientInfoList*);

namespace {

using osprevan::pdf::PdfComment;
using osprevan::support::Format;
using osprevan::support::JsonQuoted;

struct Arguments {
  std::string pdfPath;
  std::string documentPath;
  int32_t firstPage = 1;  // from 1; 0 for the last page of the PDF
  int32_t lastPage = 0;
};

constexpr const char* kUsage = "usage: osprevan-comments PDF [--pages A-B] [--document DOC]\n";

// False with `error` on a wrong use; `help` when the help was asked for.
bool ParseArguments(int argc, char** argv, Arguments& out, std::string& error, bool& help) {
  for (int i = 1; i < argc; ++i) {
    const std::string arg = argv[i];
    if (arg == "--help" || arg == "-h") {
      help = true;
      return true;
    }
    if (arg == "--pages") {
      if (++i >= argc) return error = "--pages needs A-B", false;
      int a = 0, b = 0;
      char end = 0;
      const int read = std::sscanf(argv[i], "%d-%d%c", &a, &b, &end);
      if (read == 1 && std::sscanf(argv[i], "%d%c", &a, &end) == 1)
        b = a;
      else if (read != 2)
        return error = std::string("bad page range: ") + argv[i], false;
      if (a < 1 || b < a) return error = std::string("bad page range: ") + argv[i], false;
      out.firstPage = a;
      out.lastPage = b;
    } else if (arg == "--document") {
      if (++i >= argc) return error = "--document needs a document", false;
      out.documentPath = argv[i];
    } else if (out.pdfPath.empty() && !arg.empty() && arg[0] != '-') {
      out.pdfPath = arg;
    } else {
      return error = "unknown argument: " + arg, false;
    }
  }
  if (out.pdfPath.empty()) return error = "no PDF given", false;
  return true;
}

std::string Number(float value) {
  return Format("%.2f", static_cast<double>(value));
}

std::string Position(const osprevan::pdf::TextPosition& position) {
  return "{\"element\": " + JsonQuoted(position.element ? position.element->identifier : "") +
         ", \"offset\": " + std::to_string(position.offset) + "}";
}

std::string Boxes(const PdfComment& comment) {
  std::string out = "[";
  for (const auto& box : comment.boxes()) {
    if (out.size() > 1) out += ", ";
    out += "[" + Number(box->left) + ", " + Number(box->top) + ", " + Number(box->right) + ", " +
           Number(box->bottom) + "]";
  }
  return out + "]";
}

std::string Thread(const PdfComment& comment);

std::string Replies(const PdfComment& comment) {
  std::string out = "[";
  for (const auto& reply : comment.replies()) {
    if (out.size() > 1) out += ", ";
    out += Thread(*reply);
  }
  return out + "]";
}

// Author, date, contents and the nested replies of a reply or a replacement.
std::string Thread(const PdfComment& comment) {
  return "{\"author\": " + JsonQuoted(comment.author()) +
         ", \"date\": " + JsonQuoted(std::string(comment.dateText())) +
         ", \"contents\": " + JsonQuoted(comment.contents()) +
         ", \"replies\": " + Replies(comment) + "}";
}

std::string CommentLine(const PdfComment& comment, const std::string& placement) {
  std::string line = "{\"page\": " + std::to_string(comment.page() + 1) +
                     ", \"subtype\": " + JsonQuoted(comment.subtypeName()) +
                     ", \"author\": " + JsonQuoted(comment.author()) +
                     ", \"date\": " + JsonQuoted(std::string(comment.dateText())) +
                     ", \"contents\": " + JsonQuoted(comment.contents()) +
                     ", \"boxes\": " + Boxes(comment);
  line += ", \"hasRange\": " + std::string(comment.hasRange() ? "true" : "false");
  if (comment.hasRange()) {
    line += ", \"range\": {\"start\": " + Position(comment.range().start) +
            ", \"end\": " + Position(comment.range().end) + "}";
  }
  line += ", \"markedText\": " + JsonQuoted(comment.markedText()) +
          ", \"approximate\": " + (comment.approximate() ? "true" : "false") +
          ", \"placementConfirmed\": " + std::to_string(comment.placementConfirmed()) +
          ", \"markedState\": " + std::to_string(comment.markedState()) +
          ", \"reviewState\": " + std::to_string(comment.reviewState()) +
          ", \"migrationState\": " + std::to_string(comment.migrationState()) +
          ", \"replies\": " + Replies(comment);
  if (comment.replacement()) line += ", \"replacement\": " + Thread(*comment.replacement());
  if (!placement.empty()) line += ", \"placement\": " + placement;
  return line + "}";
}

// Criteria that let every annotation through: all kinds and states, no period, every author.
void PassEverything(osprevan::pdf::FilterCriteria& criteria) {
  criteria.kindMask = osprevan::pdf::kAllCommentKinds;
  criteria.markedStateMask = osprevan::pdf::kAllMarkedStates;
  criteria.reviewStateMask = osprevan::pdf::kAllReviewStates;
  criteria.migrationStateMask = osprevan::pdf::kAllMigrationStates;
  criteria.dateFilterOn = false;
  criteria.everyAuthor = true;
}

std::string Location(tolvane::ObjectId document, const tolvane::TTextLoc& location) {
  const int32_t unique = osprevan::HostGetInt(document, location.object, tolvane::P_PGF_UNIQUE);
  return "{\"paragraph\": " + std::to_string(unique) +
         ", \"offset\": " + std::to_string(location.offset) + "}";
}

std::string PlacementObject(const osprevan::apply::Placement& p) {
  const std::string flow =
      p.flow ? osprevan::HostGetString(p.document, p.flow, tolvane::P_FLOW_NAME) : "";
  return "{\"kind\": " + JsonQuoted(osprevan::apply::PlacementKindName(p.kind)) +
         ", \"begin\": " + Location(p.document, p.begin) +
         ", \"end\": " + Location(p.document, p.end) + ", \"flow\": " + JsonQuoted(flow) +
         ", \"misplaced\": " + (p.misplaced ? "true" : "false") +
         ", \"reason\": " + JsonQuoted(osprevan::apply::ReasonName(p.reason)) +
         ", \"context\": " + JsonQuoted(osprevan::tools::TextContext(p.document, p.begin, p.end)) +
         "}";
}

// The document in the stand-in host, in this process, with the plug-in's code linked to it
// the way the host links a client; 0 when it does not open.
tolvane::ObjectId OpenDocument(tlhost::Host& host, const std::string& path) {
  host.LinkClient(T_ApiClientInit,
                  win::ModuleFromAddress(reinterpret_cast<void*>(&T_ApiClientInit)),
                  "osprevan-comments");
  tolvane::ObjectId id = 0;
  std::vector<tlhost::PropValue> returned;
  if (host.engine().OpenFile(path, {}, id, returned) != 0) return 0;
  return id;
}

int Run(const Arguments& arguments) {
  tlhost::Host host;
  const tolvane::ObjectId document =
      arguments.documentPath.empty() ? 0 : OpenDocument(host, arguments.documentPath);
  if (!arguments.documentPath.empty() && !document) {
    std::fprintf(stderr, "osprevan-comments: %s does not open as a document\n",
                 arguments.documentPath.c_str());
    return 1;
  }
  const char* library = std::getenv("OSPREVAN_PDF_LIBRARY");
  if (!osprevan::pdf::PdfLibraryLoadFrom(library ? library : OSPREVAN_PDF_LIBRARY, "1").ok()) {
    std::fprintf(stderr, "osprevan-comments: %s\n", osprevan::pdf::PdfLibraryLastError().c_str());
    return 1;
  }
  const std::optional<std::u16string> path = osprevan::support::Utf8ToUtf16(arguments.pdfPath);
  // Closed before the library is unloaded.
  const bool opened = [&] {
    const osprevan::pdf::OpenedPdf pdf(path.value_or(u""));
    if (!pdf.isOpen()) {
      std::fprintf(stderr, "osprevan-comments: %s does not open as a PDF\n",
                   arguments.pdfPath.c_str());
      return false;
    }
    const int32_t pageCount = osprevan::pdf::WholePdfPart(pdf).lastPage + 1;
    osprevan::pdf::FilterCriteria criteria;
    PassEverything(criteria);
    const int32_t last = arguments.lastPage ? std::min(arguments.lastPage, pageCount) : pageCount;
    const osprevan::pdf::ReviewRead read = osprevan::pdf::ReadReview(
        pdf, document, {osprevan::pdf::kWholePdf, arguments.firstPage - 1, last - 1}, criteria);
    std::set<int32_t> unread = read.textUnread;
    unread.insert(read.pagesNotHad.begin(), read.pagesNotHad.end());
    for (int32_t page : unread)
      std::fprintf(stderr, "osprevan-comments: page %d could not be read\n", page + 1);
    for (const auto& [page, comments] : read.commentsByPage) {
      for (const auto& comment : comments) {
        std::string placement;
        if (document) {
          osprevan::apply::Placement made = osprevan::apply::MakePlacement(document, *comment);
          osprevan::apply::ValidatePlacement(made);
          placement = PlacementObject(made);
        }
        std::printf("%s\n", CommentLine(*comment, placement).c_str());
      }
    }
    return true;
  }();
  osprevan::pdf::PdfLibraryUnload();
  return opened ? 0 : 1;
}

}  // namespace

int main(int argc, char** argv) {
  Arguments arguments;
  std::string error;
  bool help = false;
  if (!ParseArguments(argc, argv, arguments, error, help)) {
    std::fprintf(stderr, "osprevan-comments: %s\n%s", error.c_str(), kUsage);
    return 2;
  }
  if (help) {
    std::printf(
        "%s\nReads the comments of a reviewed PDF as the import does, with no filter, and prints\n"
        "one JSON object a line for each. --pages reads pages A to B (from 1) only. With\n"
        "--document, each object also gives the placement the comment becomes in DOC, with\n"
        "DOC's text around it (\"|\" at a point, \"[...]\" around a range). Nothing is changed.\n",
        kUsage);
    return 0;
  }
  return Run(arguments);
}
