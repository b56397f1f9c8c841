#include "pdf/pdf_comment.h"

#include <algorithm>
#include <cmath>

#include "pdf/annotation_handles.h"

namespace osprevan::pdf {

PdfComment::PdfComment() = default;
PdfComment::PdfComment(std::unique_ptr<AnnotationHandles> handles) : handles_(std::move(handles)) {}

PdfComment::~PdfComment() {
  boxes_.clear();
  // A hostile file can chain thousands of replies; the thread is taken apart without recursion
  // so that its depth never costs stack. Each record taken out dies with no thread of its own.
  std::vector<std::unique_ptr<PdfComment>> detached;
  TakeThread(detached);
  while (!detached.empty()) {
    std::unique_ptr<PdfComment> next = std::move(detached.back());
    detached.pop_back();
    next->TakeThread(detached);
  }
}

void PdfComment::SetDate(std::string_view sortableText, int64_t secondsSince1970) {
  const size_t length = std::min(sortableText.size(), kDateTextCapacity);
  std::copy_n(sortableText.begin(), length, dateText_.begin());
  dateTextLength_ = static_cast<uint8_t>(length);
  dateSeconds_ = secondsSince1970;
  hasDate_ = true;
}

void PdfComment::ReleaseAnnotations() {
  // A thread may be deep: walked with a list, not by recursion.
  std::vector<PdfComment*> pending{this};
  while (!pending.empty()) {
    PdfComment* record = pending.back();
    pending.pop_back();
    record->handles_.reset();
    for (const std::unique_ptr<PdfComment>& reply : record->replies_)
      pending.push_back(reply.get());
    if (record->replacement_) pending.push_back(record->replacement_.get());
  }
}

void PdfComment::ReleaseAnnotationEntries() {
  if (handles_) handles_->ReleaseAnnot();
}

void PdfComment::TakeThread(std::vector<std::unique_ptr<PdfComment>>& into) {
  for (std::unique_ptr<PdfComment>& reply : replies_) into.push_back(std::move(reply));
  replies_.clear();
  if (replacement_) into.push_back(std::move(replacement_));
}

void PdfComment::SetAuthor(std::string& author) {
  author_ = std::move(author);
  author.clear();
}

void PdfComment::SetContents(std::string& contents) {
  contents_ = std::move(contents);
  contents.clear();
}

// Matching takes a character at most a point or so past an area (see character_match.cpp); the
// margin is wider, so that what it leaves out is never a character an area takes.
constexpr float kReachMargin = 4.0f;

void PdfComment::AddArea(const UserRect& area, AreaRule rule) {
  areas_.push_back(area);
  areaRule_ = rule;
  for (const float value : {area.xMin, area.yMin, area.xMax, area.yMax})
    reachUnbounded_ = reachUnbounded_ || !std::isfinite(value);
  reach_.xMin = std::min({reach_.xMin, area.xMin - kReachMargin, area.xMax - kReachMargin});
  reach_.yMin = std::min({reach_.yMin, area.yMin - kReachMargin, area.yMax - kReachMargin});
  reach_.xMax = std::max({reach_.xMax, area.xMin + kReachMargin, area.xMax + kReachMargin});
  reach_.yMax = std::max({reach_.yMax, area.yMin + kReachMargin, area.yMax + kReachMargin});
}

bool PdfComment::MayCover(const UserRect& box) const {
  if (reachUnbounded_) return true;
  // Written so that a box with a coordinate that is no number is never ruled out.
  return !(box.xMax < reach_.xMin || box.xMin > reach_.xMax || box.yMax < reach_.yMin ||
           box.yMin > reach_.yMax);
}

}  // namespace osprevan::pdf
