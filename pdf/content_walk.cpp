#include "pdf/content_walk.h"

#include <algorithm>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "pdf/character_match.h"
#include "pdf/element_classification.h"
#include "pdf/page_geometry.h"
#include "pdf/pdf_guard.h"
#include "pdf/pdf_tables.h"
#include "support/unicode_text.h"

namespace osprevan::pdf {
namespace {

using ondrelkit::kNoAtom;
using ondrelkit::PdfAtom;

// Deeper structure than any producer writes; a parent chain this long is taken as damaged.
constexpr size_t kMaxStructureDepth = 256;
// The buffers the library fills for one character: its code bytes, and its Unicode as UTF-16
// (cut and zero-terminated by the library).
constexpr size_t kUnicodeUnits = 16 / sizeof(char16_t);

// One level of a parent chain, with its type and the standard type the role map gives it.
struct Level {
  const OkStructElem* element;
  PdfAtom own;
  PdfAtom mapped;
};

// Where the text of one marked-content sequence belongs.
struct Owner {
  const OkStructElem* structElem = nullptr;
  const ElementEntry* chain = nullptr;
  bool inBlockSpan = false;
};

// What one page's walk needs again and again.
class PageWalk {
 public:
  PageWalk(DocumentContext& context, OkPage* page) : context_(context), t_(Tables()) {
    pageObject_ =
        Guarded([&] { return t_.pages->PdfPageObject(page); }, static_cast<OkObj*>(nullptr));
    span_ = Guarded([&] { return t_.core->PdfAtom("Span"); }, kNoAtom);
    figure_ = Guarded([&] { return t_.core->PdfAtom("Figure"); }, kNoAtom);
  }
  ~PageWalk() {
    if (pageObject_) Guarded([&] { return t_.core->PdfRelease(pageObject_), 0; }, 0);
  }
  PageWalk(const PageWalk&) = delete;
  PageWalk& operator=(const PageWalk&) = delete;

  void WalkContainer(const OkElement* container);

 private:
  void WalkText(const OkElement* text);
  std::optional<Owner> OwnerOf(const OkElement* text);
  std::optional<Owner> OwnerOfElement(const OkStructElem* start);
  Level LevelOf(const OkStructElem* element) const;
  bool IsParagraph(PdfAtom mapped) const;
  const ElementEntry* ChainAbove(const std::vector<Level>& path, size_t from);
  ContentElement* ElementOf(const Owner& owner);
  bool ReadCharacter(const OkElement* text, int32_t run, int32_t index, CharacterRecord& out);
  void AddCharacter(CharacterRecord&& character, ContentElement* element);

