// What an ancestor structure element of page text is to the import: a book part, a section, a
// footnote or a part of a table. Other elements are not classified.
#pragma once

#include <cstdint>

namespace osprevan::pdf {

enum class ElementKind : uint32_t {
  NotClassified = 0,
  BookPart = 2,
  Section = 3,
  Footnote = 4,
  TableCell = 5,
  TableRow = 6,
  TableTitle = 7,
  TableBody = 8,
  TableHeading = 9,
  TableFooting = 10,
  Table = 11,
};

}  // namespace osprevan::pdf
