#include "tools/review_page/page_html.h"

#include <algorithm>
#include <map>

#include "tools/review_page/annotation_match.h"
#include "tools/review_page/document_excerpt.h"
#include "tools/review_page/html_text.h"
#include "tools/review_page/page_snapshot.h"

namespace osprevan::review {
namespace {

// The outcomes in the order the page shows them, with the words it shows for each: those that
// need a look first.
struct OutcomeWords {
  const char* outcome;            // as the report names it
  const char* PageWords::*label;  // its words in the page's language
};
constexpr OutcomeWords kOutcomes[] = {
    {"failed", &PageWords::failed},
    {"misplaced", &PageWords::flagged},
    {"successful", &PageWords::placed},
    {"alreadyImported", &PageWords::alreadyImported},
    {"filtered out", &PageWords::filteredOut},
};
constexpr size_t kOutcomeCount = sizeof kOutcomes / sizeof kOutcomes[0];

size_t OutcomeRank(const std::string& outcome) {
  for (size_t i = 0; i < kOutcomeCount; ++i)
    if (outcome == kOutcomes[i].outcome) return i;
  return kOutcomeCount;  // an outcome this page does not know comes last, under its own name
}

std::string OutcomeLabel(const PageWords& words, const std::string& outcome) {
  const size_t rank = OutcomeRank(outcome);
  return rank < kOutcomeCount ? words.*kOutcomes[rank].label : outcome;
}

template <typename Number>
std::string Numbered(const char* text, Number n) {
  return WithValue(text, "n", std::to_string(n));
}

constexpr const char* kStyle = R"(
body{font:15px/1.45 sans-serif;margin:1.5em auto;max-width:1100px;color:#222;padding:0 1em}
h1{font-size:1.5em;margin:.2em 0}h2{font-size:1.2em;border-bottom:2px solid #ccc;margin-top:1.5em}
.sources,.counts{color:#444;margin:.3em 0}.warnings{color:#8a4b00}
#filter{margin:1em 0;padding:.5em .8em;background:#f3f3f3;border-radius:6px}
#filter label{margin-right:1.2em;white-space:nowrap}
article{display:grid;grid-template-columns:minmax(0,auto) minmax(0,1fr);gap:.4em 1.2em;
border:1px solid #ddd;border-left:6px solid #999;border-radius:6px;padding:.7em;margin:.8em 0}
article[data-outcome=failed]{border-left-color:#c62828}
article[data-outcome=misplaced]{border-left-color:#ef8f00}
article[data-outcome=successful]{border-left-color:#2e7d32}
article[data-outcome=alreadyImported]{border-left-color:#1565c0}
article>header{grid-column:1/3;font-weight:bold}
.outcome{display:inline-block;padding:0 .5em;border-radius:4px;color:#fff;background:#777;margin-right:.5em}
[data-outcome=failed] .outcome{background:#c62828}[data-outcome=misplaced] .outcome{background:#ef8f00}
[data-outcome=successful] .outcome{background:#2e7d32}[data-outcome=alreadyImported] .outcome{background:#1565c0}
figure{margin:0}figure img{border:1px solid #ccc;max-width:460px;height:auto}
dl{margin:0;display:grid;grid-template-columns:max-content minmax(0,1fr);gap:.15em .8em}
dt{color:#666}dd{margin:0;white-space:pre-wrap;overflow-wrap:anywhere}
.excerpt{font-family:serif;font-size:1.05em;background:#fafafa;border:1px solid #eee;padding:.3em .5em;
white-space:pre-wrap;overflow-wrap:anywhere}
ins{color:#1b5e20;background:#e3f5e1;text-decoration:underline}del{color:#b71c1c;background:#fdecea}
mark{background:#fff176}.place{outline:2px solid #1565c0;outline-offset:1px}
.point{color:#1565c0;font-weight:bold}.marker{font:.8em sans-serif;background:#ffe0b2;border:1px solid #ef8f00;
border-radius:3px;padding:0 .3em;margin:0 .15em}.marker::before{content:"\2691 "}
.marker.other{padding:0 .1em;background:#eee;border-color:#bbb}.marker.other::before{content:"\2691"}
.condition{border-bottom:2px dotted #7b1fa2}.tab{color:#999}.none{color:#777;font-style:italic}
.replies ul{margin:.2em 0;padding-left:1.2em}
)";

// Filters the comments by outcome, and marks each picture that did not load, so that a broken
// one is told apart from a missing one (and can be checked from the page's own tree).
constexpr const char* kScript = R"(
(function(){
  var form=document.getElementById('filter');
  form.hidden=false;
  form.addEventListener('change',function(){
    var shown={};
    form.querySelectorAll('input').forEach(function(box){shown[box.value]=box.checked;});
    document.querySelectorAll('article').forEach(function(a){
      a.hidden=!shown[a.getAttribute('data-outcome')];});
    document.querySelectorAll('section').forEach(function(s){
      s.hidden=!s.querySelector('article:not([hidden])');});
  });
  window.addEventListener('load',function(){
    var bad=0;
    document.querySelectorAll('img').forEach(function(img){
      var ok=img.complete&&img.naturalWidth>0;
      img.setAttribute('data-loaded',ok?'yes':'no');
      if(!ok)bad++;});
    document.body.setAttribute('data-images-checked',bad?'broken':'all');
  });
})();
)";

void Field(std::string& out, const char* name, const std::string& value) {
  if (value.empty()) return;
  out += "<dt>" + std::string(name) + "</dt><dd>" + HtmlEscaped(value) + "</dd>";
}

std::string DateTime(const std::string& date) {
  return date.empty() ? "" : " \xC2\xB7 " + HtmlEscaped(date);
}

void Replies(std::string& out, const std::vector<AnnotationReply>& replies) {
  out += "<ul>";
  for (const AnnotationReply& r : replies) {
    out += "<li><b>" + HtmlEscaped(r.author) + "</b>" + DateTime(r.date) + ": " +
           HtmlEscaped(r.contents);
    if (!r.replies.empty()) Replies(out, r.replies);
    out += "</li>";
  }
  out += "</ul>";
}

// The picture of each comment, as HTML, by its place in the report: each page is drawn once,
// in page order, and its comments' regions cut from it.
std::vector<std::string> Pictures(const PageWords& words, PDFDoc* pdf,
                                  const std::vector<ReportComment>& comments,
                                  const std::vector<const PageAnnotation*>& matched) {
  std::vector<std::string> pictures(comments.size());
  if (!pdf) return pictures;
  std::map<int, std::vector<size_t>> byPage;
  for (size_t i = 0; i < comments.size(); ++i) byPage[comments[i].page].push_back(i);
  for (const auto& [page, indices] : byPage) {
    const DrawnPage drawn(*pdf, page);
    for (size_t i : indices) {
      const PageAnnotation* annotation = matched[i];
      const PageSnapshot snapshot =
          drawn.Around(annotation ? annotation->boxes : std::vector<Quad>{});
      if (snapshot.png.empty()) {
        pictures[i] =
            "<figure><p class=\"none\">" + Numbered(words.pageNotDrawn, page) + "</p></figure>";
        continue;
      }
      std::string alt = Numbered(words.page, page);
      alt += annotation ? words.commentOutlined : words.commentNotFound;
      pictures[i] = "<figure><img src=\"" + DataUri("image/png", snapshot.png) + "\" alt=\"" + alt +
                    "\"></figure>";
    }
  }
  return pictures;
}

std::string CommentHtml(const PageWords& words, const ReportComment& comment,
                        const PageAnnotation* annotation, const std::string& picture,
                        const tlhost::Document* document, size_t index) {
  std::string out = "<article id=\"comment-" + std::to_string(index + 1) + "\" data-outcome=\"" +
                    HtmlEscaped(comment.outcome) + "\">";
  out += "<header><span class=\"outcome\">" + HtmlEscaped(OutcomeLabel(words, comment.outcome)) +
         "</span>" +
         WithValue(Numbered(words.onPage, comment.page), "what", HtmlEscaped(comment.subtype));
  if (!comment.placement.empty()) out += " \xE2\x86\x92 " + HtmlEscaped(comment.placement);
  out += "</header>";
  out += picture;
  out += "<div><dl>";
  out += "<dt>" + std::string(words.by) + "</dt><dd class=\"author\">" +
         HtmlEscaped(comment.author) + DateTime(comment.date) + "</dd>";
  Field(out, words.wrote, comment.contents);
  // A replace's new text is the text of its grouped Caret, which the report does not give.
  if (annotation)
    for (const std::string& text : annotation->contents)
      if (text != comment.contents) Field(out, words.newText, text);
  Field(out, words.marked, comment.markedText);
  Field(out, words.why, comment.reason);
  if (annotation && !annotation->replies.empty()) {
    out += "<dt>" + std::string(words.replies) + "</dt><dd class=\"replies\">";
    Replies(out, annotation->replies);
    out += "</dd>";
  } else if (comment.replies > 0) {
    Field(out, words.replies, Numbered(words.repliesNotFound, comment.replies));
  }
  const std::string excerpt = document ? ExcerptHtml(*document, comment) : "";
  out += "<dt>" + std::string(words.now) + "</dt><dd>";
  if (!excerpt.empty()) {
    out += "<div class=\"excerpt\">" + excerpt + "</div>";
  } else {
    out += "<span class=\"none\">" + std::string(words.noPlace);
    if (comment.outcome == "alreadyImported") out += words.placedEarlier;
    out += "</span>";
  }
  out += "</dd></dl></div></article>\n";
  return out;
}

const tlhost::Document* DocumentNamed(const ReviewPageSources& sources, const std::string& name) {
  if (sources.documents.size() == 1 && !sources.book) return sources.documents.front().document;
  for (const NamedDocument& d : sources.documents)
    if (d.name == name) return d.document;
  return nullptr;
}

std::string Counts(const PageWords& words, const std::vector<ReportComment>& comments) {
  std::map<size_t, size_t> byRank;
  for (const ReportComment& c : comments) ++byRank[OutcomeRank(c.outcome)];
  std::string out = Numbered(words.comments, comments.size());
  for (const auto& [rank, count] : byRank) {
    out += WithValue(Numbered(words.outcomeCount, count), "outcome",
                     rank < kOutcomeCount ? words.*kOutcomes[rank].label : words.otherOutcome);
  }
  return out;
}

std::string FilterForm(const PageWords& words, const std::vector<ReportComment>& comments) {
  std::map<size_t, std::string> present;
  for (const ReportComment& c : comments) present.emplace(OutcomeRank(c.outcome), c.outcome);
  std::string out = "<form id=\"filter\" hidden>" + std::string(words.show);
  for (const auto& [rank, outcome] : present) {
    out += "<label><input type=\"checkbox\" checked value=\"" + HtmlEscaped(outcome) + "\"> " +
           HtmlEscaped(OutcomeLabel(words, outcome)) + "</label>";
  }
  return out + "</form>\n";
}

}  // namespace

std::string ReviewPageHtml(const ReviewPageSources& sources) {
  static const ReviewReport kEmpty;
  const ReviewReport& report = sources.report ? *sources.report : kEmpty;
  AnnotationsByPage annotations;
  if (sources.pdf) {
    for (const ReportComment& c : report.comments)
      if (!annotations.count(c.page))
        annotations[c.page] = ReadPageAnnotations(*sources.pdf, c.page);
  }
  const std::vector<const PageAnnotation*> matched = MatchAnnotations(report.comments, annotations);
  const PageWords& words = WordsOf(sources.language);
  const std::vector<std::string> pictures = Pictures(words, sources.pdf, report.comments, matched);

  // Comments by the document they went to, in the book's order, those of no known document
  // last; in each, flagged and failed first, else in the report's order.
  std::vector<std::string> groups;
  if (sources.book)
    for (const NamedDocument& d : sources.documents) groups.push_back(d.name);
  std::map<std::string, std::vector<size_t>> members;
  for (size_t i = 0; i < report.comments.size(); ++i) {
    std::string group = sources.book ? report.comments[i].document : "";
    if (sources.book && !DocumentNamed(sources, group)) group = "";
    if (std::find(groups.begin(), groups.end(), group) == groups.end()) groups.push_back(group);
    members[group].push_back(i);
  }

  std::string html =
      "<!DOCTYPE html>\n<html lang=\"" + std::string(words.htmlLanguage) +
      "\"><head><meta charset=\"utf-8\">\n"
      "<meta http-equiv=\"Content-Security-Policy\" content=\"default-src 'none'; img-src data:; "
      "style-src 'unsafe-inline'; script-src 'unsafe-inline'\">\n"
      "<meta name=\"viewport\" content=\"width=device-width\">\n<title>" +
      WithValue(words.title, "name", HtmlEscaped(sources.pdfName)) + "</title>\n<style>" + kStyle +
      "</style></head>\n<body>\n";
  html += "<h1>" + std::string(words.heading) + "</h1>\n<p class=\"sources\">" +
          HtmlEscaped(sources.pdfName) + " \xE2\x86\x92 " + HtmlEscaped(sources.documentName) +
          "</p>\n<p class=\"counts\">" + Counts(words, report.comments) + "</p>\n";
  if (!report.warnings.empty()) {
    html += "<ul class=\"warnings\">";
    for (const std::string& w : report.warnings) html += "<li>" + HtmlEscaped(w) + "</li>";
    html += "</ul>\n";
  }
  html += FilterForm(words, report.comments);
  for (const std::string& group : groups) {
    std::vector<size_t>& indices = members[group];
    if (indices.empty()) continue;
    std::stable_sort(indices.begin(), indices.end(), [&](size_t a, size_t b) {
      return OutcomeRank(report.comments[a].outcome) < OutcomeRank(report.comments[b].outcome);
    });
    html += "<section data-document=\"" + HtmlEscaped(group) + "\">";
    if (sources.book)
      html += "<h2>" + HtmlEscaped(group.empty() ? words.noComponent : group) + "</h2>";
    html += "\n";
    for (size_t i : indices) {
      const ReportComment& c = report.comments[i];
      html += CommentHtml(words, c, matched[i], pictures[i], DocumentNamed(sources, c.document), i);
    }
    html += "</section>\n";
  }
  html += "<script>" + std::string(kScript) + "</script>\n</body></html>\n";
  return html;
}

}  // namespace osprevan::review
