#include "pdf/reply_thread.h"

#include <cctype>
#include <optional>
#include <string>

#include "pdf/annotation_entry.h"
#include "pdf/pdf_comment.h"
#include "pdf/pdf_guard.h"
#include "pdf/pdf_tables.h"

namespace osprevan::pdf {
namespace {

struct StateName {
  const char* name;
  uint32_t value;
};

constexpr StateName kReviewStates[] = {{"None", None},
                                       {"Accepted", Accepted},
                                       {"Rejected", Rejected},
                                       {"Cancelled", Cancelled},
                                       {"Completed", Completed}};
constexpr StateName kMigrationStates[] = {{"MigrationConfirmed", MigrationConfirmed},
                                          {"MigrationPending", MigrationPending},
                                          {"MigrationNone", MigrationNone}};

bool SameLetters(const std::string& text, const char* name) {
  const std::string other(name);
  if (text.size() != other.size()) return false;
  for (size_t i = 0; i < text.size(); ++i) {
    if (std::tolower(static_cast<unsigned char>(text[i])) !=
        std::tolower(static_cast<unsigned char>(other[i])))
      return false;
  }
  return true;
}

// A string entry as UTF-8 (a text string may be UTF-16 with its byte-order mark); nothing when
// the entry is absent or not a string.
std::optional<std::string> EntryText(const OkAnnot* annot, const char* key) {
  const PdfTables& t = Tables();
  OkObj* entry = AnnotEntry(annot, key);
  if (!entry) return std::nullopt;
  OkText* text = nullptr;
  std::optional<std::string> value = Guarded(
      [&]() -> std::optional<std::string> {
        if (t.objects->PdfObjType(entry) != kPdfString) return std::nullopt;
        size_t length = 0;
        const char* bytes = t.objects->PdfStringValue(entry, &length);
        text = t.core->PdfTextFromBytes(bytes, length);
        std::string utf8(t.core->PdfTextBytes(text, nullptr, 0) + 1, '\0');
        utf8.resize(t.core->PdfTextBytes(text, utf8.data(), utf8.size()));
        return utf8;
      },
      std::optional<std::string>{});
  ReleaseHandle(text);
  ReleaseHandle(entry);
  return value;
}

template <size_t N>
void SetNamedState(const std::string& state, const StateName (&names)[N], PdfComment& target,
                   void (PdfComment::*set)(uint32_t)) {
  for (const StateName& name : names) {
    if (SameLetters(state, name.name)) {
      (target.*set)(name.value);
      return;
    }
  }
}

}  // namespace

OkObj* ReplyTarget(const OkAnnot* annot) {
  const PdfTables& t = Tables();
  if (!annot || !t.core) return nullptr;
  OkObj* irt = AnnotEntry(annot, "IRT");
  OkObj* rt = AnnotEntry(annot, "RT");
  const bool reply = Guarded(
      [&] {
        // Only a dictionary can be an annotation; an "IRT" of any other type answers nothing.
        if (!irt || !rt || t.objects->PdfObjType(irt) != kPdfDict) return false;
        const int32_t rtType = t.objects->PdfObjType(rt);
        return rtType == kPdfNull ||
               (rtType == kPdfName && t.objects->PdfNameValue(rt) == t.core->PdfAtom("R"));
      },
      false);
  ReleaseHandle(rt);
  if (reply) return irt;
  ReleaseHandle(irt);
  return nullptr;
}

bool HasReviewState(const OkAnnot* annot) {
  const PdfTables& t = Tables();
  if (!annot || !t.core) return false;
  OkObj* state = AnnotEntry(annot, "State");
  const bool present =
      state && Guarded([&] { return t.objects->PdfObjType(state) != kPdfNull; }, false);
  ReleaseHandle(state);
  return present;
}

void ApplyReviewState(const OkAnnot* stateAnnot, PdfComment& target) {
  if (!stateAnnot || !Tables().core) return;
  const std::optional<std::string> model = EntryText(stateAnnot, "StateModel");
  if (!model) return;
  const std::optional<std::string> state = EntryText(stateAnnot, "State");
  if (!state) return;
  if (SameLetters(*model, "Review")) {
    SetNamedState(*state, kReviewStates, target, &PdfComment::SetReviewState);
  } else if (SameLetters(*model, "MigrationStatus")) {
    SetNamedState(*state, kMigrationStates, target, &PdfComment::SetMigrationState);
  } else if (SameLetters(*model, "Marked")) {
    target.SetMarkedState(SameLetters(*state, "Marked") ? Marked : Unmarked);
  }
}

}  // namespace osprevan::pdf
