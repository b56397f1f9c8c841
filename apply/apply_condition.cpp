#include "apply/apply_condition.h"

#include <algorithm>

#include "apply/range_pieces.h"
#include "apply/tracked_insertions.h"
#include "hostlink/host_ops.h"
#include "hostlink/last_call.h"

namespace osprevan::apply {
namespace {

using namespace tolvane;

int32_t CharacterCount(const std::string& utf8) {
  int32_t count = 0;
  for (unsigned char c : utf8) count += (c & 0xC0) != 0x80;
  return count;
}

}  // namespace

bool ConditionChange::Read(const Placement& placement, const std::string& conditionName,
                           const TTextRange& range) {
  document_ = placement.document;
  kind_ = placement.kind;
  name_ = conditionName;
  stamp_ = StampOf(placement.comment);
  insertions_ = placement.insertions;
  runs_.clear();
  written_ = 0;
  entered_.clear();
  std::vector<TTextRange> pieces = SplitIntoPieces(document_, range);
  if (pieces.empty()) return false;
  // Table and footnote contents join the end of the list instead of being walked by
  // recursion, so that deep nesting cannot exhaust the stack.
  for (size_t i = 0; i < pieces.size(); ++i) {
    const TTextRange piece = pieces[i];  // a copy: reading may add pieces
    if (!ReadPiece(piece, pieces)) return false;
  }
  return true;
}

bool ConditionChange::ReadPiece(const TTextRange& piece, std::vector<TTextRange>& pieces) {
  // Hidden conditional text is read too: every character of the range gets the condition.
  const HostTextItems items =
      HostGetTextInRangeEx(document_, piece, TI_ALL, TIO_INCLUDE_HIDDEN_TEXT);
  if (!hostlink::LastCallStatus("reading the range's text").ok()) return false;
  const bool withContents = KindRow(kind_).effect.strikes;
  // Inserted text never marks the end of the paragraph it lands in.
  const bool endStaysOut = name_ == kAddedCondition && !KindRow(kind_).markerRule.insideChange;
  ObjectId paragraph = piece.begin.object;
  for (size_t i = 0; i < items.size(); ++i) {
    const hostlink::HostTextItem& item = items[i];
    if (item.kind == TI_TEXT_OBJECT) {
      paragraph = item.id;
      continue;
    }
    if (item.kind == TI_PARAGRAPH_END && endStaysOut && i + 1 == items.size()) continue;
    const int32_t length = item.kind == TI_STRING ? CharacterCount(item.text) : 1;
    if (length > 0 && !AddRun(paragraph, item.offset, length)) return false;
    // A table or footnote reached twice is taken once, so that anchoring that loops ends.
    const bool container = item.kind == TI_TABLE_ANCHOR || item.kind == TI_FOOTNOTE_ANCHOR;
    if (!withContents || !container || !entered_.insert(item.id).second) continue;
    if (item.kind == TI_TABLE_ANCHOR) {
      for (const TTextRange& list : TableContents(document_, item.id)) pieces.push_back(list);
    } else if (const ObjectId first = HostGetId(document_, item.id, P_FN_FIRST_PGF)) {
      pieces.push_back(WholeList(document_, first));
    }
  }
  return true;
}

bool ConditionChange::AddRun(ObjectId paragraph, int32_t offset, int32_t length) {
  Run run;
  run.range = {{paragraph, offset}, {paragraph, offset + length}};
  // The host reports the character before a location: the run's first character is asked
  // for one position on.
  const TTextLoc first{paragraph, offset + 1};
  for (int32_t prop : {P_TEXT_CONDITIONS, P_TEXT_CHANGE_AUTHOR, P_TEXT_CHANGE_TIME}) {
    HostValue value = HostGetTextPropVal(document_, first, prop);
    if (!hostlink::LastCallStatus("reading a run's properties").ok()) return false;
    value.property = prop;
    run.before.push_back(std::move(value));
  }
  const bool staysInserted = StaysInserted(run);
  for (ObjectId id : run.before.front().ids) {
    if (Keeps(id) || (staysInserted && NameOf(id) == kAddedCondition)) run.kept.push_back(id);
  }
  runs_.push_back(std::move(run));
  return true;
}

// Inserted text sheds a deletion and the reviewer's marks; deleted text sheds an insertion;
// any other condition joins what is there.
bool ConditionChange::Keeps(ObjectId condition) {
  const std::string& name = NameOf(condition);
  if (name_ == kAddedCondition)
    return name != kDeletedCondition && name != kUnderlineCondition && name != kHighlightCondition;
  if (name_ == kDeletedCondition) return name != kAddedCondition;
  return true;
}

// A deletion keeps a run's insertion when this placing inserted the run, and when the run is
// struck already: marking struck text again changes nothing of it.
bool ConditionChange::StaysInserted(const Run& run) {
  if (name_ != kDeletedCondition) return false;
  const std::vector<ObjectId>& had = run.before[0].ids;
  if (std::any_of(had.begin(), had.end(),
                  [&](ObjectId id) { return NameOf(id) == kDeletedCondition; })) {
    return true;
  }
  return insertions_ && insertions_->Holds(run.before[1].sval, run.before[2].ival);
}

const std::string& ConditionChange::NameOf(ObjectId condition) {
  auto it = names_.find(condition);
  if (it == names_.end())
    it = names_.emplace(condition, HostGetString(document_, condition, P_COND_NAME)).first;
  return it->second;
}

bool ConditionChange::Write(ObjectId condition) {
  HostPropList props(3);
  props[0].property = P_TEXT_CONDITIONS;
  props[0].type = VT_IDS;
  props[1].property = P_TEXT_CHANGE_AUTHOR;
  props[1].type = VT_STRING;
  props[1].sval = stamp_.author;
  props[2].property = P_TEXT_CHANGE_TIME;
  props[2].type = VT_INT;
  props[2].ival = stamp_.time;
  // The change author and time belong to a character's tracked change. A reviewer's mark is no
  // change of the text, and text that already had this change keeps who made it and when, so
  // that rejecting the reviewer's change cannot undo the writer's.
  const bool trackedChange = name_ == kAddedCondition || name_ == kDeletedCondition;
  HostPropList conditionsOnly(props.begin(), props.begin() + 1);
  for (; written_ < runs_.size(); ++written_) {
    const Run& run = runs_[written_];
    const std::vector<ObjectId>& had = run.before.front().ids;
    const bool stamped = trackedChange && std::find(had.begin(), had.end(), condition) == had.end();
    props[0].ids = run.kept;
    if (std::find(run.kept.begin(), run.kept.end(), condition) == run.kept.end())
      props[0].ids.push_back(condition);
    if (!stamped) conditionsOnly[0].ids = props[0].ids;
    HostSetTextProps(document_, run.range, stamped ? props : conditionsOnly);
    if (!hostlink::LastCallStatus("setting a run's conditions").ok()) {
      Restore();
      return false;
    }
  }
  if (name_ == kAddedCondition && insertions_) insertions_->Note(stamp_);
  return true;
}

ConditionChange::~ConditionChange() {
  if (kept_ || written_ == 0) return;
  // Nothing may leave a destructor; a restore that runs out of memory keeps what it did.
  try {
    Restore();
  } catch (...) {
  }
}

void ConditionChange::Restore() {
  for (size_t i = 0; i < written_; ++i)
    HostSetTextProps(document_, runs_[i].range, runs_[i].before);
  written_ = 0;
}

support::Status ApplyCondition(const Placement& placement, ObjectId condition,
                               const TTextRange& range) {
  const std::string name = HostGetString(placement.document, condition, P_COND_NAME);
  if (support::Status named = hostlink::LastCallStatus("the condition's name"); !named.ok())
    return named;
  ConditionChange change;
  if (!change.Read(placement, name, range))
    return support::Status::Failed("the range cannot be read");
  if (!change.Write(condition)) return support::Status::Failed("the host refused the condition");
  change.Keep();
  return support::Status::Done();
}

}  // namespace osprevan::apply
