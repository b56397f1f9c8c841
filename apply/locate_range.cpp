#include "apply/locate_range.h"

#include <algorithm>
#include <vector>

#include "apply/container_walk.h"
#include "apply/remap_offsets.h"
#include "apply/shown_paragraph.h"
#include "hostlink/host_ops.h"
#include "pdf/element_id.h"
#include "pdf/inside_block.h"
#include "support/unicode_text.h"

namespace osprevan::apply {
namespace {

using pdf::ContentElement;
using pdf::ElementEntry;
using pdf::ElementKind;
using tolvane::ObjectId;
using tolvane::TTextLoc;

// Walks over host lists stop here at the latest, so that a list that loops cannot hang.
constexpr int kMaxSteps = 1 << 22;

bool StartsWithIgnoringCase(const std::string& text, const std::string& prefix) {
  return text.size() >= prefix.size() &&
         support::EqualIgnoringCase(text.substr(0, prefix.size()), prefix);
}

bool IsEmptyParagraph(ObjectId document, ObjectId paragraph) {
  const bool numberShown =
      HostGetInt(document, paragraph, tolvane::P_PGF_AUTONUMBER_NOT_IN_PDF) == 0 &&
      !HostGetString(document, paragraph, tolvane::P_PGF_AUTONUMBER).empty();
  return !numberShown && HostGetInt(document, paragraph, tolvane::P_PGF_TEXT_LENGTH) <= 1;
}

// The count-th paragraph from `first` on that is not empty; 0 when there are fewer.
ObjectId CountParagraphs(ObjectId document, ObjectId first, uint32_t count) {
  uint32_t seen = 0;
  int steps = 0;
  for (ObjectId p = first; p && ++steps < kMaxSteps;
       p = HostGetId(document, p, tolvane::P_PGF_NEXT)) {
    if (!IsEmptyParagraph(document, p) && ++seen == count) return p;
  }
  return 0;
}

ObjectId FlowOfParagraph(ObjectId document, ObjectId paragraph) {
  return HostGetId(document, paragraph, tolvane::P_PGF_FLOW);
}

// The element's text as the PDF holds it, without the paragraph number it starts with and
// without the text of blocks, which the host keeps outside the paragraph (as positions count).
std::string ElementText(const ContentElement& element, int32_t numberLength) {
  return element.chars.Text(static_cast<size_t>(numberLength), element.chars.size(), true);
}

// The paragraph the host reports for a selection at the start of `paragraph`: a paragraph
// found through its identifier is looked at once more where the host shows it.
ObjectId SelectedParagraph(ObjectId document, ObjectId paragraph) {
  HostSetTextRange(document, document, tolvane::P_DOC_TEXT_SELECTION,
                   {{paragraph, 0}, {paragraph, 0}});
  const ObjectId selected = HostGetId(document, document, tolvane::P_DOC_SELECTED_TEXT_OBJECT);
  return selected ? selected : paragraph;
}

// Characters (code points) of a UTF-8 text: the bytes that do not continue a character.
uint32_t CharacterCount(const std::string& text) {
  return static_cast<uint32_t>(std::count_if(text.begin(), text.end(), [](char c) {
    return (static_cast<unsigned char>(c) & 0xC0) != 0x80;
  }));
}

// Which part of a range one element holds: all of it, or one end of a range that runs over
// several elements, its part in this element running to the element's end or from its start.
enum class RangePart { Whole, Start, End };

// Places the positions of one element (the start, or the start and the end when both lie in
// it) in the element's host paragraph; false with the reason when a place is in doubt. A
// position `inside` a block keeps its count: there is no text of the paragraph to compare it with.
bool LocateInElement(ObjectId document, const ContentElement& element,
                     const std::vector<const pdf::TextPosition*>& positions,
                     const std::vector<bool>& inside, const std::vector<TTextLoc*>& locations,
                     RangePart part, LocateDoubts& doubts) {
  bool trusted = true;
  auto doubt = [&](PlacementReason why) {
    trusted = false;
    doubts.Add(why);
  };
  ResolvedElement resolved = ResolveElement(document, element);
  if (!resolved.certain) doubt(resolved.reason);
  if (resolved.counted) doubt(PlacementReason::FoundByCounting);
  if (resolved.certain) resolved.paragraph = SelectedParagraph(document, resolved.paragraph);
  if (!resolved.paragraph) {
    for (TTextLoc* location : locations) *location = {0, 0};
    doubt(PlacementReason::NotInParagraph);
    return false;
  }
  const ShownParagraph shown = ReadShownParagraph(document, resolved.paragraph);
  const uint32_t number = static_cast<uint32_t>(shown.numberLength);
  std::vector<uint32_t> targets;
  for (const pdf::TextPosition* position : positions) {
    if (position->hostOffset < number) {
      doubt(PlacementReason::InsideParagraphNumber);
      targets.push_back(0);
    } else {
      targets.push_back(position->hostOffset - number);
    }
  }
  // The PDF text is always compared with the paragraph's text as it is now: a paragraph
  // edited since the PDF was made must not take comments at offsets that no longer hold.
  const bool compare = std::find(inside.begin(), inside.end(), false) != inside.end();
  const std::string pdfText = ElementText(element, shown.numberLength);
  if (compare && pdfText != shown.text) {
    // The characters of the range that this element holds are compared, also for one end of a
    // range over several elements.
    const uint32_t from = part == RangePart::End ? 0 : targets.front();
    const uint32_t to = part == RangePart::Start ? CharacterCount(pdfText) : targets.back();
    const RemapResult mapped = RemapOffsets(pdfText, shown.text, {}, from, to);
    if (part != RangePart::End && !inside.front()) targets.front() = mapped.start;
    if (part != RangePart::Start && !inside.back()) targets.back() = mapped.end;
    if (!mapped.trusted) doubt(PlacementReason::TextChanged);
  }
  for (size_t i = 0; i < positions.size(); ++i) {
    if (targets[i] > shown.count()) doubt(PlacementReason::BeyondParagraphText);
    const bool inNumber = positions[i]->hostOffset < number;
    locations[i]->object = resolved.paragraph;
    locations[i]->offset = inNumber ? 0 : shown.HostOffset(targets[i], positions[i]->atBlockEnd);
  }
  return trusted;
}

}  // namespace

ObjectId FindFlowForElement(ObjectId document, const std::string& article) {
  if (!StartsWithIgnoringCase(article, "Article_")) return 0;
  return BodyFlowNamed(document, article.substr(8));
}

ResolvedElement ResolveElement(ObjectId document, const ContentElement& element) {
  ResolvedElement out;
  HostContainer container;
  if (!WalkContainers(document, element, container)) {
    out.certain = false;
    out.reason = PlacementReason::ContainerNotFound;
  }
  out.flow = container.flow;
  out.paragraph = pdf::ResolveElementId(document, element.identifier);
  if (out.paragraph) {
    if (const ObjectId flow = FlowOfParagraph(document, out.paragraph)) out.flow = flow;
    return out;
  }
  // Not found by its identifier: count the paragraphs of its container. A count that stands
  // in for an identifier that named nothing is a guess, so it is never trusted.
  out.certain = false;
  out.counted = true;
  if (out.reason == PlacementReason::None) out.reason = PlacementReason::FoundByCounting;
  const ObjectId first = container.FirstParagraph(document);
  out.paragraph = CountParagraphs(document, first, element.containerCount);
  if (!out.paragraph) out.paragraph = first;
  if (!out.paragraph && out.flow)
    out.paragraph = HostGetId(document, out.flow, tolvane::P_FLOW_FIRST_PARAGRAPH);
  return out;
}

void LocateDoubts::Add(PlacementReason why) {
  if (first == PlacementReason::None) first = why;
  const bool differs =
      why == PlacementReason::FoundByCounting || why == PlacementReason::TextChanged;
  if (differs && documentDiffers == PlacementReason::None) documentDiffers = why;
}

support::Status LocateRange(ObjectId document, ObjectId flow, const pdf::TextRange& range,
                            TTextLoc& begin, TTextLoc& end, LocateDoubts& doubts) {
  bool trusted = true;
  auto doubt = [&](PlacementReason why) {
    trusted = false;
    doubts.Add(why);
  };
  const pdf::TextPosition* positions[2] = {&range.start, &range.end};
  TTextLoc* locations[2] = {&begin, &end};
  const bool oneElement = range.start.element == range.end.element;
  const bool inside[2] = {pdf::InsideBlock(range.start), pdf::InsideBlock(range.end)};
  if (inside[0] || inside[1]) doubt(PlacementReason::InsideBlock);
  for (int side = 0; side < 2; ++side) {
    if (side == 1 && oneElement) break;
    const pdf::TextPosition& position = *positions[side];
    std::vector<const pdf::TextPosition*> here = {&position};
    std::vector<TTextLoc*> out = {locations[side]};
    std::vector<bool> within = {inside[side]};
    if (oneElement) {
      here.push_back(&range.end);
      out.push_back(&end);
      within.push_back(inside[1]);
    }
    if (!position.element) {
      const ObjectId fallbackFlow =
          flow ? flow : HostGetId(document, document, tolvane::P_DOC_MAIN_FLOW);
      const TTextLoc start{HostGetId(document, fallbackFlow, tolvane::P_FLOW_FIRST_PARAGRAPH), 0};
      for (TTextLoc* location : out) *location = start;
      doubt(PlacementReason::NoElement);
      continue;
    }
    const RangePart part =
        oneElement ? RangePart::Whole : (side == 0 ? RangePart::Start : RangePart::End);
    if (!LocateInElement(document, *position.element, here, within, out, part, doubts))
      trusted = false;
  }
  // A start inside a block has no place of its own in the paragraph: the range shrinks to it.
  if (inside[0] && !inside[1]) end = begin;
  if (trusted) return support::Status::Done();
  return support::Status::Failed(ReasonName(doubts.first));
}

}  // namespace osprevan::apply
