// What the reader knows of the replaces of the page it reads, where the page's order alone
// cannot tell an insertion from half a replace: writers list a replace's Caret before or after
// its strike-out, and group either half with the other.
#pragma once

#include <map>
#include <memory>
#include <set>
#include <vector>

#include "ondrelkit/ondrelkit.h"
#include "pdf/annotation_handles.h"

namespace osprevan::pdf {

class ReplaceHalves {
 public:
  // Every half of the page's replaces, found before the page is read, for a kind filter that
  // takes replaces and leaves insertions or deletions out (or the other way round): a strike-out
  // grouped with the Caret its IRT names, and a Caret grouped (RT /Group) with the strike-out
  // its IRT names, each with its partner. Reading the page twice costs time: the reader asks
  // for this only under such a filter.
  static ReplaceHalves OfPage(const OkPage* page);

  // True for an annotation dictionary that is half of a replace of the page.
  bool Contains(const OkObj* annot) const;
  bool empty() const { return halves_.empty(); }

  // A Caret grouped with a strike-out that the page lists after it: `strikeOut` (its IRT
  // entry, taken over) names the strike-out, which takes the Caret when it is read.
  void AwaitStrikeOut(OkObj* strikeOut, PdfComment* caret);
  // The Caret waiting for this strike-out's dictionary; null when none.
  PdfComment* CaretAwaiting(const OkObj* strikeOut) const;

 private:
  struct Release {
    void operator()(OkObj* object) const;
  };
  const OkObj* Keep(OkObj* object);

  // Every object the set and the map name; declared first, so it goes last.
  std::vector<std::unique_ptr<OkObj, Release>> held_;
  std::set<const OkObj*, AnnotObjectLess> halves_;
  std::map<const OkObj*, PdfComment*, AnnotObjectLess> caretsAwaiting_;
};

}  // namespace osprevan::pdf
