#!/usr/bin/python3
"""The harness's own scoring, on made-up reports and saved documents: a comment reported or
found at the wrong place must count as silent and fail the run, whatever the report claims."""
import json
import os
import sys
import tempfile
import unittest

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))

import plan  # noqa: E402
import scoring  # noqa: E402
import tlv_text  # noqa: E402
from targets import Target  # noqa: E402

LABEL = "unconfirmed place"
ADDED = 'cond="TL8_TRACK_CHANGES_ADDED"'
DELETED = 'cond="TL8_TRACK_CHANGES_DELETED"'
HIGHLIGHT = 'cond="TL_PDF_Comments_Highlight"'
# Paragraph 3 before the import; "turns" was deleted by someone else earlier.
SOURCE = 'The old mill <c %s author="Kim">turns</c>.' % DELETED
KIM_TURNS = '<c %s author="Kim">turns</c>' % DELETED


def document(paragraph):
    return ('<document version="1"><flow name="A" main="yes">'
            '<p unique="1">Title</p><p unique="3">%s</p></flow></document>' % paragraph)


def entry(outcome, begin, end, placement="insertion", begin_paragraph=3):
    return {"author": "a", "outcome": outcome, "placement": placement, "paragraph": 3,
            "begin": begin, "end": end, "reason": "why", "beginParagraph": begin_paragraph}


def marker(author, text="note"):
    return '<marker type="Comment" text="%s" %s author="%s"/>' % (text, ADDED, author)


NEW = '<c %s author="a">new</c>' % ADDED
# name, kind, the saved paragraph 3 (None: the import did not run), the report's entry (None:
# absent), expected outcome.
# The comment is meant at "The old| mill" (an insertion of "new") or on "mill" (a deletion).
CASES = [
    ("exact insertion", "insert", "The old%s mill %s." % (NEW, KIM_TURNS),
     entry("successful", 7, 7), "exact"),
    ("a marker of another comment before it keeps the offsets", "insert",
     "%sThe old%s mill %s." % (marker("b"), NEW, KIM_TURNS), entry("successful", 7, 7), "exact"),
    ("the report is right but the text went in one off", "insert",
     "The ol%sd mill turns." % NEW, entry("successful", 7, 7), "silent"),
    ("the report names another offset", "insert",
     "The old%s mill turns." % NEW, entry("successful", 6, 6), "silent"),
    ("misplaced with its marker", "insert",
     "The old mill turns.%s" % marker("a", "x " + LABEL + " y"), entry("misplaced", 0, 0),
     "flagged"),
    ("misplaced without a marker saying so", "insert", "The old mill turns.",
     entry("misplaced", 0, 0), "lost"),
    ("misplaced, yet the text went in", "insert",
     "The old%s mill turns.%s" % (NEW, marker("a", LABEL)), entry("misplaced", 7, 7), "silent"),
    ("failed", "insert", "The old mill turns.", entry("failed", 7, 7), "lost"),
    ("not in the report, document unchanged", "insert", "The old mill turns.", None, "lost"),
    ("not in the report, yet the text went in", "insert", "The old%s mill turns." % NEW, None,
     "silent"),
    # The earlier deletion of "turns" carries the author too: only what became deleted in the
    # import counts.
    ("exact deletion beside an older one", "strikeout",
     "The old <c %s author=\"a\">mill</c> <c %s author=\"a\">turns</c>." % (DELETED, DELETED),
     entry("successful", 8, 12, "deletion"), "exact"),
    ("the report's range begins in the paragraph before", "strikeout",
     "The old <c %s author=\"a\">mill</c> turns." % DELETED,
     entry("successful", 8, 12, "deletion", begin_paragraph=1), "silent"),
    ("deletion one character short", "strikeout",
     "The old <c %s author=\"a\">mil</c>l turns." % DELETED,
     entry("successful", 8, 12, "deletion"), "silent"),
    # A mark carries no change author: the report's place and the nearest highlight claim it.
    ("exact highlight", "highlight", "The old <c %s>mill</c> %s." % (HIGHLIGHT, KIM_TURNS),
     entry("successful", 8, 12, "highlight"), "exact"),
    ("highlight reported right but put on another word", "highlight",
     "The <c %s>old</c> mill turns." % HIGHLIGHT, entry("successful", 8, 12, "highlight"),
     "silent"),
    ("the import did not run", "insert", None, None, "lost"),
]


class ScoringTest(unittest.TestCase):
    def setUp(self):
        self.folder = tempfile.TemporaryDirectory()
        self.addCleanup(self.folder.cleanup)
        self.source = self.write("source.tlv", document(SOURCE))
        self.paragraphs = tlv_text.read_document(self.source)

    def write(self, name, text):
        path = os.path.join(self.folder.name, name)
        with open(path, "w", encoding="utf-8") as f:
            f.write(text)
        return path

    def score(self, kind, saved, report_entry, variant=None):
        """The result of a comment meant after "old" (an insertion of "new") or on "mill", scored
        beside another comment of its PDF in the margin; saved None: the import did not run."""
        target = Target(self.paragraphs[3], *((4, 7) if kind == "insert" else (8, 12)), "word")
        made = plan.Comment("a", "test", "test", 0, plan.Request(kind, "mid-line", variant),
                            "mid-line", target)
        made.text = "new"
        other = plan.Comment("b", "test", "test", 0, plan.Request("note", "left margin"),
                             "note left margin", target)
        report = saved and self.write("r.report.json", json.dumps(
            {"comments": [report_entry] if report_entry else []}))
        return scoring.score_batch([made, other], self.source, report,
                                   saved and self.write("saved.tlv", document(saved)), LABEL)[0]

    def test_cases(self):
        for name, kind, saved, report_entry, expected in CASES:
            with self.subTest(name):
                self.assertEqual(self.score(kind, saved, report_entry).outcome, expected)

    def test_one_silent_comment_fails_the_run(self):
        exact, silent = [self.score(*CASES[i][1:4]) for i in (0, 2)]
        self.assertEqual(scoring.exit_status([exact], []), 0)
        self.assertEqual(scoring.exit_status([exact, silent], []), 1)

    def test_a_caret_mid_blank_is_exact_on_either_side_of_the_blank_only(self):
        # "The old| |mill": the caret in the blank after "old" means either side of it.
        for at, expected in ((7, "exact"), (8, "exact"), (9, "silent"), (4, "silent")):
            with self.subTest(at=at):
                result = self.score("insert", SOURCE[:at] + NEW + SOURCE[at:],
                                    entry("successful", at, at), {"caret_x": "blank"})
                self.assertEqual(result.outcome, expected)


if __name__ == "__main__":
    unittest.main()
