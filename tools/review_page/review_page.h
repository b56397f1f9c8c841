// Making the review page from files: the report, the PDF and the documents after the import.
#pragma once

#include <string>
#include <vector>

#include "host/engine/engine.h"
#include "tools/review_page/page_html.h"

namespace osprevan::review {

// The documents `target` (a document or a book open in `engine`) holds, opening a book's
// components that are not open yet; a component found in `componentsFolder` (when not empty)
// is taken from there, where an import of a book saved with -o puts it. False with `error` in
// words of `language` when a component does not open.
bool DocumentsOf(tlhost::Engine& engine, tolvane::ObjectId target,
                 const std::string& componentsFolder, PageLanguage language,
                 std::vector<NamedDocument>& out, std::string& error);

// Reads the report and the PDF and writes the page for `documents` (those of `target`, a book
// when `book`) to `pagePath`, through a temporary file beside it renamed into place. False with
// `error` in words; nothing is left behind then. The page speaks `language`.
bool WriteReviewPage(const std::string& reportPath, const std::string& pdfPath,
                     const std::vector<NamedDocument>& documents, bool book,
                     const std::string& documentName, const std::string& pagePath,
                     PageLanguage language, std::string& error);

// The page of an import into `target` (a document or book open in `engine`, as the import left
// it): its documents as DocumentsOf finds them, with `componentsFolder` where the import saved
// a book's changed components ("" when in place).
bool WriteReviewPageOf(tlhost::Engine& engine, tolvane::ObjectId target,
                       const std::string& reportPath, const std::string& pdfPath,
                       const std::string& componentsFolder, const std::string& pagePath,
                       PageLanguage language, std::string& error);

}  // namespace osprevan::review
