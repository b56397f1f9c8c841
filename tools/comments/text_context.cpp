#include "tools/comments/text_context.h"

#include <algorithm>
#include <vector>

#include "hostlink/host_ops.h"

namespace osprevan::tools {
namespace {

using tolvane::ObjectId;

// The paragraph's positions, each its character (UTF-8) or nothing for an item.
std::vector<std::string> Positions(ObjectId document, ObjectId paragraph) {
  const int32_t length = HostGetInt(document, paragraph, tolvane::P_PGF_TEXT_LENGTH) - 1;
  std::vector<std::string> positions(static_cast<size_t>(std::max(length, 0)));
  const auto items =
      HostGetTextEx(document, paragraph, tolvane::TI_STRING, tolvane::TIO_INCLUDE_HIDDEN_TEXT);
  for (const auto& item : items) {
    size_t position = static_cast<size_t>(std::max(item.offset, 0));
    for (size_t i = 0; i < item.text.size() && position < positions.size(); ++position) {
      size_t next = i + 1;
      while (next < item.text.size() && (item.text[next] & 0xC0) == 0x80) ++next;
      positions[position] = item.text.substr(i, next - i);
      i = next;
    }
  }
  return positions;
}

std::string Join(const std::vector<std::string>& positions, size_t from, size_t to) {
  std::string out;
  for (size_t i = std::min(from, positions.size()); i < std::min(to, positions.size()); ++i)
    out += positions[i];
  return out;
}

size_t Offset(const tolvane::TTextLoc& location) {
  return static_cast<size_t>(std::max(location.offset, 0));
}

}  // namespace

std::string TextContext(ObjectId document, const tolvane::TTextLoc& begin,
                        const tolvane::TTextLoc& end, size_t around) {
  if (!begin.object || !end.object) return "";
  const std::vector<std::string> first = Positions(document, begin.object);
  const size_t from = Offset(begin);
  const std::string before = Join(first, from > around ? from - around : 0, from);
  if (begin.object == end.object && begin.offset == end.offset)
    return before + "|" + Join(first, from, from + around);
  if (begin.object == end.object) {
    const size_t to = std::max(from, Offset(end));
    return before + "[" + Join(first, from, to) + "]" + Join(first, to, to + around);
  }
  const std::vector<std::string> last = Positions(document, end.object);
  const size_t to = Offset(end);
  return before + "[" + Join(first, from, first.size()) + "\n" + Join(last, 0, to) + "]" +
         Join(last, to, to + around);
}

}  // namespace osprevan::tools
