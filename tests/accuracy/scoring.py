"""What became of each comment, from the import's report and the document it saved.

- exact: the report names the intended paragraph and offsets with outcome successful, and the
  saved document shows the change there (inserted text, deleted-text condition, conditional
  text, or marker, by the comment's author).
- flagged: the report says misplaced, the document holds the author's marker with the text
  that marks a misplaced comment, and no text of the document was changed for it.
- silent: the comment changed the document or was reported successful at another place or
  extent.
- lost: the comment failed, was filtered out, or is in neither the report nor the document.
"""
OUTCOMES = ("exact", "flagged", "silent", "lost")


class Result:
    def __init__(self, comment, outcome, landed="", why=""):
        self.comment, self.outcome, self.landed, self.why = comment, outcome, landed, why


def _range(paragraph, begin, end):
    return {(paragraph, i) for i in range(begin, end)}


def _spans(cells):
    """Offsets grouped into runs, "¶3 4-9, ¶5 0-2"."""
    out, run = [], None
    for paragraph, offset in sorted(cells):
        if run and run[0] == paragraph and run[2] == offset:
            run[2] = offset + 1
        else:
            run = [paragraph, offset, offset + 1]
            out.append(run)
    return ", ".join("¶%d %d-%d" % tuple(r) for r in out)


def _document_says(comment, changes, place=None):
    """None when the saved document shows the comment exactly at place (by default where it was
    meant); else what it shows."""
    paragraph, begin, end = place or comment.intended()
    kind = comment.kind
    added = [(p, o, t) for p, o, t in changes.added]
    markers = [(p, o) for p, o, _ in changes.markers]
    shown = []
    if added:
        shown.append("inserted " + ", ".join("%r at ¶%d %d" % (t, p, o) for p, o, t in added))
    if changes.deleted:
        shown.append("deleted " + _spans(changes.deleted))
    if changes.conditioned:
        shown.append("conditional text " + _spans(changes.conditioned))
    if markers:
        shown.append("marker at " + ", ".join("¶%d %d" % m for m in markers))
    summary = "; ".join(shown) or "nothing"
    expected_added, expected_deleted, expected_conditioned = [], set(), set()
    if kind == "insert":
        expected_added = [(paragraph, begin, comment.text)]
    elif kind == "strikeout":
        expected_deleted = _range(paragraph, begin, end)
    elif kind == "replace":
        expected_deleted = _range(paragraph, begin, end)
        expected_added = [(paragraph, end, comment.text)]
    elif kind in ("highlight", "underline"):
        expected_conditioned = _range(paragraph, begin, end)
    if added != expected_added or changes.deleted != expected_deleted or \
            changes.conditioned != expected_conditioned:
        return summary
    if kind in ("note", "freetext"):
        at_place = [m for m in markers if m[0] == paragraph and (begin is None or m[1] == end)]
        if not at_place:
            return summary
    return None


MARKS = ("highlight", "underline")


def give_marks(comments, entries, marks, changes):
    """Gives each marked position (tlv_text.changes_by_author) to one comment's changes: the
    comment whose report entry covers it, else the highlight or underline meant nearest to it,
    else any comment of the batch; so a mark put where no comment claims it still counts
    against one. entries: report entries by author."""
    def claim(comment, paragraph, offset):
        entry = entries.get(comment.author)
        covered = entry is not None and entry["paragraph"] == paragraph and \
            entry["begin"] <= offset < entry["end"]
        unique, begin, end = comment.intended()
        if unique != paragraph or begin is None:
            distance = None
        else:
            distance = 0 if begin <= offset < end else min(abs(offset - begin),
                                                           abs(offset - (end - 1)))
        return (not covered, comment.kind not in MARKS, distance is None, distance or 0)

    for paragraph, offset in sorted(marks):
        if comments:
            owner = min(comments, key=lambda c: claim(c, paragraph, offset))
            changes[owner.author].conditioned.add((paragraph, offset))


def score(comment, entry, changes, misplaced_label):
    """The Result of one comment. entry: its object in the report, or None; changes: what its
    author changed in the saved document (tlv_text.Changes)."""
    paragraph, begin, end = comment.intended()
    if entry is None or entry["outcome"] not in ("successful", "misplaced"):
        said = "not in the report" if entry is None else "%s (%s)" % (
            entry["outcome"], entry["reason"] or "no reason given")
        if changes.changed_text():
            return Result(comment, "silent", _document_says(comment, changes) or "",
                          said + ", yet the document was changed")
        return Result(comment, "lost", "", said)
    landed = (entry["paragraph"], entry["begin"], entry["end"])
    if entry["outcome"] == "misplaced":
        flags = [m for m in changes.markers if misplaced_label in m[2]]
        if changes.changed_text():
            return Result(comment, "silent", landed,
                          "misplaced (%s), yet its text was changed: %s" % (
                              entry["reason"], _document_says(comment, changes)))
        if not flags:
            return Result(comment, "lost", landed,
                          "misplaced (%s), but no marker says so" % entry["reason"])
        return Result(comment, "flagged", landed, entry["reason"])
    wrong = []
    if entry["placement"] != comment.placement:
        wrong.append("placed as %s" % (entry["placement"] or "nothing"))
    place = (paragraph, begin, end)
    if begin is not None:
        place = landed if landed in comment.accepted() else None
    if entry["paragraph"] != paragraph or place is None:
        wrong.append("reported at another place")
    document = _document_says(comment, changes, place)
    if document is not None:
        wrong.append("the document shows " + document)
    if wrong:
        return Result(comment, "silent", landed, "; ".join(wrong))
    return Result(comment, "exact", landed)
