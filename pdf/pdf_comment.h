// One PDF annotation as the import keeps it between reading the PDF and applying it: what it
// says, where it lies on its page, which text it covers, and the comments that hang on it.
#pragma once

#include <cmath>
#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "ondrelkit/ondrelkit.h"
#include "pdf/comment_box.h"
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

class PdfComment {
 public:
  // Takes the annotation handle and its dictionary object (either may be null); the record
  // releases both.
  explicit PdfComment(OkAnnot* annot = nullptr, OkObj* annotObject = nullptr)
      : annot_(annot), annotObject_(annotObject) {}
  ~PdfComment();
  PdfComment(const PdfComment&) = delete;
  PdfComment& operator=(const PdfComment&) = delete;

  void SetSubtype(ondrelkit::PdfAtom subtype) { subtype_ = subtype; }
  void SetPage(int32_t page) { page_ = page; }
  // Take the string and leave the argument empty.
  void SetAuthor(std::string& author);
  void SetContents(std::string& contents);
  // Copies the date into the record's own date object, made on first use; false on a library error.
  bool SetDate(const OkDate* date);
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
  void ReleaseAnnotations();
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
  const OkAnnot* annot() const { return annot_; }
  // The annotation's dictionary: the key under which `commentsByAnnot` holds the record.
  const OkObj* annotObject() const { return annotObject_; }
  const std::string& markedText() const { return markedText_; }
  ondrelkit::PdfAtom subtype() const { return subtype_; }
  const std::string& author() const { return author_; }
  // The modification date, else the creation date; null when the annotation has neither.
  const OkDate* date() const { return date_; }
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

  OkAnnot* annot_;
  OkObj* annotObject_;
  std::string markedText_;
  ondrelkit::PdfAtom subtype_ = ondrelkit::kNoAtom;
  std::string author_;
  OkDate* date_ = nullptr;
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

// The name of the comment's subtype ("Highlight", ...); "" when unset or unreadable.
std::string SubtypeName(const PdfComment& comment);

// Orders annotation objects for `commentsByAnnot` by the library's object comparison.
struct AnnotObjectLess {
  bool operator()(const OkObj* a, const OkObj* b) const;
};

// The per-document containers: top-level records by page (owning), every record by its
// annotation object (not owning).
using CommentsByPage = std::map<int32_t, std::vector<std::unique_ptr<PdfComment>>>;
using CommentsByAnnot = std::map<const OkObj*, PdfComment*, AnnotObjectLess>;

}  // namespace osprevan::pdf
