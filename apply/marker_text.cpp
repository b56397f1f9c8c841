#include "apply/marker_text.h"

#include <algorithm>
#include <cstring>
#include <vector>

#include "hostlink/held_text.h"
#include "pdf/content_element.h"
#include "support/formatted.h"
#include "support/message_ids.h"
#include "support/ui_strings.h"
#include "support/unicode_text.h"

namespace osprevan::apply {
namespace {

using pdf::PdfComment;
using support::Format;
using support::UiString;

constexpr const char* kPrefix = "TL_PDF_Comment: ";
constexpr const char* kSeparator = " : ";
constexpr const char* kArticlePrefix = "Article_";
constexpr size_t kArticlePrefixLength = 8;
constexpr size_t kExcerptCharacters = 15;
// Deeper replies are listed at this indentation: a PDF can chain thousands of replies, and a
// blank more for each level would make the text grow with the square of the chain.
constexpr int kMaxIndent = 64;

// " : LABEL : text"
void AppendField(std::string& out, int label, const std::string& text) {
  out += kSeparator;
  out += UiString(label);
  out += kSeparator;
  out += text;
}

// The flow named by the section around the comment's first character, when the import found
// that flow and the place is exact; null otherwise.
const pdf::ContentElement* FlowElement(const Placement& placement, std::string& flowName) {
  const PdfComment* comment = placement.comment;
  if (!comment || !placement.flow || comment->approximate()) return nullptr;
  const pdf::ContentElement* start = comment->range().start.element;
  if (!start) return nullptr;
  const std::string& section = start->SectionName();
  if (section.size() < kArticlePrefixLength ||
      !support::EqualIgnoringCase(section.substr(0, kArticlePrefixLength), kArticlePrefix)) {
    return nullptr;
  }
  flowName = section.substr(kArticlePrefixLength);
  return start;
}

// Where an unconfirmed comment was meant to go: page, flow, paragraph, its first characters and
// the offset, as far as they are known.
void AppendLocation(std::string& out, const Placement& placement) {
  const PdfComment* comment = placement.comment;
  const int64_t page = comment ? int64_t{comment->page()} + 1 : 0;
  out += UiString(support::MSG_UNCONFIRMED);
  out += kSeparator;
  out +=
      Format("(%s %lld, ", UiString(support::MSG_LABEL_PAGE).c_str(), static_cast<long long>(page));
  out += Format(" %s ", UiString(support::MSG_LABEL_FLOW).c_str());
  std::string flowName;
  if (const pdf::ContentElement* start = FlowElement(placement, flowName)) {
    // Names and text from the PDF are appended, never formatted, so that nothing cuts them.
    out += "\"" + flowName + "\", ";
    out += Format("%s %u ", UiString(support::MSG_LABEL_PARAGRAPH).c_str(), start->containerIndex);
    if (!start->chars.empty()) {
      out += "\"";
      out += start->chars.Text(0, kExcerptCharacters);
      out += "...\"";
    }
    out += Format(", %s %u", UiString(support::MSG_LABEL_POSITION).c_str(),
                  comment->range().start.offset);
  } else {
    out += "<" + UiString(support::MSG_UNKNOWN) + ">";
  }
  out += ")";
  out += kSeparator;
}

// The comment's own text and the PDF text it marked, as its kind shows them.
void AppendOwnAndMarkedText(std::string& out, const PlacementKindRow& kind,
                            const PdfComment& comment) {
  switch (kind.marker.ownText) {
    case OwnText::None:
      break;
    case OwnText::Contents:
      if (!comment.contents().empty()) AppendField(out, support::MSG_NOTE_TEXT, comment.contents());
      break;
    case OwnText::Added:
      AppendField(out, support::MSG_ADDED_TEXT, comment.contents());
      break;
    case OwnText::New:
      AppendField(out, support::MSG_NEW_TEXT,
                  comment.replacement() ? comment.replacement()->contents() : std::string());
      break;
  }
  if (kind.marker.markedTextLabel)
    AppendField(out, kind.marker.markedTextLabel, comment.markedText());
}

void AppendReplyLine(std::string& out, const PdfComment& reply, int indent) {
  out += "\n";
  out.append(static_cast<size_t>(indent), ' ');
  out += "-> ";
  out += reply.author();
  out += ": [";
  out += reply.dateText();
  out += "] : ";
  out += reply.contents();
}

}  // namespace

std::string ComposeReplyThread(const Placement& /*placement*/, const PdfComment& comment,
                               int depth) {
  // Walked with a stack of its own, not by recursion: reply chains come from the PDF and may
  // be far deeper than the call stack allows.
  struct Level {
    const std::vector<std::unique_ptr<PdfComment>>* replies;
    size_t next;
    int indent;
  };
  std::string out;
  std::vector<Level> levels{{&comment.replies(), 0, std::clamp(depth, 0, kMaxIndent)}};
  while (!levels.empty()) {
    Level& level = levels.back();
    if (level.next == level.replies->size()) {
      levels.pop_back();
      continue;
    }
    const PdfComment* reply = (*level.replies)[level.next++].get();
    if (!reply) continue;
    const int indent = level.indent;
    AppendReplyLine(out, *reply, indent);
    if (!reply->replies().empty())
      levels.push_back({&reply->replies(), 0, std::min(indent + 1, kMaxIndent)});
  }
  return out;
}

std::string ComposeMarkerText(const Placement& placement) {
  const PdfComment* comment = placement.comment;
  std::string out;
  out.reserve(1024);
  out += kPrefix;
  const PlacementKindRow& kind = KindRow(placement.kind);
  out += UiString(kind.marker.label);
  if (kind.marker.blankField) out += kSeparator;
  out += kSeparator;
  if (CountsAsMisplaced(placement)) AppendLocation(out, placement);
  const std::string author = comment ? comment->author() : std::string();
  out += author.empty() ? UiString(support::MSG_ANONYMOUS) : author;
  out += kSeparator;
  out += placement.dateText;
  if (!comment) return out;
  AppendOwnAndMarkedText(out, kind, *comment);
  // The Caret of a replace holds the new text, and the replies to it.
  const PdfComment* threadOwner = kind.marker.ownText == OwnText::New && comment->replacement()
                                      ? comment->replacement()
                                      : comment;
  out += ComposeReplyThread(placement, *threadOwner, 0);
  return hostlink::HostHeldText(out);
}

}  // namespace osprevan::apply
