// A paragraph: its stable unique number, format, number string and its text as a list of
// positions, of which the last is always the paragraph end.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "host/engine/text_atom.h"

namespace tlhost {

struct Paragraph {
  tolvane::ObjectId id = 0;
  int32_t unique = 0;  // stable across saves; never given to another paragraph of the document
  std::string format;
  std::string autonumber;           // the number string shown before the text, e.g. "1.2\t"
  bool autonumberNotInPdf = false;  // the number string is left out of the PDF
  // The paragraph list that holds it: a flow, a table cell, a footnote, or a table (title).
  tolvane::ObjectId owner = 0;
  std::vector<TextAtom> atoms;  // the last one is TI_PARAGRAPH_END
  // Where Document::IndexInList last found it in its list; checked before it is used.
  mutable size_t listIndexHint = 0;

  // Character positions, the paragraph end included; locations run from 0 to length().
  int32_t length() const { return static_cast<int32_t>(atoms.size()); }
};

}  // namespace tlhost
