#include "pdf/content_walk.h"

#include <algorithm>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "pdf/character_match.h"
#include "pdf/content_groups.h"
#include "pdf/marked_content_owner.h"
#include "pdf/page_geometry.h"
#include "pdf/pdf_guard.h"
#include "pdf/pdf_tables.h"
#include "support/unicode_text.h"

namespace osprevan::pdf {
namespace {

// The buffers the library fills for one character: its code bytes, and its Unicode as UTF-16
// (cut and zero-terminated by the library).
constexpr size_t kUnicodeUnits = 16 / sizeof(char16_t);

// What one page's walk needs again and again.
class PageWalk {
 public:
  PageWalk(DocumentContext& context, OkPage* page)
      : context_(context),
        t_(Tables()),
        pageObject_(
            Guarded([&] { return t_.pages->PdfPageObject(page); }, static_cast<OkObj*>(nullptr))),
        owners_(context, pageObject_) {}
  ~PageWalk() {
    if (pageObject_) Guarded([&] { return t_.core->PdfRelease(pageObject_), 0; }, 0);
  }
  PageWalk(const PageWalk&) = delete;
  PageWalk& operator=(const PageWalk&) = delete;

  void WalkContainer(const OkElement* container);

 private:
  void WalkText(const OkElement* text);
  std::optional<MarkedContentOwner> OwnerOf(const OkElement* text);
  bool ReadCharacter(const OkElement* text, int32_t run, int32_t index, CharacterRecord& out);
  void AddCharacter(CharacterRecord&& character, ContentElement* element);

  DocumentContext& context_;
  const PdfTables& t_;
  OkObj* pageObject_ = nullptr;
  OwnerLookup owners_;
  MatchSubtypes subtypes_;
  // Consecutive text elements of one marked-content sequence share its owner.
  const OkElement* lastMarked_ = nullptr;
  std::optional<MarkedContentOwner> lastOwner_;
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
  const std::optional<MarkedContentOwner> owner = OwnerOf(text);
  ContentElement* element = nullptr;  // made with the first character
  const int32_t runs = Guarded([&] { return c->PdfTextRunCount(text); }, 0);
  for (int32_t run = 0; run < runs; ++run) {
    const int32_t chars = Guarded([&] { return c->PdfRunCharCount(text, run); }, 0);
    for (int32_t index = 0; index < chars; ++index) {
      CharacterRecord character;
      if (!ReadCharacter(text, run, index, character)) continue;
      if (owner) {
        character.inBlockSpan = owner->inBlockSpan;
        if (!element) element = ElementOf(context_, *owner);
      }
      AddCharacter(std::move(character), element);
    }
  }
}

std::optional<MarkedContentOwner> PageWalk::OwnerOf(const OkElement* text) {
  const auto* c = t_.content;
  const OkElement* marked = Guarded([&] { return c->PdfTextMarkedContent(text); },
                                    static_cast<const OkElement*>(nullptr));
  if (marked && marked == lastMarked_) return lastOwner_;
  lastMarked_ = marked;
  lastOwner_.reset();
  // Text in no marked content with an MCID has no structure element.
  if (!marked) return lastOwner_;
  lastOwner_ = owners_.OfMcid(Guarded([&] { return c->PdfContainerMcid(marked); }, -1));
  return lastOwner_;
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
  context_.offset = offset;
  MatchCharacter(context_, character, element, offset, subtypes_);
}

}  // namespace

support::Status WalkPageContent(DocumentContext& context, OkPage* page) {
  context.pageOwners.clear();
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
