// What the page layout draws: paragraphs as styled text segments tied to structure slots,
// tables as grids, footnote bodies and page breaks, in reading order.
#pragma once

#include <string>
#include <vector>

#include "host/export/struct_tree.h"
#include "host/export/text_look.h"

namespace tlhost::pdfexport {

enum class SegmentStyle { kBody, kSuperscript, kBlock };

struct TextSegment {
  std::string text;  // UTF-8
  SegmentStyle style = SegmentStyle::kBody;
  ContentSlot slot;              // node -1: drawn outside the structure tree (a footnote's label)
  int footnote = -1;             // the footnote body this segment's number refers to
  std::vector<LookRange> looks;  // in `text`, ascending; plain text has none
};

enum class ParagraphRole { kBody, kHeading, kTitle, kFootnote, kCell };

struct LaidParagraph {
  std::vector<TextSegment> segments;
  ParagraphRole role = ParagraphRole::kBody;
};

struct GridCell {
  std::vector<LaidParagraph> paragraphs;
  int span = 1;  // columns covered, straddled neighbours included
  bool heading = false;
};

struct GridRow {
  std::vector<GridCell> cells;
};

struct TableGrid {
  std::vector<LaidParagraph> title;
  std::vector<GridRow> rows;
  int columns = 0;
};

struct FlowItem {
  enum class Kind { kParagraph, kTable, kPageBreak } kind = Kind::kParagraph;
  LaidParagraph paragraph;
  TableGrid table;
};

struct LayoutContent {
  std::vector<FlowItem> items;
  std::vector<std::vector<LaidParagraph>> footnotes;  // bodies, by the index in TextSegment
};

}  // namespace tlhost::pdfexport
