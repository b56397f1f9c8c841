#include "tools/review_page/review_page.h"

#include <PDFDoc.h>

#include <filesystem>
#include <memory>

#include "host/cli/file_cause_text.h"
#include "host/engine/book.h"
#include "host/engine/file_replace.h"
#include "tools/review_page/poppler_settings.h"
#include "tools/review_page/tool_texts.h"

namespace osprevan::review {
namespace {

std::string FileName(const std::string& path) {
  return std::filesystem::path(path).filename().string();
}

bool AddComponents(tlhost::Engine& engine, const tlhost::Book& book,
                   const std::vector<tolvane::ObjectId>& components, const std::string& folder,
                   PageLanguage language, std::vector<NamedDocument>& out, std::string& error) {
  for (tolvane::ObjectId id : components) {
    const tlhost::BookComponent& component = book.componentsById.at(id);
    if (!component.children.empty() &&
        !AddComponents(engine, book, component.children, folder, language, out, error))
      return false;
    if (component.container || component.type != tolvane::COMP_TYPE_DOCUMENT) continue;
    std::string path = book.ComponentPath(component);
    std::error_code ignored;
    const std::filesystem::path saved = std::filesystem::path(folder) / FileName(path);
    if (!folder.empty() && std::filesystem::is_regular_file(saved, ignored)) path = saved.string();
    tolvane::ObjectId document = 0;
    std::vector<tlhost::PropValue> returned;
    if (engine.OpenFile(path, {}, document, returned) != 0 || !engine.document(document)) {
      error = ToolSaid(language, ToolText::CannotOpenComponent, {{"path", path}});
      return false;
    }
    out.push_back({FileName(book.ComponentPath(component)), engine.document(document)});
  }
  return true;
}

}  // namespace

bool DocumentsOf(tlhost::Engine& engine, tolvane::ObjectId target,
                 const std::string& componentsFolder, PageLanguage language,
                 std::vector<NamedDocument>& out, std::string& error) {
  out.clear();
  if (const tlhost::Document* document = engine.document(target)) {
    out.push_back({FileName(document->path), document});
    return true;
  }
  const tlhost::Book* book = engine.book(target);
  if (!book) return error = ToolSaid(language, ToolText::NotAnOpenDocument), false;
  return AddComponents(engine, *book, book->components, componentsFolder, language, out, error);
}

bool WriteReviewPage(const std::string& reportPath, const std::string& pdfPath,
                     const std::vector<NamedDocument>& documents, bool book,
                     const std::string& documentName, const std::string& pagePath,
                     PageLanguage language, std::string& error) {
  ReviewReport report;
  if (!ReadReviewReport(reportPath, language, report, error)) return false;
  EnsurePopplerSettings();
  PDFDoc pdf(std::make_unique<GooString>(pdfPath));
  if (!pdf.isOk())
    return error = ToolSaid(language, ToolText::CannotOpenPdf, {{"path", pdfPath}}), false;
  ReviewPageSources sources;
  sources.report = &report;
  sources.pdf = &pdf;
  sources.documents = documents;
  sources.book = book;
  sources.pdfName = FileName(pdfPath);
  sources.documentName = documentName;
  sources.language = language;
  const std::string html = ReviewPageHtml(sources);
  tlhost::FileProblem problem;
  if (tlhost::WriteFileReplacing(pagePath, html, problem) != 0) {
    const std::string cause = tlhost::ProblemText(language, problem);
    return error = cause.empty() ? ToolSaid(language, ToolText::CannotWrite, {{"path", pagePath}})
                                 : ToolSaid(language, ToolText::CannotWriteBecause,
                                            {{"path", pagePath}, {"why", cause}}),
           false;
  }
  return true;
}

bool WriteReviewPageOf(tlhost::Engine& engine, tolvane::ObjectId target,
                       const std::string& reportPath, const std::string& pdfPath,
                       const std::string& componentsFolder, const std::string& pagePath,
                       PageLanguage language, std::string& error) {
  std::vector<NamedDocument> documents;
  if (!DocumentsOf(engine, target, componentsFolder, language, documents, error)) return false;
  const tlhost::Book* book = engine.book(target);
  const std::string name = book ? FileName(book->path) : documents.front().name;
  return WriteReviewPage(reportPath, pdfPath, documents, book != nullptr, name, pagePath, language,
                         error);
}

}  // namespace osprevan::review
