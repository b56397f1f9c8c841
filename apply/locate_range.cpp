#include "apply/locate_range.h"

#include <vector>

#include "apply/remap_offsets.h"
#include "apply/shown_paragraph.h"
#include "hostlink/host_ops.h"
#include "pdf/element_id.h"
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

bool OnBodyPage(ObjectId document, ObjectId flow) {
  const ObjectId frame = HostGetId(document, flow, tolvane::P_FLOW_FIRST_TEXT_FRAME);
  const ObjectId page = frame ? HostGetId(document, frame, tolvane::P_FRAME_PAGE) : 0;
  return page && tolvane::KindOf(page) == tolvane::KIND_BODY_PAGE;
}

ObjectId FlowByName(ObjectId document, const std::string& name) {
  int steps = 0;
  for (ObjectId flow = HostGetId(document, document, tolvane::P_DOC_FIRST_FLOW);
       flow && ++steps < kMaxSteps; flow = HostGetId(document, flow, tolvane::P_FLOW_NEXT)) {
    if (HostGetString(document, flow, tolvane::P_FLOW_NAME) == name && OnBodyPage(document, flow))
      return flow;
  }
  return 0;
}

// The flow a section entry names: "Article_" or "Section_" and the flow's name.
ObjectId FlowOfSection(ObjectId document, const std::string& name) {
  for (const char* prefix : {"Article_", "Section_"}) {
    if (StartsWithIgnoringCase(name, prefix)) return FlowByName(document, name.substr(8));
  }
  return 0;
}

bool IsEmptyParagraph(ObjectId document, ObjectId paragraph) {
  const bool numberShown =
      HostGetInt(document, paragraph, tolvane::P_PGF_AUTONUMBER_NOT_IN_PDF) == 0 &&
      !HostGetString(document, paragraph, tolvane::P_PGF_AUTONUMBER).empty();
  return !numberShown && HostGetInt(document, paragraph, tolvane::P_PGF_TEXT_LENGTH) <= 1;
}

// The count-th paragraph of the flow that is not empty; 0 when the flow has fewer.
ObjectId CountParagraphs(ObjectId document, ObjectId flow, uint32_t count) {
  uint32_t seen = 0;
  int steps = 0;
  for (ObjectId p = HostGetId(document, flow, tolvane::P_FLOW_FIRST_PARAGRAPH);
       p && ++steps < kMaxSteps; p = HostGetId(document, p, tolvane::P_PGF_NEXT)) {
    if (!IsEmptyParagraph(document, p) && ++seen == count) return p;
  }
  return 0;
}

ObjectId FlowOfParagraph(ObjectId document, ObjectId paragraph) {
  return HostGetId(document, paragraph, tolvane::P_PGF_FLOW);
}

// The element's text as the PDF holds it, without the paragraph number it starts with.
std::string ElementText(const ContentElement& element, int32_t numberLength) {
  std::string text;
  for (size_t i = static_cast<size_t>(numberLength); i < element.chars.size(); ++i)
    text += element.chars[i].text;
  return text;
}

// The paragraph the host reports for a selection at the start of `paragraph`: a paragraph
// found through its identifier is looked at once more where the host shows it.
ObjectId SelectedParagraph(ObjectId document, ObjectId paragraph) {
  HostSetTextRange(document, document, tolvane::P_DOC_TEXT_SELECTION,
                   {{paragraph, 0}, {paragraph, 0}});
  const ObjectId selected = HostGetId(document, document, tolvane::P_DOC_SELECTED_TEXT_OBJECT);
  return selected ? selected : paragraph;
}

