// One PDF annotation as the import keeps it between reading the PDF and applying it: what it
// says, where it lies on its page, which text it covers, and the comments that hang on it.
#pragma once

#include <array>
#include <cmath>
#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "pdf/comment_box.h"
#include "pdf/comment_kind.h"
#include "pdf/page_geometry.h"
#include "pdf/text_range.h"

namespace osprevan::pdf {

enum MarkedState : uint32_t { Unmarked = 1, Marked = 2 };
enum ReviewState : uint32_t {
  None = 4,
  Accepted = 8,
  Rejected = 16,
  Cancelled = 32,
  Completed = 64
};
enum MigrationState : uint32_t {
  MigrationConfirmed = 128,
  MigrationPending = 256,
  MigrationNone = 512,
};

// The library's handles of the annotation a record was read from, which reading needs while it
// reads (pdf/annotation_handles.h); a record that reading has given out holds none.
struct AnnotationHandles;

class PdfComment {
 public:
  PdfComment();
  // Takes the handles, which the record gives back to the library when it lets them go.
  explicit PdfComment(std::unique_ptr<AnnotationHandles> handles);
  ~PdfComment();
  PdfComment(const PdfComment&) = delete;
  PdfComment& operator=(const PdfComment&) = delete;

  void SetSubtype(const CommentSubtype* subtype) { subtype_ = subtype; }
  void SetPage(int32_t page) { page_ = page; }
  // Take the string and leave the argument empty.
  void SetAuthor(std::string& author);
  void SetContents(std::string& contents);
  // The modification date, else the creation date, in the forms placing needs: as the text that
  // markers and the report show ("YYYY/MM/DD HH:MM:SS") and as seconds since 1970 in UTC.
  // A text longer than kDateTextCapacity is cut there; a date the library reads from a PDF has
  // a year of four digits, and its text is 19 characters.
  void SetDate(std::string_view sortableText, int64_t secondsSince1970);
  void AddBox(std::unique_ptr<CommentBox> box) { boxes_.push_back(std::move(box)); }
  // An area in PDF user space as the reviewer drew it: a quadrilateral's sides, a Caret's
  // drawn caret, or the rectangle of a comment without quadrilaterals.
  void AddArea(const UserRect& area, AreaRule rule);
  void AppendMarkedText(const std::string& text) { markedText_ += text; }
  void SetMarkedText(std::string text) { markedText_ = std::move(text); }
  void SetRange(const TextRange& range) {
    range_ = range;
    hasRange_ = true;
  }
  void AddReply(std::unique_ptr<PdfComment> reply) { replies_.push_back(std::move(reply)); }
  // Gives the handles of the annotation back to the library, this record's and those of its
  // replies and replacement: once read, a record needs nothing more of the PDF, and the
  // annotations' dictionaries are the largest part of what a long review's records hold.
  // Reading does this before it gives the records out, so that no record outlives it holding
  // anything of the library's.
  void ReleaseAnnotations();
  // Gives back the handle of the annotation itself, this record's only, keeping the object by
  // which reading finds the record: once the annotation's page is read, nothing more is read
  // from it, and its dictionary goes with the handle.
  void ReleaseAnnotationEntries();
  void SetReplacement(std::unique_ptr<PdfComment> caret) { replacement_ = std::move(caret); }
  void SetMarkedState(uint32_t state) { markedState_ = state; }
  void SetReviewState(uint32_t state) { reviewState_ = state; }
  void SetMigrationState(uint32_t state) { migrationState_ = state; }
  void SetPlacementConfirmed(uint32_t confirmed) { placementConfirmed_ = confirmed; }
  void SetPointMatched(bool matched) { pointMatched_ = matched; }
  // A comment that points at one place of the text rather than covering it: a note (Text), with
  // its icon's corner, or a free text drawn with a callout line, with the line's tip.
  void SetPointing(bool pointing) { pointing_ = pointing; }
  void SetApproximate(bool approximate) { approximate_ = approximate; }
  // A place the comment's shape points at about as well as the one it was given, as the text
  // around it ("num|bered"): the comment is flagged rather than placed by a guess.
  void SetOtherPlace(std::string place) { otherPlace_ = std::move(place); }
  // What tells the comment apart across imports (pdf/comment_identity.h).
  void SetIdentity(std::string identity) { identity_ = std::move(identity); }

