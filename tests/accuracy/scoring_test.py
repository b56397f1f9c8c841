#!/usr/bin/python3
"""The harness's own scoring, on made-up reports and saved documents: a comment reported or
found at the wrong place must count as silent and fail the run, whatever the report claims."""
import json
import os
import sys
import tempfile
import unittest

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))

import accuracy  # noqa: E402
import plan  # noqa: E402
import tlv_text  # noqa: E402
from targets import Target  # noqa: E402

LABEL = "unconfirmed place"
ADDED = 'cond="TL8_TRACK_CHANGES_ADDED"'
DELETED = 'cond="TL8_TRACK_CHANGES_DELETED"'
HIGHLIGHT = 'cond="TL_PDF_Comments_Highlight"'
# Paragraph 3 before the import; "turns" was deleted by someone else earlier.
SOURCE = 'The old mill <c %s author="Kim">turns</c>.' % DELETED


def document(paragraph):
    return ('<document version="1"><flow name="A" main="yes">'
            '<p unique="1">Title</p><p unique="3">%s</p></flow></document>' % paragraph)


def entry(author, outcome, begin, end, placement="insertion", paragraph=3):
    return {"author": author, "outcome": outcome, "placement": placement,
            "paragraph": paragraph, "begin": begin, "end": end, "reason": "why"}


def marker(author, text="note"):
    return '<marker type="Comment" text="%s" %s author="%s"/>' % (text, ADDED, author)


def inserted(author, text):
    return '<c %s author="%s">%s</c>' % (ADDED, author, text)


# name, kind, the saved paragraph 3, the report's entry (None: absent), expected outcome.
# The comment is meant at "The old| mill" (an insertion of "new") or on "mill" (a deletion).
CASES = [
    ("exact insertion", "insert",
     "The old%s mill <c %s author=\"Kim\">turns</c>." % (inserted("a", "new"), DELETED),
     entry("a", "successful", 7, 7), "exact"),
    ("a marker of another comment before it keeps the offsets", "insert",
     "%sThe old%s mill <c %s author=\"Kim\">turns</c>." % (marker("b"), inserted("a", "new"),
                                                          DELETED),
     entry("a", "successful", 7, 7), "exact"),
    ("the report is right but the text went in one off", "insert",
     "The ol%sd mill turns." % inserted("a", "new"), entry("a", "successful", 7, 7), "silent"),
    ("the report names another offset", "insert",
     "The old%s mill turns." % inserted("a", "new"), entry("a", "successful", 6, 6), "silent"),
    ("misplaced with its marker", "insert",
     "The old mill turns.%s" % marker("a", "x " + LABEL + " y"),
     entry("a", "misplaced", 0, 0), "flagged"),
    ("misplaced without a marker saying so", "insert", "The old mill turns.",
     entry("a", "misplaced", 0, 0), "lost"),
    ("misplaced, yet the text went in", "insert",
     "The old%s mill turns.%s" % (inserted("a", "new"), marker("a", LABEL)),
     entry("a", "misplaced", 7, 7), "silent"),
    ("failed", "insert", "The old mill turns.", entry("a", "failed", 7, 7), "lost"),
    ("not in the report, document unchanged", "insert", "The old mill turns.", None, "lost"),
    ("not in the report, yet the text went in", "insert",
     "The old%s mill turns." % inserted("a", "new"), None, "silent"),
    # The earlier deletion of "turns" carries the author too: only what became deleted in the
    # import counts.
    ("exact deletion beside an older one", "strikeout",
     "The old <c %s author=\"a\">mill</c> <c %s author=\"a\">turns</c>." % (DELETED, DELETED),
     entry("a", "successful", 8, 12, "deletion"), "exact"),
    ("deletion one character short", "strikeout",
     "The old <c %s author=\"a\">mil</c>l turns." % DELETED,
     entry("a", "successful", 8, 12, "deletion"), "silent"),
    # A mark carries no change author: the report's place and the nearest highlight claim it.
    ("exact highlight", "highlight",
     "The old <c %s>mill</c> <c %s author=\"Kim\">turns</c>." % (HIGHLIGHT, DELETED),
     entry("a", "successful", 8, 12, "highlight"), "exact"),
    ("highlight reported right but put on another word", "highlight",
     "The <c %s>old</c> mill turns." % HIGHLIGHT, entry("a", "successful", 8, 12, "highlight"),
     "silent"),
]


def comment(kind, paragraphs):
    if kind == "insert":
        target = Target(paragraphs[3], 4, 7, "word")  # "old", caret after it
    else:
        target = Target(paragraphs[3], 8, 12, "word")  # "mill"
    made = plan.Comment("a", "test", "test", 0, plan.Request(kind, "mid-line"), "mid-line", target)
    made.text = "new"
    return made


class ScoringTest(unittest.TestCase):
    def setUp(self):
        self.folder = tempfile.TemporaryDirectory()
        self.source = self.write("source.tlv", document(SOURCE))
        self.paragraphs = tlv_text.read_document(self.source)

    def tearDown(self):
        self.folder.cleanup()

    def write(self, name, text):
        path = os.path.join(self.folder.name, name)
        with open(path, "w", encoding="utf-8") as f:
            f.write(text)
        return path

    def score(self, kind, saved, report_entry):
        made = comment(kind, self.paragraphs)
        other = plan.Comment("b", "test", "test", 0, plan.Request("note", "left margin"),
                             "note left margin", made.target)
        entries = [report_entry] if report_entry else []
        report = self.write("r.report.json", json.dumps({"comments": entries}))
        results = accuracy.score_batch([made, other], self.source, report,
                                       self.write("saved.tlv", document(saved)), LABEL)
        return results[0]

    def test_cases(self):
        for name, kind, saved, report_entry, expected in CASES:
            with self.subTest(name):
                self.assertEqual(self.score(kind, saved, report_entry).outcome, expected)

    def test_one_silent_comment_fails_the_run(self):
        exact = self.score("insert", CASES[0][2], CASES[0][3])
        silent = self.score("insert", CASES[2][2], CASES[2][3])
        self.assertEqual(accuracy.exit_status([exact], []), 0)
        self.assertEqual(accuracy.exit_status([exact, silent], []), 1)

    def test_a_caret_mid_blank_is_exact_on_either_side_of_the_blank_only(self):
        # "The old| |mill": the caret in the blank after "old" means either side of it.
        for at, expected in ((7, "exact"), (8, "exact"), (9, "silent"), (4, "silent")):
            with self.subTest(at=at):
                made = comment("insert", self.paragraphs)
                made.variant = {"caret_x": "blank"}
                saved = SOURCE[:at] + inserted("a", "new") + SOURCE[at:]
                report = self.write("r.report.json",
                                    json.dumps({"comments": [entry("a", "successful", at, at)]}))
                [result] = accuracy.score_batch([made], self.source, report,
                                                self.write("saved.tlv", document(saved)), LABEL)
                self.assertEqual(result.outcome, expected)

    def test_an_import_that_did_not_run_loses_every_comment(self):
        made = comment("insert", self.paragraphs)
        [result] = accuracy.score_batch([made], self.source, None, None, LABEL)
        self.assertEqual(result.outcome, "lost")


if __name__ == "__main__":
    unittest.main()