// Places the positions of one element (the start, or the start and the end when both lie in
// it) in the element's host paragraph; false with the reason when a place is in doubt.
bool LocateInElement(ObjectId document, const ContentElement& element,
                     const std::vector<const pdf::TextPosition*>& positions,
                     const std::vector<TTextLoc*>& locations, PlacementReason& reason) {
  bool trusted = true;
  auto doubt = [&](PlacementReason why) {
    trusted = false;
    if (reason == PlacementReason::None) reason = why;
  };
  ResolvedElement resolved = ResolveElement(document, element);
  if (!resolved.certain) doubt(resolved.reason);
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
  const std::string pdfText = ElementText(element, shown.numberLength);
  if (pdfText != shown.text) {
    const RemapResult mapped =
        RemapOffsets(pdfText, shown.text, {}, targets.front(), targets.back());
    targets.front() = mapped.start;
    targets.back() = mapped.end;
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
  return FlowByName(document, article.substr(8));
}

ResolvedElement ResolveElement(ObjectId document, const ContentElement& element) {
  ResolvedElement out;
  out.flow = HostGetId(document, document, tolvane::P_DOC_MAIN_FLOW);
  std::vector<const ElementEntry*> chain;
  for (const ElementEntry* e = element.containers; e && chain.size() < 256; e = e->outer)
    chain.push_back(e);
  // Outermost first. Only flows are walked into here: the paragraphs of tables, cells and
  // footnotes are found through their identifiers, and counting inside them is not done.
  bool inOtherContainer = false;
  for (auto it = chain.rbegin(); it != chain.rend(); ++it) {
    const ElementEntry& entry = **it;
    if (entry.kind == ElementKind::BookPart) continue;
    if (entry.kind == ElementKind::Section) {
      const ObjectId flow = FlowOfSection(document, entry.name);
      if (!flow) {
        out.certain = false;
        out.reason = PlacementReason::ContainerNotFound;
        break;
      }
      out.flow = flow;
    } else {
      inOtherContainer = true;
    }
  }
  bool hadIdentifier = false;
  out.paragraph = pdf::ResolveElementId(document, element.structElem, hadIdentifier);
  if (out.paragraph) {
    if (const ObjectId flow = FlowOfParagraph(document, out.paragraph)) out.flow = flow;
    return out;
  }
  // Not found by its identifier: count the flow's paragraphs. A count that stands in for an
  // identifier that named nothing is a guess, so it is never trusted.
  out.certain = false;
  if (out.reason == PlacementReason::None)
    out.reason =
        inOtherContainer ? PlacementReason::ContainerNotFound : PlacementReason::FoundByCounting;
  if (!inOtherContainer && out.flow)
    out.paragraph = CountParagraphs(document, out.flow, element.containerCount);
  if (!out.paragraph && out.flow)
    out.paragraph = HostGetId(document, out.flow, tolvane::P_FLOW_FIRST_PARAGRAPH);
  return out;
}

int32_t LocateRange(ObjectId document, ObjectId flow, const pdf::TextRange& range, TTextLoc& begin,
                    TTextLoc& end, PlacementReason& reason) {
  bool trusted = true;
  auto doubt = [&](PlacementReason why) {
    trusted = false;
    if (reason == PlacementReason::None) reason = why;
  };
  const pdf::TextPosition* positions[2] = {&range.start, &range.end};
  TTextLoc* locations[2] = {&begin, &end};
  const bool oneElement = range.start.element == range.end.element;
  for (int side = 0; side < 2; ++side) {
    if (side == 1 && oneElement) break;
    const pdf::TextPosition& position = *positions[side];
    std::vector<const pdf::TextPosition*> here = {&position};
    std::vector<TTextLoc*> out = {locations[side]};
    if (oneElement) {
      here.push_back(&range.end);
      out.push_back(&end);
    }
    if (!position.element) {
      const ObjectId fallbackFlow =
          flow ? flow : HostGetId(document, document, tolvane::P_DOC_MAIN_FLOW);
      const TTextLoc start{HostGetId(document, fallbackFlow, tolvane::P_FLOW_FIRST_PARAGRAPH), 0};
      for (TTextLoc* location : out) *location = start;
      doubt(PlacementReason::NoElement);
      continue;
    }
    PlacementReason why = PlacementReason::None;
    if (!LocateInElement(document, *position.element, here, out, why)) doubt(why);
  }
  return trusted ? 0 : 1;
}

}  // namespace osprevan::apply
