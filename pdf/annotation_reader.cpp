#include "pdf/annotation_reader.h"

#include <algorithm>
#include <iterator>
#include <memory>
#include <optional>
#include <set>
#include <string>
#include <string_view>
#include <vector>

#include "pdf/annotation_entry.h"
#include "pdf/annotation_handles.h"
#include "pdf/annotation_text.h"
#include "pdf/comment_boxes.h"
#include "pdf/comment_classification.h"
#include "pdf/comment_dates.h"
#include "pdf/comment_identity.h"
#include "pdf/filter_reading.h"
#include "pdf/pdf_date_text.h"
#include "pdf/pdf_guard.h"
#include "pdf/pdf_tables.h"
#include "pdf/reply_thread.h"

namespace osprevan::pdf {

namespace {

// Handles die with the library when it is gone first.
struct HandleReleaser {
  void operator()(void* handle) const { ReleaseHandle(handle); }
};
struct FreeDate {
  void operator()(OkDate* date) const {
    if (const OkDatesTable* dates = Tables().dates)
      Guarded([&] { return dates->PdfDateFree(date), 0; }, 0);
  }
};
using OwnedAnnot = std::unique_ptr<OkAnnot, HandleReleaser>;
using OwnedObject = std::unique_ptr<OkObj, HandleReleaser>;
using OwnedDate = std::unique_ptr<OkDate, FreeDate>;

// Subtypes the reader tells apart, as rows of the kinds table.
struct ReaderNames {
  const CommentSubtype* strikeOut = FindCommentSubtype("StrikeOut");
  const CommentSubtype* deletion = FindCommentSubtype("Deletion");
  const CommentSubtype* caret = FindCommentSubtype("Caret");
};

// The record read from the annotation `object` names; null when there is none yet.
PdfComment* RecordOf(DocumentContext& context, const OkObj* object) {
  if (!object) return nullptr;
  return Guarded(
      [&]() -> PdfComment* {
        const auto found = context.commentsByAnnot.find(object);
        return found == context.commentsByAnnot.end() ? nullptr : found->second;
      },
      static_cast<PdfComment*>(nullptr));
}

// The record of the annotation that this one answers, when that one is read already.
PdfComment* FindReplyTarget(DocumentContext& context, const OkAnnot* annot) {
  return RecordOf(context, OwnedObject(ReplyTarget(annot)).get());
}

// A state annotation whose target is read already updates that record and makes none of its
// own. Any other (its target later in the page, itself, or not imported) is read on as an
// ordinary annotation. A target that the state filter took out stays out: only the lists'
// records are filtered again.
bool TakeReviewState(DocumentContext& context, const OkAnnot* annot) {
  if (!HasReviewState(annot)) return false;
  PdfComment* target = FindReplyTarget(context, annot);
  if (!target) return false;
  ApplyReviewState(annot, *target);
  context.statesChanged.insert(target);
  return true;
}

// The kind the filter sees: the Caret right after the strike-out of a replace counts as part
// of the replace, and so does either half of a replace the page pairs in another order.
uint32_t KindForFilter(DocumentContext& context, CommentKind kind, const OkAnnot* annot) {
  const bool carried = context.lastReadWasReplace;
  context.lastReadWasReplace = kind == Replace;
  if (kind == Insert && carried) return Replace;
  if ((kind != Insert && kind != Delete) || context.replaceHalves.empty()) return kind;
  const OwnedObject object(
      Guarded([&] { return Tables().pages->PdfAnnotDict(annot); }, static_cast<OkObj*>(nullptr)));
  return context.replaceHalves.Contains(object.get()) ? Replace : kind;
}

// The modification date (/M), else the creation date (/CreationDate); null when the annotation
// has neither in a form that can be read.
OwnedDate ReadDate(const OkAnnot* annot) {
  const PdfTables& t = Tables();
  OwnedDate date(Guarded([&] { return t.dates->PdfDateNew(); }, static_cast<OkDate*>(nullptr)));
  if (!date) return date;
  if (Guarded([&] { return t.dates->PdfAnnotDate(annot, date.get()), true; }, false)) return date;
  const OwnedObject created(AnnotEntry(annot, "CreationDate"));
  const std::optional<int64_t> seconds = Guarded(
      [&]() -> std::optional<int64_t> {
        if (!created || t.objects->PdfObjType(created.get()) != kPdfString) return std::nullopt;
        size_t length = 0;
        const char* bytes = t.objects->PdfStringValue(created.get(), &length);
        return bytes ? PdfDateSeconds(std::string_view(bytes, length)) : std::nullopt;
      },
      std::optional<int64_t>{});
  if (!seconds ||
      !Guarded([&] { return t.dates->PdfDateFromTime(date.get(), *seconds), true; }, false)) {
    date.reset();
  }
  return date;
}

using ReadTextEntry = void (*)(const OkAnnot*, OkText*);

// The annotation's title or contents as UTF-8; nothing on a library error.
std::optional<std::string> ReadText(const OkAnnot* annot, ReadTextEntry read) {
  const PdfTables& t = Tables();
  std::unique_ptr<OkText, HandleReleaser> text;
  return Guarded(
      [&]() -> std::optional<std::string> {
        text.reset(t.core->PdfTextNew());
        read(annot, text.get());
        return AnnotationTextToUtf8(text.get());
      },
      std::optional<std::string>{});
}

// Counts an annotation of a kind the import does not take, when it is a drawing a reviewer may
// have commented with and the filter's dates and authors pass it: the summary says how many
// such comments the import left out, rather than nothing.
void NoteUnreadKind(DocumentContext& context, ondrelkit::PdfAtom subtype, const OkAnnot* annot,
                    const FilterCriteria& criteria) {
  const PdfTables& t = Tables();
  const char* name =
      Guarded([&] { return t.core->PdfAtomName(subtype); }, static_cast<const char*>(nullptr));
  if (!name) return;
  const char* const* kind =
      std::find(std::begin(kUnreadSubtypes), std::end(kUnreadSubtypes), std::string_view(name));
  if (kind == std::end(kUnreadSubtypes)) return;
  const OwnedDate date = ReadDate(annot);
  if (!Guarded([&] { return DatePasses(date.get(), criteria); }, false)) return;
  const std::optional<std::string> author = ReadText(annot, t.pages->PdfAnnotTitle);
  if (!author || !AuthorPasses(*author, criteria)) return;
  ++context.unreadKinds[*kind];
}

// An annotation that is passed over because it cannot be read is named with its page and why.
void NoteUnreadable(DocumentContext& context, const char* reason) {
  context.unreadAnnotations.push_back({context.pageIndex, reason});
}

// The object that finds the record read from the annotation: the page's reference to it, which
// holds nothing of its dictionary, when that is the annotation `object` is (so the dictionary
// goes with the annotation's handle once the page is read); else `object`, its dictionary.
OwnedObject RecordKey(OwnedObject object, const OkObj* listed, int32_t index) {
  if (!listed) return object;
  const PdfTables& t = Tables();
  OwnedObject reference(
      Guarded([&] { return t.objects->PdfArrayGet(listed, index); }, static_cast<OkObj*>(nullptr)));
  // Equal only as the same indirect object, which is compared without being read.
  const bool same =
      reference &&
      Guarded([&] { return t.objects->PdfObjEqual(reference.get(), object.get()); }, false);
  return same ? std::move(reference) : std::move(object);
}

// The annotation as a record, when it is a comment the filter lets through; null otherwise
// (the annotation's handle is then released). `listed` is the page's list of annotations,
// `index` the annotation's place in it.
std::unique_ptr<PdfComment> ReadRecord(DocumentContext& context, OwnedAnnot annot,
                                       const FilterCriteria& criteria, const OkObj* listed,
                                       int32_t index) {
  const PdfTables& t = Tables();
  // Without a Subtype name the annotation is nothing the import knows: every annotation has
  // one, so a dictionary without it is damaged (one cut short where the library gave up
  // reading it, say), and is named.
  const ondrelkit::PdfAtom subtype =
      Guarded([&] { return t.pages->PdfAnnotSubtype(annot.get()); }, ondrelkit::kNoAtom);
  if (subtype == ondrelkit::kNoAtom) {
    NoteUnreadable(context, "no subtype could be read");
    return nullptr;
  }
  if (TakeReviewState(context, annot.get())) return nullptr;
  const CommentKind kind =
      Guarded([&] { return ClassifyComment(subtype, annot.get()); }, NotImported);
  if (kind == NotImported) {
    NoteUnreadKind(context, subtype, annot.get(), criteria);
    return nullptr;
  }
  if (!KindPasses(KindForFilter(context, kind, annot.get()), criteria)) return nullptr;
  const OwnedDate date = ReadDate(annot.get());
  if (!Guarded([&] { return DatePasses(date.get(), criteria); }, false)) return nullptr;
  // An author or contents that cannot be read drops the record, and says so.
  std::optional<std::string> author = ReadText(annot.get(), t.pages->PdfAnnotTitle);
  if (!author) NoteUnreadable(context, "author could not be read");
  if (!author || !AuthorPasses(*author, criteria)) return nullptr;
  std::optional<std::string> contents = ReadText(annot.get(), t.pages->PdfAnnotContents);
  if (!contents) {
    NoteUnreadable(context, "contents could not be read");
    return nullptr;
  }
  OwnedObject object(
      Guarded([&] { return t.pages->PdfAnnotDict(annot.get()); }, static_cast<OkObj*>(nullptr)));
  if (!object) {
    NoteUnreadable(context, "dictionary could not be read");
    return nullptr;
  }

  object = RecordKey(std::move(object), listed, index);
  auto record = std::make_unique<PdfComment>(
      std::make_unique<AnnotationHandles>(annot.release(), object.release()));
  // Classified above: the subtype has a row.
  record->SetSubtype(FindCommentSubtype(subtype));
  record->SetPage(context.pageIndex);
  record->SetIdentity(CommentIdentity(AnnotOf(*record), context.pageIndex, record->subtypeName(),
                                      *author, *contents));
  record->SetAuthor(*author);
  record->SetContents(*contents);
  // Placing needs the date as text and as seconds; both are made here, while the library is.
  if (date) record->SetDate(SortableDateText(date.get()), SecondsSince1970(date.get()));
  return record;
}

// True when the comment's IRT names the annotation `other` was read from.
bool NamesAsPartner(const PdfComment& comment, const OkObj* other) {
  OkObj* partner = AnnotEntry(AnnotOf(comment), "IRT");
  const bool named =
      partner && Guarded([&] { return Tables().objects->PdfObjEqual(partner, other); }, false);
  ReleaseHandle(partner);
  return named;
}

// The record read before from the annotation that the comment's IRT names; null when none.
PdfComment* IrtRecord(DocumentContext& context, const PdfComment& comment) {
  return RecordOf(context, OwnedObject(AnnotEntry(AnnotOf(comment), "IRT")).get());
}

// Where the record stands on the current page's list, searched from its end, where the other
// half of a replace usually stands; the list's end when it is not there (a reply, say).
std::vector<std::unique_ptr<PdfComment>>::iterator OnPageList(DocumentContext& context,
                                                              const PdfComment* record) {
  auto& list = context.commentsByPage[context.pageIndex];
  const auto found = std::find_if(list.rbegin(), list.rend(),
                                  [&](const auto& listed) { return listed.get() == record; });
  return found == list.rend() ? list.end() : std::prev(found.base());
}

bool IsStrikeOut(const PdfComment& record, const ReaderNames& names) {
  return record.subtype() == names.strikeOut || record.subtype() == names.deletion;
}

// The Caret of the strike-out's replace (the one a grouped strike-out's IRT names, or one
// grouped with the strike-out), when the page listed it before the strike-out and it was read as
// an insertion of its own: taken out of the page's list. Some writers list a replace's Caret
// first; read as an insertion, its text would go in beside the text its strike-out deletes,
// where the host takes none.
std::unique_ptr<PdfComment> TakeEarlierCaret(DocumentContext& context, const PdfComment& strikeOut,
                                             bool grouped, const ReaderNames& names) {
  PdfComment* caret = grouped ? IrtRecord(context, strikeOut) : nullptr;
  if (!caret || caret->subtype() != names.caret)
    caret = context.replaceHalves.CaretAwaiting(AnnotObjectOf(strikeOut));
  if (!caret || caret->subtype() != names.caret) return nullptr;
  const auto at = OnPageList(context, caret);
  auto& list = context.commentsByPage[context.pageIndex];
  if (at == list.end()) return nullptr;
  std::unique_ptr<PdfComment> taken = std::move(*at);
  list.erase(at);
  return taken;
}

// Whether a strike-out can take a Caret grouped with it: it was read as a deletion of its own
// and is still on the page's list.
bool TakesGroupedCaret(DocumentContext& context, const PdfComment& strikeOut,
                       const ReaderNames& names) {
  return IsStrikeOut(strikeOut, names) && !strikeOut.replacement() &&
         OnPageList(context, &strikeOut) != context.commentsByPage[context.pageIndex].end();
}

// The Caret of a replace goes into the strike-out that waits for it, or into the strike-out it
// is grouped with; true when it did. A grouped strike-out takes the Caret its IRT names when
// that was read already, else becomes the one that waits, replacing any earlier one.
bool PairReplace(DocumentContext& context, std::unique_ptr<PdfComment>& record,
                 const ReaderNames& names) {
  if (IsStrikeOut(*record, names)) {
    const bool grouped = IsGroupMember(AnnotOf(*record));
    if (std::unique_ptr<PdfComment> caret = TakeEarlierCaret(context, *record, grouped, names)) {
      record->SetReplacement(std::move(caret));
    } else if (grouped) {
      context.pendingReplace = record.get();
      context.replaceWaiting = true;
    }
    return false;
  }
  if (record->subtype() != names.caret) return false;
  // Only the Caret that the strike-out's IRT names is its other half: when that one is missing
  // or damaged, the next Caret of the page is an insertion of its own, not the replacement text.
  if (!context.replaceWaiting || !context.pendingReplace ||
      !NamesAsPartner(*context.pendingReplace, AnnotObjectOf(*record))) {
    // Some writers group the Caret with the strike-out (RT /Group) rather than the strike-out
    // with the Caret: the strike-out its IRT names takes it, now when read before it, else when
    // the page lists it later.
    if (!IsNamedGroupMember(AnnotOf(*record))) return false;
    PdfComment* strikeOut = IrtRecord(context, *record);
    if (!strikeOut) {
      context.replaceHalves.AwaitStrikeOut(AnnotEntry(AnnotOf(*record), "IRT"), record.get());
      return false;
    }
    if (!TakesGroupedCaret(context, *strikeOut, names)) return false;
    strikeOut->SetReplacement(std::move(record));
    if (strikeOut == context.pendingReplace) {
      context.pendingReplace = nullptr;
      context.replaceWaiting = false;
    }
    return true;
  }
  context.pendingReplace->SetReplacement(std::move(record));
  context.pendingReplace = nullptr;
  context.replaceWaiting = false;
  return true;
}

// True when `other` is the record or one it holds: its replacement, its replies, theirs.
bool Holds(const PdfComment& record, const PdfComment* other) {
  std::vector<const PdfComment*> open{&record};
  while (!open.empty()) {
    const PdfComment* held = open.back();
    open.pop_back();
    if (held == other) return true;
    if (held->replacement()) open.push_back(held->replacement());
    for (const auto& reply : held->replies()) open.push_back(reply.get());
  }
  return false;
}

// Under the record it answers when that one is read already; else on its page's list. Records
// are entered in commentsByAnnot only after this, so an annotation that names itself (or one
// later in the page) is never found, and every reply hangs on an older record. A strike-out
// may answer the Caret it took as its replacement (its IRT without RT names both): it stays on
// the list, so that no record holds one that holds it.
void Place(DocumentContext& context, std::unique_ptr<PdfComment> record) {
  PdfComment* parent = FindReplyTarget(context, AnnotOf(*record));
  if (parent && !Holds(*record, parent)) {
    parent->AddReply(std::move(record));
  } else {
    context.commentsByPage[context.pageIndex].push_back(std::move(record));
  }
}

// The map's key belongs to the record it names; an annotation is entered once, as one read
// already is passed over (ReadBefore).
void Enter(DocumentContext& context, PdfComment* record) {
  Guarded(
      [&] {
        context.commentsByAnnot.erase(AnnotObjectOf(*record));
        context.commentsByAnnot.emplace(AnnotObjectOf(*record), record);
        return 0;
      },
      0);
}

// True for an annotation that a page listed before: one comment of the reviewer's is read
// once, however often the PDF lists it, rather than imported again or made its own reply.
bool ReadBefore(const DocumentContext& context, const OkAnnot* annot) {
  const OwnedObject object(
      Guarded([&] { return Tables().pages->PdfAnnotDict(annot); }, static_cast<OkObj*>(nullptr)));
  return object && Guarded([&] { return context.commentsByAnnot.count(object.get()) != 0; }, false);
}

// Reads the annotation at `index` of the page; a record made of it is added to `read`.
void ReadAnnotation(DocumentContext& context, const OkPage* page, const OkObj* listed,
                    int32_t index, const FilterCriteria& criteria, const ReaderNames& names,
                    std::vector<PdfComment*>& read) {
  // An entry that is not an annotation dictionary is skipped, and named.
  OwnedAnnot annot(Guarded([&] { return Tables().pages->PdfAnnotAt(page, index); },
                           static_cast<OkAnnot*>(nullptr)));
  if (!annot) {
    NoteUnreadable(context, "not an annotation dictionary");
    return;
  }
  if (ReadBefore(context, annot.get())) return;
  std::unique_ptr<PdfComment> record =
      ReadRecord(context, std::move(annot), criteria, listed, index);
  if (!record) return;
  ReadCommentBoxes(*record, context.page);
  PdfComment* entered = record.get();
  if (!PairReplace(context, record, names)) Place(context, std::move(record));
  Enter(context, entered);
  read.push_back(entered);
}

// The page's /Annots array, which holds the references to its annotations; null without one.
OwnedObject ListedAnnotations(OkPage* page) {
  const PdfTables& t = Tables();
  return Guarded(
      [&] {
        const OwnedObject dict(t.pages->PdfPageObject(page));
        return OwnedObject(t.objects->PdfDictGet(dict.get(), t.core->PdfAtom("Annots")));
      },
      OwnedObject());
}

}  // namespace

PageValues ReadPageValues(OkPage* page) {
  const PdfTables& t = Tables();
  if (!page || !t.pages) return {};
  return Guarded(
      [&] {
        PdfFixed box[4];
        t.pages->PdfPageBox(page, box);
        PageValues values;
        values.pageTop = t.dates->PdfFixedToFloat(box[3]);
        values.pageRight = t.dates->PdfFixedToFloat(box[2]);
        values.pageRotation = t.pages->PdfPageRotation(page);
        return values;
      },
      PageValues{});
}

void ReadPageComments(DocumentContext& context, OkPage* page, const FilterCriteria& criteria) {
  const PdfTables& t = Tables();
  if (!page || !t.core || !t.pages || !t.objects || !t.dates) return;
  const ReaderNames names;
  const int32_t count = Guarded([&] { return t.pages->PdfAnnotCount(page); }, 0);
  // Only a filter that tells replaces from insertions or deletions needs the page's replaces
  // before it is read.
  const uint32_t parts = criteria.kindMask & (Insert | Delete | Replace);
  context.replaceHalves = parts != 0 && parts != (Insert | Delete | Replace)
                              ? ReplaceHalves::OfPage(page)
                              : ReplaceHalves();
  const OwnedObject listed = ListedAnnotations(page);
  std::vector<PdfComment*> read;
  for (int32_t index = 0; index < count; ++index) {
    ReadAnnotation(context, page, listed.get(), index, criteria, names, read);
  }
  context.replaceHalves = ReplaceHalves();
  // Nothing more is read from the page's annotations but from a strike-out whose Caret may
  // come on a later page; their dictionaries are the largest part of what reading holds.
  for (PdfComment* record : read) {
    if (record != context.pendingReplace) record->ReleaseAnnotationEntries();
  }
}

void FilterByReviewState(DocumentContext& context, const FilterCriteria& criteria) {
  std::set<int32_t> pages{context.pageIndex};
  for (const PdfComment* changed : context.statesChanged) pages.insert(changed->page());
  context.statesChanged.clear();
  for (int32_t page : pages) {
    const auto list = context.commentsByPage.find(page);
    if (list == context.commentsByPage.end()) continue;
    // Records that are no longer in the list (replies, the Caret of a replace, records taken
    // out before) are simply not met here.
    auto& records = list->second;
    const auto failing =
        std::stable_partition(records.begin(), records.end(),
                              [&](const auto& record) { return StatesPass(*record, criteria); });
    std::move(failing, records.end(), std::back_inserter(context.filteredOut));
    records.erase(failing, records.end());
  }
}

AnnotationCount CountAnnotations(OkDoc* document, int32_t firstPage, int32_t lastPage) {
  const PdfTables& t = Tables();
  AnnotationCount count;
  if (!document || !t.document || !t.pages) return count;
  const int32_t pages = Guarded([&] { return t.document->PdfPageCount(document); }, 0);
  lastPage = std::min(lastPage, pages - 1);
  for (int32_t index = std::max(firstPage, 0); index <= lastPage; ++index) {
    OkPage* page = Guarded([&] { return t.pages->PdfAcquirePage(document, index); },
                           static_cast<OkPage*>(nullptr));
    if (!page) {
      count.pagesNotHad.push_back(index);
      continue;
    }
    const int32_t annots = Guarded([&] { return t.pages->PdfAnnotCount(page); }, 0);
    Guarded([&] { return t.pages->PdfReleasePage(page), 0; }, 0);
    if (annots <= 0) continue;
    count.total += annots;
    count.lastPage = index;
    count.pages.push_back(index);
  }
  return count;
}

}  // namespace osprevan::pdf
