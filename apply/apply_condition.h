// One condition put on every character of a range of text, merged with the conditions each
// character has, and stamped with the comment's change author and time. The range is read
// before anything is written, so that a placement can learn whether the rest of its work can
// be done before it changes the document, and can give the text back what it had when a later
// step fails.
#pragma once

#include <cstdint>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "apply/change_stamp.h"
#include "apply/placement.h"
#include "hostlink/host_value.h"

namespace osprevan::apply {

inline constexpr const char* kAddedCondition = "TL8_TRACK_CHANGES_ADDED";
inline constexpr const char* kDeletedCondition = "TL8_TRACK_CHANGES_DELETED";
inline constexpr const char* kHighlightCondition = "TL_PDF_Comments_Highlight";
inline constexpr const char* kUnderlineCondition = "TL_PDF_Comments_Underline";

// One condition on one range, read before it is written, so that it can be taken back. A
// change not kept is taken back when it goes out of scope, also when memory runs out half way.
class ConditionChange {
 public:
  ConditionChange() = default;
  ~ConditionChange();
  ConditionChange(const ConditionChange&) = delete;
  ConditionChange& operator=(const ConditionChange&) = delete;

  // Takes the range apart into runs of like text and single positions, keeping what each has
  // now. The paragraph end that closes the range stays out of an insertion's condition; for
  // deletions and replacements a table anchor brings the table's whole text and a footnote
  // anchor the footnote's. False when the host cannot read the range; nothing is changed.
  bool Read(const Placement& placement, const std::string& conditionName,
            const tolvane::TTextRange& range);
  // Writes each run's merged list with the change author and time. When the host refuses a
  // run, the runs written before get back what they had and false is answered.
  bool Write(tolvane::ObjectId condition);
  // Gives every written run back its conditions, change author and change time.
  void Restore();
  // What was written stays when the change goes out of scope.
  void Keep() { kept_ = true; }

 private:
  struct Run {
    tolvane::TTextRange range;
    std::vector<tolvane::ObjectId> kept;  // the conditions that stay, in their order
    hostlink::HostPropList before;        // conditions, author and time as they were
  };
  bool ReadPiece(const tolvane::TTextRange& piece, std::vector<tolvane::TTextRange>& pieces);
  bool AddRun(tolvane::ObjectId paragraph, int32_t offset, int32_t length);
  bool Keeps(tolvane::ObjectId condition);
  const std::string& NameOf(tolvane::ObjectId condition);
  bool StaysInserted(const Run& run);

  tolvane::ObjectId document_ = 0;
  PlacementKind kind_ = PlacementKind::Other;
  std::string name_;
  ChangeStamp stamp_;
  TrackedInsertions* insertions_ = nullptr;  // not owned
  std::vector<Run> runs_;
  size_t written_ = 0;
  bool kept_ = false;
  std::map<tolvane::ObjectId, std::string> names_;  // condition names read so far
  std::set<tolvane::ObjectId> entered_;             // tables and footnotes taken whole
};

// Read and Write in one: done when every character has the condition; when it fails, none
// gained it.
support::Status ApplyCondition(const Placement& placement, tolvane::ObjectId condition,
                               const tolvane::TTextRange& range);

}  // namespace osprevan::apply
