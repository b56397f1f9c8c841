"""What became of each comment, from the import's report and the document it saved: exact,
flagged, silent or lost, as docs/accuracy.md defines them."""
import json
import os

import tlv_text
from plan import PLACEMENT

OUTCOMES = ("exact", "flagged", "silent", "lost")
MARKS = ("highlight", "underline")


class Result:
    def __init__(self, comment, outcome, landed="", why=""):
        self.comment, self.outcome, self.landed, self.why = comment, outcome, landed, why


def _spans(cells):
    """Offsets grouped into runs, "¶3 4-9, ¶5 0-2"."""
    out = []
    for paragraph, offset in sorted(cells):
        if out and out[-1][0] == paragraph and out[-1][2] == offset:
            out[-1][2] = offset + 1
        else:
            out.append([paragraph, offset, offset + 1])
    return ", ".join("¶%d %d-%d" % tuple(r) for r in out)


def _document_says(comment, changes, place=None):
    """None when the saved document shows the comment exactly at place (by default where it was
    meant); else what it shows."""
    paragraph, begin, end = place or comment.intended()
    kind = comment.kind
    markers = [(p, o) for p, o, _ in changes.markers]
    shown = [what + text for what, text in (
        ("inserted ", ", ".join("%r at ¶%d %d" % (t, p, o) for p, o, t in changes.added)),
        ("deleted ", _spans(changes.deleted)), ("conditional text ", _spans(changes.conditioned)),
        ("marker at ", ", ".join("¶%d %d" % m for m in markers))) if text]
    # An insertion's begin and end are one offset; a replacement's text follows the struck one.
    span = set() if begin is None else {(paragraph, i) for i in range(begin, end)}
    expected = ([(paragraph, comment.text_offset(end), comment.text)]
                if kind in ("insert", "replace") else [],
                span if kind in ("strikeout", "replace") else set(),
                span if kind in MARKS else set())
    if (changes.added, changes.deleted, changes.conditioned) != expected or \
            (kind in ("note", "freetext") and not any(
                p == paragraph and (begin is None or o == end) for p, o in markers)):
        return "; ".join(shown) or "nothing"
    return None


def give_marks(comments, entries, marks, changes):
    """Gives each marked position (tlv_text.changes_by_author) to the comment whose report entry
    (entries: by author) covers it, else to the highlight or underline meant nearest to it, else
    to any comment of the batch: a mark that no comment claims still counts against one."""
    def claim(comment, paragraph, offset):
        entry = entries.get(comment.author)
        covered = entry is not None and entry["paragraph"] == paragraph and \
            entry["begin"] <= offset < entry["end"]
        unique, begin, end = comment.intended()
        near = unique == paragraph and begin is not None
        distance = 0 if not near or begin <= offset < end else \
            min(abs(offset - begin), abs(offset - (end - 1)))
        return (not covered, comment.kind not in MARKS, not near, distance)

    for paragraph, offset in sorted(marks) if comments else ():
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
        if changes.changed_text():
            return Result(comment, "silent", landed,
                          "misplaced (%s), yet its text was changed: %s" % (
                              entry["reason"], _document_says(comment, changes)))
        if not any(misplaced_label in m[2] for m in changes.markers):
            return Result(comment, "lost", landed,
                          "misplaced (%s), but no marker says so" % entry["reason"])
        return Result(comment, "flagged", landed, entry["reason"])
    wrong = [] if entry["placement"] == PLACEMENT[comment.kind] else \
        ["placed as %s" % (entry["placement"] or "nothing")]
    place = (paragraph, begin, end)
    if begin is not None:
        place = landed if landed in comment.accepted() else None
    # A range that begins in another paragraph is at another place, whatever its offsets.
    if entry["paragraph"] != paragraph or place is None or \
            entry.get("beginParagraph", paragraph) != paragraph:
        wrong.append("reported at another place")
    document = _document_says(comment, changes, place)
    if document is not None:
        wrong.append("the document shows " + document)
    return Result(comment, "silent" if wrong else "exact", landed, "; ".join(wrong))


def score_batch(comments, source, report, saved, label, unscored=()):
    """The Results of one PDF's comments from the import's report and saved document (None or
    missing: the import did not run). unscored: the PDF's comments a writer drew wrongly."""
    entries = {}
    if report and os.path.exists(report):
        with open(report, encoding="utf-8") as f:
            entries = {entry["author"]: entry for entry in json.load(f)["comments"]}
    document = tlv_text.read_document(saved) if saved and os.path.exists(saved) else {}
    everyone = list(comments) + list(unscored)
    changes, marks = tlv_text.changes_by_author(document, tlv_text.read_document(source),
                                                [c.author for c in everyone])
    give_marks(everyone, entries, marks, changes)
    return [score(c, entries.get(c.author), changes[c.author], label) for c in comments]


def exit_status(results, writer_errors):
    """1 when a comment was silent or lost, or a writer did not draw one as meant."""
    return 1 if writer_errors or any(r.outcome in ("silent", "lost") for r in results) else 0
