// Draws the export's content onto A4 pages with cairo and pango: a text column, paragraphs
// broken across pages, footnotes at the page foot, tables as grids. Each drawn piece of tagged
// text is one marked-content sequence of its own, in the order listed in `pieces`.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "host/export/layout_content.h"

namespace tlhost::pdfexport {

// The fill colour of stand-in glyphs (page_layout.cpp) and of nothing else that is drawn; the
// finisher makes text shown in it invisible.
inline constexpr double kStandInColour[3] = {0.25, 0.75, 0.5};

struct DrawnPiece {
  ContentSlot slot;
  int page = 0;
};

struct DrawnPages {
  std::vector<DrawnPiece> pieces;
  int pageCount = 0;
};

// Answer 0, or ERR_FILE_WRITE with `error` the cairo status in words when cairo could not write
// `path`.
int32_t DrawPages(const LayoutContent& content, const std::string& path, DrawnPages& out,
                  std::string& error);

}  // namespace tlhost::pdfexport