  DocumentContext& context_;
  const PdfTables& t_;
  OkObj* pageObject_ = nullptr;
  PdfAtom span_ = kNoAtom;
  PdfAtom figure_ = kNoAtom;
  MatchSubtypes subtypes_;
  // Consecutive text elements of one marked-content sequence share its owner.
  const OkElement* lastMarked_ = nullptr;
  std::optional<Owner> lastOwner_;
};

// Only text elements directly inside the container are read; marked content nested in marked
// content is not.
void PageWalk::WalkContainer(const OkElement* container) {
  const auto* c = t_.content;
  const OkContent* content = Guarded([&] { return c->PdfContainerContent(container); },
                                     static_cast<const OkContent*>(nullptr));
  if (!content) return;
  const int32_t count = Guarded([&] { return c->PdfContentCount(content); }, 0);
  for (int32_t i = 0; i < count; ++i) {
    const OkElement* element = Guarded([&] { return c->PdfContentAt(content, i); },
                                       static_cast<const OkElement*>(nullptr));
    if (element && Guarded([&] { return c->PdfElementKind(element); }, 0) == kPdfElementText) {
      WalkText(element);
    }
  }
}

void PageWalk::WalkText(const OkElement* text) {
  const auto* c = t_.content;
  const std::optional<Owner> owner = OwnerOf(text);
  ContentElement* element = nullptr;  // made with the first character
  const int32_t runs = Guarded([&] { return c->PdfTextRunCount(text); }, 0);
  for (int32_t run = 0; run < runs; ++run) {
    const int32_t chars = Guarded([&] { return c->PdfRunCharCount(text, run); }, 0);
    for (int32_t index = 0; index < chars; ++index) {
      CharacterRecord character;
      if (!ReadCharacter(text, run, index, character)) continue;
      if (owner) {
        character.inBlockSpan = owner->inBlockSpan;
        if (!element) element = ElementOf(*owner);
      }
      AddCharacter(std::move(character), element);
    }
  }
}

std::optional<Owner> PageWalk::OwnerOf(const OkElement* text) {
  const auto* c = t_.content;
  const OkElement* marked = Guarded([&] { return c->PdfTextMarkedContent(text); },
                                    static_cast<const OkElement*>(nullptr));
  if (marked && marked == lastMarked_) return lastOwner_;
  lastMarked_ = marked;
  lastOwner_.reset();
  // Text in no marked content with an MCID has no structure element.
  if (!marked || !pageObject_) return lastOwner_;
  const int32_t mcid = Guarded([&] { return c->PdfContainerMcid(marked); }, -1);
  if (mcid < 0) return lastOwner_;
  const support::PhaseTimer climbing(context_.phases, support::Phase::Structure);
  // An MCID that the page's parent tree does not name has no structure element.
  const OkStructElem* start = Guarded([&] { return t_.markedContentParent(pageObject_, mcid); },
                                      static_cast<OkStructElem*>(nullptr));
  if (start) lastOwner_ = OwnerOfElement(start);
  return lastOwner_;
}

// Walks from the element that owns the marked content up to the root: the first paragraph-level
// type is the owner; the classified elements above it are its chain.
std::optional<Owner> PageWalk::OwnerOfElement(const OkStructElem* start) {
  std::vector<Level> path;
  std::optional<size_t> paragraph;
  Owner owner;
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
Level PageWalk::LevelOf(const OkStructElem* element) const {
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

bool PageWalk::IsParagraph(PdfAtom mapped) const {
  const auto& types = context_.paragraphTypes;
  return mapped != kNoAtom && std::find(types.begin(), types.end(), mapped) != types.end();
}

// The chain of classified elements from path[from] up to the root. Each element gets its entry
// once, classified or not; an unclassified entry points at the chain above it, so a later walk
// can stop at the first element that already has one.
const ElementEntry* PageWalk::ChainAbove(const std::vector<Level>& path, size_t from) {
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

// The content element the owner's next character belongs to: the last one of its chain when
// that has the same paragraph, else a new one.
ContentElement* PageWalk::ElementOf(const Owner& owner) {
  ContentGroup& group = context_.groups[owner.chain];
  if (group.last && group.lastStructElem == owner.structElem) {
    group.last->lastPage = context_.pageIndex;
    return group.last;
  }
  auto made = std::make_unique<ContentElement>();
  ContentElement* element = made.get();
  element->containers = owner.chain;
  context_.structElems.emplace(element, owner.structElem);
  element->firstPage = element->lastPage = context_.pageIndex;
  element->box = EmptyElementBox(context_.page);
  element->containerIndex = ++group.count;
  // A block's text lies inside the host paragraph that anchors it: an element that starts in a
  // block's span does not advance the count, so it and the element after it make one paragraph.
  element->containerCount = group.outsideBlocks;
  if (!owner.inBlockSpan) ++group.outsideBlocks;
  if (group.last) group.last->nextInContainer = element;
  group.last = element;
  group.lastStructElem = owner.structElem;
  context_.elementsByPage[context_.pageIndex].push_back(element);
  context_.elements.push_back(std::move(made));
  return element;
}

bool PageWalk::ReadCharacter(const OkElement* text, int32_t run, int32_t index,
                             CharacterRecord& out) {
  const auto* c = t_.content;
  return Guarded(
      [&] {
        PdfFixed box[4] = {};
        c->PdfCharBox(text, run, index, box);
        const auto side = [&](int i) { return t_.dates->PdfFixedToFloat(box[i]); };
        out.area = UserRect{side(0), side(1), side(2), side(3)};
        out.box = CharacterBox(out.area, context_.page);
        char16_t units[kUnicodeUnits] = {};
        const size_t unitCount = c->PdfCharUnicode(text, run, index, units, kUnicodeUnits);
        // A broken surrogate pair reads as no text rather than as bytes that are no UTF-8.
        out.text =
            support::Utf16ToUtf8(std::u16string(units, std::min(unitCount, kUnicodeUnits - 1)))
                .value_or(std::string());
        return true;
      },
      false);
}

void PageWalk::AddCharacter(CharacterRecord&& character, ContentElement* element) {
  uint32_t offset = 0;
  if (element) {
    CommentBox& box = element->box;
    box.left = std::min(box.left, character.box.left);
    box.top = std::min(box.top, character.box.top);
    box.right = std::max(box.right, character.box.right);
    box.bottom = std::max(box.bottom, character.box.bottom);
    if (!character.inBlockSpan) element->inBlockSpan = false;
    offset = static_cast<uint32_t>(element->chars.size());
    element->chars.Append(character);
    if (element->walkedPage != context_.pageIndex) {
      element->walkedPage = context_.pageIndex;
      context_.pageElements.push_back(element);
    }
  } else {
    // Text outside the structure goes on counting from the character before it.
    offset = context_.offset + 1;
  }
  context_.currentElement = element;
  context_.offset = offset;
  MatchCharacter(context_, character, element, offset, subtypes_);
}

// The role map is taken once per document: the context drops it with the document's
// collections.
void TakeRoleMap(DocumentContext& context) {
  if (!context.hasRoleMap || context.roleMap || !context.document) return;
  context.roleMap = Guarded([&] { return Tables().structRoleMap(context.document); },
                            static_cast<OkObj*>(nullptr));
}

}  // namespace

support::Status WalkPageContent(DocumentContext& context, OkPage* page) {
  const PdfTables& t = Tables();
  if (!page) return support::Status::NotFound("no page");
  // The tables are bound all together or not at all.
  if (!t.core) return support::Status::Failed("the PDF library is not loaded");
  TakeRoleMap(context);
  PageWalk walk(context, page);
  const auto* c = t.content;
  const OkContent* content =
      Guarded([&] { return c->PdfPageContent(page); }, static_cast<const OkContent*>(nullptr));
  if (!content) return support::Status::Failed("the page's content could not be read");
  const int32_t count = Guarded([&] { return c->PdfContentCount(content); }, 0);
  for (int32_t i = 0; i < count; ++i) {
    const OkElement* element = Guarded([&] { return c->PdfContentAt(content, i); },
                                       static_cast<const OkElement*>(nullptr));
    if (element && Guarded([&] { return c->PdfElementKind(element); }, 0) == kPdfElementContainer) {
      walk.WalkContainer(element);
    }
  }
  return support::Status::Done();
}

}  // namespace osprevan::pdf
