#include "pdf/marked_content_owner.h"

#include <algorithm>
#include <memory>
#include <string>
#include <utility>

#include "pdf/element_classification.h"
#include "pdf/pdf_guard.h"

namespace osprevan::pdf {
namespace {

using ondrelkit::kNoAtom;
using ondrelkit::PdfAtom;

// Deeper structure than any producer writes; a parent chain this long is taken as damaged.
constexpr size_t kMaxStructureDepth = 256;

}  // namespace

OwnerLookup::OwnerLookup(DocumentContext& context, const OkObj* pageObject)
    : context_(context), t_(Tables()), pageObject_(pageObject) {
  span_ = Guarded([&] { return t_.core->PdfAtom("Span"); }, kNoAtom);
  figure_ = Guarded([&] { return t_.core->PdfAtom("Figure"); }, kNoAtom);
}

std::optional<MarkedContentOwner> OwnerLookup::OfMcid(int32_t mcid) {
  if (!pageObject_ || mcid < 0) return std::nullopt;
  const support::PhaseTimer climbing(context_.phases, support::Phase::Structure);
  // An MCID that the page's parent tree does not name has no structure element.
  const OkStructElem* start = Guarded([&] { return t_.markedContentParent(pageObject_, mcid); },
                                      static_cast<OkStructElem*>(nullptr));
  if (!start) return std::nullopt;
  return OfElement(start);
}

// Walks from the element that owns the marked content up to the root: the first paragraph-level
// type is the owner; the classified elements above it are its chain.
std::optional<MarkedContentOwner> OwnerLookup::OfElement(const OkStructElem* start) {
  std::vector<Level> path;
  std::optional<size_t> paragraph;
  MarkedContentOwner owner;
  for (const OkStructElem* element = start; element;
       element = Guarded([&] { return t_.structElemParent(element); },
                         static_cast<OkStructElem*>(nullptr))) {
    // A parent chain that comes back to an element it passed, or that never ends, has no root:
    // its text belongs to no element.
    if (path.size() >= kMaxStructureDepth ||
        std::any_of(path.begin(), path.end(),
                    [&](const Level& l) { return l.element == element; })) {
      return std::nullopt;
    }
    const Level level = LevelOf(element);
    // Under a role map, text in a figure is no paragraph text, unless a span below carried it
    // into the figure.
    if (context_.hasRoleMap && level.own != kNoAtom && level.own == figure_ &&
        (path.empty() || path.back().mapped != span_)) {
      return std::nullopt;
    }
    if (level.mapped != kNoAtom && level.mapped == span_ && context_.blockSpans.count(element)) {
      owner.inBlockSpan = true;
    }
    if (!paragraph && IsParagraph(level.mapped)) {
      paragraph = path.size();
      owner.structElem = element;
    }
    path.push_back(level);
  }
  if (!paragraph) return std::nullopt;
  owner.chain = ChainAbove(path, *paragraph + 1);
  return owner;
}

// An element without a type (none given, or one the library cannot read) is passed over like
// any element of a type the import does not know.
OwnerLookup::Level OwnerLookup::LevelOf(const OkStructElem* element) const {
  const auto known = context_.elementTypes.find(element);
  if (known != context_.elementTypes.end())
    return Level{element, known->second.first, known->second.second};
  Level level{element, kNoAtom, kNoAtom};
  level.own = Guarded([&] { return t_.structElemType(element); }, kNoAtom);
  level.mapped = level.own;
  if (level.own != kNoAtom && context_.hasRoleMap && context_.roleMap) {
    level.mapped =
        Guarded([&] { return t_.roleMapDirect(context_.roleMap, level.own); }, level.own);
  }
  context_.elementTypes.emplace(element, std::make_pair(level.own, level.mapped));
  return level;
}

bool OwnerLookup::IsParagraph(PdfAtom mapped) const {
  const auto& types = context_.paragraphTypes;
  return mapped != kNoAtom && std::find(types.begin(), types.end(), mapped) != types.end();
}

// The chain of classified elements from path[from] up to the root. Each element gets its entry
// once, classified or not; an unclassified entry points at the chain above it, so a later walk
// can stop at the first element that already has one.
const ElementEntry* OwnerLookup::ChainAbove(const std::vector<Level>& path, size_t from) {
  const ElementEntry* above = nullptr;
  size_t stop = path.size();
  for (size_t i = from; i < path.size(); ++i) {
    const auto known = context_.entries.find(path[i].element);
    if (known != context_.entries.end()) {
      const ElementEntry* entry = known->second.get();
      above = entry->kind != ElementKind::NotClassified ? entry : entry->outer;
      stop = i;
      break;
    }
  }
  for (size_t i = stop; i-- > from;) {
    const Level& level = path[i];
    auto entry = std::make_unique<ElementEntry>();
    entry->kind = ClassifyElement(level.own, level.mapped, level.element);
    entry->outer = above;
    if (entry->kind == ElementKind::Section) {
      entry->name =
          Guarded([&] { return std::string(t_.core->PdfAtomName(level.own)); }, std::string());
    }
    if (entry->kind != ElementKind::NotClassified) above = entry.get();
    context_.entries.emplace(level.element, std::move(entry));
  }
  return above;
}

void TakeRoleMap(DocumentContext& context) {
  if (!context.hasRoleMap || context.roleMap || !context.document) return;
  context.roleMap = Guarded([&] { return Tables().structRoleMap(context.document); },
                            static_cast<OkObj*>(nullptr));
}

}  // namespace osprevan::pdf
