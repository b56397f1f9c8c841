// Small PDFs made with cairo for the library's tests.
#pragma once

#include <cairo.h>

#include <string>

namespace ondrelkit::testing {

// A PDF of `pages` pages with one paragraph of `text` each; tagged (a structure tree with "P"
// elements) when `tagged`, with the given Creator entry. Throws when cairo cannot write it.
void WriteCairoPdf(const std::string& path, int pages, const std::string& text, bool tagged,
                   const std::string& creator, const std::string& topElement = "Document");

// Ends the drawing and writes the file; throws when cairo could not, with cairo's reason
// (cairo refuses structure types it does not know).
void FinishCairoPdf(cairo_t* cr, cairo_surface_t* surface, const std::string& path);

}  // namespace ondrelkit::testing
