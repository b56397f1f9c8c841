#include "pdf/structured_blocks.h"

#include <algorithm>
#include <array>
#include <set>
#include <string>
#include <vector>

#include "pdf/pdf_guard.h"
#include "pdf/pdf_tables.h"

namespace osprevan::pdf {
namespace {

using ondrelkit::kNoAtom;
using ondrelkit::PdfAtom;

// "BS"/"BE" before the block's name in a marker's identifier.
constexpr size_t kMarkerPrefix = 2;
// A structure tree nested deeper than this is damaged or hostile: what lies below is not walked.
constexpr size_t kMaxDepth = 256;

// The block walk over one subtree; the open block is the document's, shared by every walk.
class BlockWalk {
 public:
  BlockWalk(DocumentContext& context, const StructureTree& tree) : context_(context), tree_(tree) {
    const PdfTables& t = Tables();
    const auto atom = [&](const char* name) {
      return Guarded([&] { return t.core->PdfAtom(name); }, kNoAtom);
    };
    blockStart_ = atom("BlockStart");
    blockEnd_ = atom("BlockEnd");
    span_ = atom("Span");
  }

  bool Walk(const OkStructElem* root);

 private:
  struct Level {
    const OkStructElem* element;
    int32_t next;
    int32_t count;
  };
  // Handles one child; true when the walk goes on into it.
  bool Visit(const OkStructElem* parent, const OkStructElem* child);
  void Start(const OkStructElem* parent, const OkStructElem* child);
  void End(const OkStructElem* parent, const OkStructElem* child);

  DocumentContext& context_;
  const StructureTree& tree_;
  PdfAtom blockStart_ = kNoAtom;
  PdfAtom blockEnd_ = kNoAtom;
  PdfAtom span_ = kNoAtom;
  bool wellFormed_ = true;
};

// Iterative, in child order, so that a deep tree cannot exhaust the stack.
bool BlockWalk::Walk(const OkStructElem* root) {
  // Each element is walked once: a kid that names one of its ancestors (or any element seen
  // before) would otherwise make the walk endless.
  std::set<const OkStructElem*> seen = {root};
  std::vector<Level> path = {{root, 0, tree_.KidCount(root)}};
  while (!path.empty()) {
    Level& level = path.back();
    if (level.next >= level.count) {
      path.pop_back();
      continue;
    }
    const OkStructElem* parent = level.element;
    const int32_t index = level.next++;
    const OkStructElem* child = tree_.Kid(parent, index);
    // Marked content, object references and kids that cannot be read are passed over.
    if (!child || !seen.insert(child).second) continue;
    if (Visit(parent, child) && path.size() < kMaxDepth)
      path.push_back({child, 0, tree_.KidCount(child)});
  }
  return wellFormed_;
}

bool BlockWalk::Visit(const OkStructElem* parent, const OkStructElem* child) {
  const PdfAtom type = tree_.Type(child);
  const bool open = context_.openBlockName.has_value();
  // An element without a readable type is no marker (kNoAtom would match a missing atom).
  if (type != kNoAtom && type == blockStart_ && !open) {
    Start(parent, child);
    return false;
  }
  if (type != kNoAtom && type == blockEnd_ && open) {
    End(parent, child);
    return false;
  }
  if (type != kNoAtom && type == span_ && open)
    context_.blockSpans[child] = &context_.blocks.back();
  return true;
}

void BlockWalk::Start(const OkStructElem* parent, const OkStructElem* child) {
  context_.blocks.push_back({child, parent, nullptr, nullptr});
  const std::string identifier = tree_.Identifier(child);
  if (identifier.size() > kMarkerPrefix) {
    context_.openBlockName = identifier.substr(kMarkerPrefix);
  } else {
    wellFormed_ = false;
  }
}

// An end that names another block is not this block's end: the block stays open.
void BlockWalk::End(const OkStructElem* parent, const OkStructElem* child) {
  const std::string identifier = tree_.Identifier(child);
  if (identifier.size() <= kMarkerPrefix) {
    wellFormed_ = false;
    return;
  }
  if (identifier.substr(kMarkerPrefix) != *context_.openBlockName) return;
  StructureBlock& block = context_.blocks.back();
  block.endElement = child;
  block.endParent = parent;
  context_.openBlockName.reset();
}

}  // namespace

support::Status CollectBlocks(DocumentContext& context, const StructureTree& tree,
                              const OkStructElem* element) {
  if (!element || !Tables().core) return support::Status::Done();
  if (!BlockWalk(context, tree).Walk(element))
    return support::Status::Failed("a block marker is malformed");
  return support::Status::Done();
}

void MarkBlockParents(DocumentContext& context) {
  std::set<const OkStructElem*> starts;
  std::set<const OkStructElem*> ends;
  for (const StructureBlock& block : context.blocks) {
    starts.insert(block.startParent);
    if (block.endParent) ends.insert(block.endParent);
  }
  for (const auto& element : context.elements) {
    const OkStructElem* structElem = context.StructElemOf(element.get());
    element->startsBlock = starts.count(structElem) != 0;
    element->endsBlock = ends.count(structElem) != 0;
  }
}

// A character knows only whether a block's span carried it, so two marked characters side by
// side count as one block, and the element's own start and end tell whether the block there
// begins or ends in it.
bool InsideBlock(const TextPosition& position) {
  const ContentElement* element = position.element;
  if (!element || element->chars.empty()) return false;
  const auto& chars = element->chars;
  // An offset past the last character is taken as the element's end.
  const size_t at = std::min<size_t>(position.offset, chars.size());
  if (at == chars.size()) return chars.InBlockSpan(at - 1) && !element->endsBlock;
  if (at == 0) return chars.InBlockSpan(0) && !element->startsBlock;
  return chars.InBlockSpan(at - 1) && chars.InBlockSpan(at);
}

}  // namespace osprevan::pdf
