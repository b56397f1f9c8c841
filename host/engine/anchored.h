// Objects anchored in text: markers, tables with rows and cells, footnotes and anchored
// frames. Each is anchored by one item of a paragraph; the anchor's place is found from there.
#pragma once

#include <string>
#include <vector>

#include "tolvane/numbers.h"

namespace tlhost {

struct Marker {
  tolvane::ObjectId id = 0;
  tolvane::ObjectId type = 0;  // a marker type of the document
  std::string text;
  tolvane::ObjectId paragraph = 0;  // the paragraph whose item anchors it
};

struct TableCell {
  tolvane::ObjectId id = 0;  // kind 39
  tolvane::ObjectId row = 0;
  bool straddled = false;  // hidden under a straddling cell; not counted
  std::vector<tolvane::ObjectId> paragraphs;
};

struct TableRow {
  tolvane::ObjectId id = 0;
  tolvane::ObjectId table = 0;
  int32_t kind = tolvane::ROW_BODY;
  std::vector<tolvane::ObjectId> cells;
};

struct Table {
  tolvane::ObjectId id = 0;
  bool titleOn = false;
  std::vector<tolvane::ObjectId> titleParagraphs;
  std::vector<tolvane::ObjectId> rows;  // heading rows, then body rows, then footing rows
  tolvane::ObjectId paragraph = 0;      // the anchoring paragraph
};

struct Footnote {
  tolvane::ObjectId id = 0;
  std::string number;  // the number string shown in the text
  std::vector<tolvane::ObjectId> paragraphs;
  tolvane::ObjectId paragraph = 0;  // the anchoring paragraph
};

struct AnchoredFrame {
  tolvane::ObjectId id = 0;
  std::vector<tolvane::ObjectId> textFrames;
  tolvane::ObjectId paragraph = 0;  // the anchoring paragraph
};

}  // namespace tlhost
