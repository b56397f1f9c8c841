#include "tools/review_page/document_excerpt.h"

#include <algorithm>
#include <cstdio>
#include <ctime>

#include "host/engine/utf8.h"
#include "tools/review_page/html_text.h"

namespace osprevan::review {
namespace {

using tlhost::Document;
using tlhost::Paragraph;
using tlhost::PropsId;

constexpr const char* kCommentMarkerType = "Comment";

// A change reaching past the window is taken in up to this many characters more.
constexpr int kLongestTakenIn = 400;

std::string Utf8Of(char32_t c) {
  std::string out;
  tlhost::utf8::Append(c <= 0x10FFFF ? c : 0xFFFD, out);
  return out;
}

// The tags a run of text with these properties is wrapped in.
struct Wrapping {
  std::string open, close;
};

Wrapping WrappingOf(const Document& document, PropsId id) {
  Wrapping w;
  const tlhost::CharProps& props = document.charProps[id];
  for (tolvane::ObjectId condition : props.conditions) {
    const tlhost::Condition* c = Document::Find(document.conditions, condition);
    const std::string name = c ? c->name : "";
    const std::string who = HtmlEscaped(props.author);
    if (name == "TL8_TRACK_CHANGES_ADDED") {
      w.open += "<ins title=\"" + who + "\">";
      w.close = "</ins>" + w.close;
    } else if (name == "TL8_TRACK_CHANGES_DELETED") {
      w.open += "<del title=\"" + who + "\">";
      w.close = "</del>" + w.close;
    } else if (name == "TL_PDF_Comments_Highlight") {
      w.open += "<mark>";
      w.close = "</mark>" + w.close;
    } else if (name == "TL_PDF_Comments_Underline") {
      w.open += "<u>";
      w.close = "</u>" + w.close;
    } else {
      w.open += "<span class=\"condition\" title=\"" + HtmlEscaped(name) + "\">";
      w.close = "</span>" + w.close;
    }
  }
  return w;
}

// What one position shows: its character, or a marker's type and text; other items show as
// nothing.
std::string PositionHtml(const Document& document, const Paragraph& paragraph, int32_t at) {
  if (paragraph.isCharacter(at)) {
    const char32_t c = paragraph.character(at);
    // The host keeps a tab as U+0008; both show as a blank's width.
    if (c == 0x08 || c == 0x09) return "<span class=\"tab\">\xE2\x87\xA5</span>";
    return HtmlEscaped(Utf8Of(c));
  }
  const Paragraph::Item item = paragraph.item(at);
  if (item.kind != tolvane::TI_MARKER_ANCHOR) return "";
  const tlhost::Marker* marker = Document::Find(document.markers, item.id);
  if (!marker) return "";
  const tlhost::MarkerType* type = Document::Find(document.markerTypes, marker->type);
  const std::string name = type ? type->name : "";
  // A "Comment" marker is what the writer reads; others (the import's own record of what it
  // placed, say) are kept to a flag that tells its text when pointed at.
  if (name != kCommentMarkerType)
    return "<span class=\"marker other\" title=\"" + HtmlEscaped(name + ": " + marker->text) +
           "\"></span>";
  return "<span class=\"marker\" title=\"" + HtmlEscaped(name) + "\">" + HtmlEscaped(marker->text) +
         "</span>";
}

bool Changed(const Paragraph& paragraph, int32_t at) {
  return at >= 0 && at < paragraph.length() && paragraph.props(at) != tlhost::kPlainProps;
}

// Positions [from, to) of a paragraph, with the place opened before `placeFrom` and closed
// before `placeTo` where they fall in it (-1 where not).
std::string SpanHtml(const Document& document, const Paragraph& paragraph, int32_t from, int32_t to,
                     int32_t placeFrom, int32_t placeTo) {
  std::string out;
  bool inPlace = placeFrom < 0 && placeTo >= 0;
  for (int32_t at = from; at < to;) {
    if (at == placeFrom && placeFrom == placeTo) out += "<span class=\"point\">|</span>";
    if (at == placeFrom && placeFrom != placeTo) inPlace = true;
    if (at == placeTo) inPlace = false;
    // The run ends where the properties change or the place opens or closes.
    int32_t end = at + 1;
    while (end < to && paragraph.props(end) == paragraph.props(at) && end != placeFrom &&
           end != placeTo)
      ++end;
    const Wrapping w = WrappingOf(document, paragraph.props(at));
    std::string text;
    for (int32_t k = at; k < end; ++k) text += PositionHtml(document, paragraph, k);
    if (inPlace) out += "<span class=\"place\">";
    out += w.open + text + w.close;
    if (inPlace) out += "</span>";
    at = end;
  }
  if (placeFrom == to && placeFrom == placeTo) out += "<span class=\"point\">|</span>";
  return out;
}

// Moves `from` back and `to` on while a change runs across them, up to kLongestTakenIn each.
void TakeInChanges(const Paragraph& paragraph, int32_t& from, int32_t& to) {
  const int32_t last = paragraph.length() - 1;  // the paragraph end is not shown
  for (int n = 0;
       n < kLongestTakenIn && from > 0 && Changed(paragraph, from - 1) && Changed(paragraph, from);
       ++n)
    --from;
  for (int n = 0;
       n < kLongestTakenIn && to < last && Changed(paragraph, to - 1) && Changed(paragraph, to);
       ++n)
    ++to;
}

// The report gives each place as it was when its comment was applied; comments applied after
// it, earlier in the same paragraph, have moved it on since by what they added. The comment's
// own change (tracked with its author and date) is looked for from there on, this far at most.
constexpr int32_t kFarthestMove = 256;

// A report date ("YYYY/MM/DD HH:MM:SS", UTC) in seconds since 1970; -1 when there is none.
int64_t ReportDateSeconds(const std::string& date) {
  std::tm utc{};
  char end = 0;
  if (std::sscanf(date.c_str(), "%d/%d/%d %d:%d:%d%c", &utc.tm_year, &utc.tm_mon, &utc.tm_mday,
                  &utc.tm_hour, &utc.tm_min, &utc.tm_sec, &end) != 6)
    return -1;
  utc.tm_year -= 1900;
  utc.tm_mon -= 1;
  return static_cast<int64_t>(timegm(&utc));
}

// How far the comment's own change now lies past `from`: the first position from there whose
// tracked change has the comment's author and date (its author alone for a comment without a
// date); 0 when there is none within reach.
int32_t MovedBy(const Document& document, const Paragraph& paragraph, int32_t from,
                const ReportComment& comment) {
  const int64_t seconds = ReportDateSeconds(comment.date);
  const int32_t last = std::min(paragraph.length() - 1, from + kFarthestMove);
  for (int32_t at = std::max(from, 0); at < last; ++at) {
    const tlhost::CharProps& props = document.charProps[paragraph.props(at)];
    if (!props.conditions.empty() && props.author == comment.author &&
        (seconds < 0 || props.time == seconds))
      return at - from;
  }
  return 0;
}

// Whether the comment's own change stands after its range (a highlight's or an underline's
// marker) rather than at its start.
bool ChangeAfterRange(const ReportComment& comment) {
  return comment.outcome != "misplaced" && (comment.placement.rfind("highlight", 0) == 0 ||
                                            comment.placement.rfind("underline", 0) == 0);
}

}  // namespace

std::string ExcerptHtml(const Document& document, const ReportComment& comment, int around) {
  if (comment.paragraph <= 0 || comment.beginParagraph <= 0 || comment.begin < 0 || comment.end < 0)
    return "";
  const tolvane::ObjectId firstId = document.ParagraphByUnique(comment.beginParagraph);
  const tolvane::ObjectId lastId = document.ParagraphByUnique(comment.paragraph);
  const Paragraph* first = Document::Find(document.paragraphs, firstId);
  const Paragraph* last = Document::Find(document.paragraphs, lastId);
  if (!first || !last) return "";
  const int32_t firstLength = first->length() - 1, lastLength = last->length() - 1;
  int32_t begin = std::min<int32_t>(comment.begin, firstLength);
  int32_t end = std::min<int32_t>(comment.end, lastLength);
  if (ChangeAfterRange(comment)) {
    const int32_t moved = MovedBy(document, *last, end, comment);
    end += moved;
    if (first == last) begin += moved;
  } else {
    const int32_t moved = MovedBy(document, *first, begin, comment);
    begin += moved;
    if (first == last) end += moved;
  }
  if (first == last) {
    const int32_t placeEnd = std::max(begin, end);
    int32_t from = std::max(0, begin - around);
    int32_t to = std::min(firstLength, placeEnd + around);
    TakeInChanges(*first, from, to);
    return std::string(from > 0 ? "\xE2\x80\xA6" : "") +
           SpanHtml(document, *first, from, to, begin, placeEnd) +
           (to < firstLength ? "\xE2\x80\xA6" : "");
  }
  int32_t from = std::max(0, begin - around), firstTo = firstLength;
  TakeInChanges(*first, from, firstTo);
  int32_t lastFrom = 0, to = std::min(lastLength, end + around);
  TakeInChanges(*last, lastFrom, to);
  return std::string(from > 0 ? "\xE2\x80\xA6" : "") +
         SpanHtml(document, *first, from, firstLength, begin, -1) +
         "<span class=\"pilcrow\">\xC2\xB6</span><br>" + SpanHtml(document, *last, 0, to, -1, end) +
         (to < lastLength ? "\xE2\x80\xA6" : "");
}

}  // namespace osprevan::review
