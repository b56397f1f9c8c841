#include "tools/review_page/annotation_match.h"

#include <algorithm>
#include <set>

namespace osprevan::review {
namespace {

bool Holds(const std::vector<std::string>& values, const std::string& value) {
  return std::find(values.begin(), values.end(), value) != values.end();
}

// How well an annotation fits a comment; the author and the text weigh most, since a date or a
// kind alone is shared by many comments.
int Fit(const ReportComment& comment, const PageAnnotation& annotation) {
  int fit = 0;
  if (annotation.author == comment.author) fit += 4;
  if (Holds(annotation.contents, comment.contents)) fit += 4;
  if (!comment.date.empty() && Holds(annotation.dates, comment.date)) fit += 2;
  if (Holds(annotation.subtypes, comment.subtype)) fit += 1;
  return fit;
}

constexpr int kLeastFit = 5;  // the author or the text, and one more of the four

}  // namespace

std::vector<const PageAnnotation*> MatchAnnotations(const std::vector<ReportComment>& comments,
                                                    const AnnotationsByPage& annotations) {
  std::vector<const PageAnnotation*> matched(comments.size(), nullptr);
  std::set<const PageAnnotation*> taken;
  // The closest fits are taken first, so that a weaker fit never takes another comment's own.
  struct Candidate {
    int fit;
    size_t comment;
    const PageAnnotation* annotation;
  };
  std::vector<Candidate> candidates;
  for (size_t i = 0; i < comments.size(); ++i) {
    const auto page = annotations.find(comments[i].page);
    if (page == annotations.end()) continue;
    for (const PageAnnotation& annotation : page->second) {
      const int fit = Fit(comments[i], annotation);
      if (fit >= kLeastFit) candidates.push_back({fit, i, &annotation});
    }
  }
  std::stable_sort(candidates.begin(), candidates.end(),
                   [](const Candidate& a, const Candidate& b) { return a.fit > b.fit; });
  for (const Candidate& c : candidates) {
    if (matched[c.comment] || taken.count(c.annotation)) continue;
    matched[c.comment] = c.annotation;
    taken.insert(c.annotation);
  }
  return matched;
}

}  // namespace osprevan::review
