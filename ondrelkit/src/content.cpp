// Page content: the content table's operations, and each page's content built once, from
// Poppler's interpretation of the page or from what the read-ahead recorded of it.
#include <algorithm>
#include <cstring>
#include <memory>

#include "src/content_builder.h"
#include "src/content_log.h"
#include "src/content_tree.h"
#include "src/handles.h"
#include "src/operations.h"
#include "src/page_interpretation.h"
#include "src/read_ahead.h"

namespace ondrelkit {
namespace {

const OkElement* CheckedElement(const OkElement* element, int32_t kind) {
  RequireInitialised();
  if (!element) Raise(kErrBadArgument);
  if (element->kind != kind) Raise(kErrWrongType);
  return element;
}

const TextRun& RunOf(const OkElement* text, int32_t run) {
  CheckedElement(text, kPdfElementText);
  if (run < 0 || static_cast<uint32_t>(run) >= text->runCount) Raise(kErrBadArgument);
  return text->page->runs[text->firstRun + static_cast<uint32_t>(run)];
}

const Glyph& GlyphOf(const OkElement* text, int32_t run, int32_t index) {
  const TextRun& r = RunOf(text, run);
  if (index < 0 || static_cast<uint32_t>(index) >= r.glyphCount) Raise(kErrBadArgument);
  return text->page->glyphs[r.firstGlyph + static_cast<uint32_t>(index)];
}

const OkContent* PageContentOf(OkPage* page) {
  RequireInitialised();
  if (!page) Raise(kErrBadArgument);
  if (!page->content) page->content = BuildPageContent(page);
  return &page->content->root.content;
}

int32_t ContentCount(const OkContent* content) {
  RequireInitialised();
  if (!content) Raise(kErrBadArgument);
  return static_cast<int32_t>(content->elements.size());
}

const OkElement* ContentAt(const OkContent* content, int32_t index) {
  if (index < 0 || index >= ContentCount(content)) Raise(kErrBadArgument);
  return content->elements[static_cast<size_t>(index)];
}

int32_t ElementKind(const OkElement* element) {
  RequireInitialised();
  if (!element) Raise(kErrBadArgument);
  return element->kind;
}

const OkContent* ContainerContent(const OkElement* container) {
  return &CheckedElement(container, kPdfElementContainer)->content;
}

PdfAtom ContainerTag(const OkElement* container) {
  return CheckedElement(container, kPdfElementContainer)->tag;
}

int32_t ContainerMcid(const OkElement* container) {
  return CheckedElement(container, kPdfElementContainer)->mcid;
}

const OkElement* TextMarkedContent(const OkElement* text) {
  return CheckedElement(text, kPdfElementText)->markedContent;
}

int32_t TextRunCount(const OkElement* text) {
  return static_cast<int32_t>(CheckedElement(text, kPdfElementText)->runCount);
}

int32_t RunCharCount(const OkElement* text, int32_t run) {
  return static_cast<int32_t>(RunOf(text, run).glyphCount);
}

void CharBox(const OkElement* text, int32_t run, int32_t index, PdfFixed box[4]) {
  const Glyph& glyph = GlyphOf(text, run, index);
  if (!box) Raise(kErrBadArgument);
  for (int i = 0; i < 4; ++i) box[i] = FloatToFixed(glyph.box[i]);
}

size_t CharCodes(const OkElement* text, int32_t run, int32_t index, uint8_t* buffer,
                 size_t capacity) {
  const Glyph& glyph = GlyphOf(text, run, index);
  if (buffer) std::memcpy(buffer, glyph.codes, std::min<size_t>(glyph.codeCount, capacity));
  return glyph.codeCount;
}

size_t CharUnicode(const OkElement* text, int32_t run, int32_t index, char16_t* buffer,
                   size_t capacity) {
  const Glyph& glyph = GlyphOf(text, run, index);
  if (buffer && capacity) {
    const size_t count = std::min<size_t>(glyph.unicodeCount, capacity - 1);
    // A page without any Unicode has an empty array, whose data() is null.
    if (count) {
      std::memcpy(buffer, text->page->unicode.data() + glyph.unicodeAt, count * sizeof(char16_t));
    }
    buffer[count] = u'\0';
  }
  return glyph.unicodeCount;
}

}  // namespace

PageContent* BuildPageContent(const OkPage* page) {
  const OkDoc& document = *page->document;
  const TreePage* fromTree = page->treePage.get();
  std::unique_ptr<ContentLog> log;
  if (!fromTree) {
    try {
      PlanReadAhead(document, page->index);
    } catch (...) {  // reading ahead only saves time; the page is read here without it
    }
    ReadAhead* reader = document.readAhead.reader.get();
    // What the other document read holds only while this one reads as it does.
    if (reader) log = reader->Take(page->index);
    if (*document.repaired) log.reset();
  }
  PageContent* content = New<PageContent>();
  ContentBuilder builder(content);
  bool readable = true;
  if (log) {
    log->ReplayInto(builder);
    CountPageReadAhead();
  } else {
    try {
      readable = InterpretPage(document.pdf.get(), page->index, fromTree, page->rotation, builder);
    } catch (...) {
      Delete(content);
      throw;
    }
  }
  if (!readable || builder.failed()) {
    Delete(content);
    Raise(readable ? builder.error() : kErrDamaged);
  }
  return content;
}

const OkContentTable kContentTable = {
    kOkContentVersion, PageContentOf, ContentCount,  ContentAt,         ElementKind,
    ContainerContent,  ContainerTag,  ContainerMcid, TextMarkedContent, TextRunCount,
    RunCharCount,      CharBox,       CharCodes,     CharUnicode};

}  // namespace ondrelkit