  // Null once reading is done with the annotation (ReleaseAnnotations).
  const AnnotationHandles* handles() const { return handles_.get(); }
  const std::string& markedText() const { return markedText_; }
  // The subtype's row of the kinds table; null when unset.
  const CommentSubtype* subtype() const { return subtype_; }
  // The name of the subtype ("Highlight", ...); "" when unset.
  const char* subtypeName() const { return subtype_ ? subtype_->name : ""; }
  const std::string& author() const { return author_; }
  // False when the annotation has neither a modification nor a creation date.
  bool hasDate() const { return hasDate_; }
  // "" without a date, or when the library could not write it.
  std::string_view dateText() const { return {dateText_.data(), dateTextLength_}; }
  // 0 without a date, or when the library could not read it.
  int64_t dateSeconds() const { return dateSeconds_; }
  const std::string& contents() const { return contents_; }
  uint32_t markedState() const { return markedState_; }
  uint32_t reviewState() const { return reviewState_; }
  uint32_t migrationState() const { return migrationState_; }
  const std::vector<std::unique_ptr<CommentBox>>& boxes() const { return boxes_; }
  const std::vector<UserRect>& areas() const { return areas_; }
  AreaRule areaRule() const { return areaRule_; }
  // False only when a character with this box lies clear of every area, by more than any rule
  // of matching reaches past an area; matching asks it first, for each character of the page.
  bool MayCover(const UserRect& box) const;
  int32_t page() const { return page_; }
  const TextRange& range() const { return range_; }
  bool hasRange() const { return hasRange_; }
  uint32_t placementConfirmed() const { return placementConfirmed_; }
  bool pointMatched() const { return pointMatched_; }
  bool pointing() const { return pointing_; }
  const PdfComment* replacement() const { return replacement_.get(); }
  const std::vector<std::unique_ptr<PdfComment>>& replies() const { return replies_; }
  bool approximate() const { return approximate_; }
  const std::string& otherPlace() const { return otherPlace_; }
  const std::string& identity() const { return identity_; }

 private:
  // Moves the replies and the replacement out, so that the record can die without recursion.
  void TakeThread(std::vector<std::unique_ptr<PdfComment>>& into);

  std::unique_ptr<AnnotationHandles> handles_;
  std::string markedText_;
  const CommentSubtype* subtype_ = nullptr;
  std::string author_;
  bool hasDate_ = false;
  // Kept in the record rather than on the heap: a long review has tens of thousands of records,
  // all alive at the end of reading, when the PDF's objects also are.
  static constexpr size_t kDateTextCapacity = 22;
  uint8_t dateTextLength_ = 0;
  std::array<char, kDateTextCapacity> dateText_{};
  int64_t dateSeconds_ = 0;
  std::string contents_;
  uint32_t markedState_ = Unmarked;
  uint32_t reviewState_ = None;
  uint32_t migrationState_ = MigrationNone;
  std::vector<std::unique_ptr<CommentBox>> boxes_;
  std::vector<UserRect> areas_;
  AreaRule areaRule_ = AreaRule::Inset;
  // Every area, widened by a margin; unbounded when an area has a coordinate that is no number.
  UserRect reach_{INFINITY, INFINITY, -INFINITY, -INFINITY};
  bool reachUnbounded_ = false;
  int32_t page_ = -1;
  TextRange range_;
  bool hasRange_ = false;
  uint32_t placementConfirmed_ = 1;
  bool pointMatched_ = false;
  bool pointing_ = false;
  std::unique_ptr<PdfComment> replacement_;
  std::vector<std::unique_ptr<PdfComment>> replies_;
  bool approximate_ = false;
  std::string otherPlace_;
  std::string identity_;
};

// The top-level records by page, owning.
using CommentsByPage = std::map<int32_t, std::vector<std::unique_ptr<PdfComment>>>;

}  // namespace osprevan::pdf
