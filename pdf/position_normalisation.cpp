#include "pdf/position_normalisation.h"

#include <map>
#include <set>
#include <utility>
#include <vector>

#include "pdf/structured_blocks.h"

namespace osprevan::pdf {
namespace {

// Content elements by their chain and their host paragraph count, in the order they were made.
using ParagraphParts =
    std::map<std::pair<const ElementEntry*, uint32_t>, std::vector<const ContentElement*>>;

ParagraphParts PartsOfParagraphs(const DocumentContext& context) {
  ParagraphParts parts;
  for (const auto& element : context.elements)
    parts[{element->containers, element->containerCount}].push_back(element.get());
  return parts;
}

uint32_t UnmarkedCount(const ContentElement& element, size_t count) {
  uint32_t n = 0;
  for (size_t i = 0; i < count && i < element.chars.size(); ++i) n += !element.chars.InBlockSpan(i);
  return n;
}

// Structure elements in which a block ends that started in another: text at their start
// follows that block.
std::set<const OkStructElem*> BlocksEndingIn(const DocumentContext& context) {
  std::set<const OkStructElem*> out;
  for (const StructureBlock& block : context.blocks)
    if (block.endParent && block.endParent != block.startParent) out.insert(block.endParent);
  return out;
}

void Normalise(TextPosition& position, const ParagraphParts& parts,
               const std::set<const OkStructElem*>& blockEnds, const DocumentContext& context) {
  const ContentElement* element = position.element;
  if (!element) return;
  const size_t k = position.offset;
  position.atBlockEnd = k == 0 ? blockEnds.count(context.StructElemOf(element)) != 0
                               : k <= element->chars.size() && element->chars.InBlockSpan(k - 1) &&
                                     (k == element->chars.size() || !element->chars.InBlockSpan(k));
  uint32_t before = 0;
  auto found = parts.find({element->containers, element->containerCount});
  if (found != parts.end()) {
    for (const ContentElement* part : found->second) {
      if (part == element) {
        position.hostOffset = before + UnmarkedCount(*element, k);
        return;
      }
      before += UnmarkedCount(*part, part->chars.size());
    }
  }
  position.hostOffset = before;
}

}  // namespace

void NormalisePositions(DocumentContext& context, int32_t firstPage, int32_t lastPage) {
  MarkBlockParents(context);
  const ParagraphParts parts = PartsOfParagraphs(context);
  const std::set<const OkStructElem*> blockEnds = BlocksEndingIn(context);
  for (auto& [page, comments] : context.commentsByPage) {
    if (page < firstPage || page > lastPage) continue;
    for (auto& comment : comments) {
      if (!comment->hasRange()) continue;
      TextRange range = comment->range();
      Normalise(range.start, parts, blockEnds, context);
      Normalise(range.end, parts, blockEnds, context);
      comment->SetRange(range);
    }
  }
}

}  // namespace osprevan::pdf
