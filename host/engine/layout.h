// Flows of text, the text frames that show them and the pages the frames lie on.
#pragma once

#include <string>
#include <vector>

#include "tolvane/numbers.h"

namespace tlhost {

struct Flow {
  tolvane::ObjectId id = 0;
  std::string name;  // the flow's tag
  std::vector<tolvane::ObjectId> paragraphs;
  tolvane::ObjectId firstFrame = 0;      // 0 when no text frame shows it
  tolvane::ObjectId highestElement = 0;  // root structure element, 0 when unstructured
};

// A text frame lies on a page or inside an anchored frame and shows one flow.
struct TextFrame {
  tolvane::ObjectId id = 0;
  tolvane::ObjectId flow = 0;
  tolvane::ObjectId parent = 0;  // a page (kinds 5 to 8) or an anchored frame
};

// A page; its kind (body, master, reference, hidden) is the kind of its id.
struct Page {
  tolvane::ObjectId id = 0;
  std::string name;
};

}  // namespace tlhost
