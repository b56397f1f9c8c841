#!/usr/bin/python3
"""Measures where review comments from several PDF writers land when the plug-in imports them.

Usage: accuracy.py [--build DIR] [--work DIR] [--writers A,B] [--sources A,B]

Prints a table per kind and class, every comment that did not land exactly, and the line
"exact E/N, flagged F, silent S, lost L"; exits with 1 when a comment was silent or lost, or
when the harness could not do its part (docs/accuracy.md).

Each PDF is imported a second time walking the content of every page (WALK_EVERY_PAGE), with
the PDF library reading no page ahead on its second thread (READ_AHEAD): the report and the
saved document must be the same, byte for byte, as those of the import that walks only the
pages its comments need, reading ahead where it reads pages in order. "both ways: N imports, D different" says so; any
difference fails the run.
"""
import argparse
import os
import re
import shutil
import subprocess
import sys
import tempfile

HERE = os.path.dirname(os.path.abspath(__file__))
sys.path.insert(0, HERE)

import fitz  # noqa: E402

import pdf_pages  # noqa: E402
import pdfjs_writer  # noqa: E402
import plan  # noqa: E402
import scoring  # noqa: E402
import shapes  # noqa: E402
import targets  # noqa: E402
import tlv_text  # noqa: E402
import writers  # noqa: E402
from plan import MARGINS, MARKUPS, RANGE_POSITIONS, note_requests, position_requests  # noqa: E402

TOP = os.path.dirname(os.path.dirname(HERE))
# Set, the plug-in walks every page's content rather than only the pages the comments need.
WALK_EVERY_PAGE = "OSPREVAN_WALK_EVERY_PAGE"
# Set to 0, the PDF library reads each page's content only when it is asked for.
READ_AHEAD = "OK_READ_AHEAD"

# name, file, rotations, how its text is tested, whether every planned class must find a place,
# how its page boxes are changed after the export (pdf_pages.rebox; None: as exported)
SOURCES = [
    ("millrace", "tests/accuracy/millrace.tlv", (0, 90, 180, 270), "latin", True, None),
    ("kawaguchi", "tests/accuracy/kawaguchi.tlv", (0,), "japanese", True, None),
    ("table-footnote", "examples/table-footnote.tlv", (0,), "latin", False, None),
    ("structured", "examples/structured.tlv", (0,), "latin", False, None),
    ("chapter1", "examples/chapter1.tlv", (0,), "japanese", False, None),
    ("millrace-cropped", "tests/accuracy/millrace.tlv", (0, 270), "latin", True, "crop"),
    ("millrace-offset", "tests/accuracy/millrace.tlv", (0, 90), "latin", True, "offset"),
]
BOX_CLASSES = {"crop": "crop box", "offset": "media box 10 10"}
WRITER_ORDER = ("reviewer", "pymupdf", "dicts", "poppler", "browser", "pdfjs")
ROW = "%-10s %-26s %6s %8s %7s %5s %6s"  # kind or "writer", class or writer, outcomes, total
AUTHOR_PREFIX = {"reviewer": "rv", "pymupdf": "mu", "dicts": "dc", "poppler": "pp",
                 "browser": "br", "pdfjs": "pj"}
POPPLER_KINDS = ("strikeout", "highlight", "underline", "note")
TEXT_KINDS = ("insert",) + MARKUPS
INSERT, STRUCK = ("insert",), ("strikeout", "replace")
CARET_POSITIONS = ("mid-line", "before a word", "line end", "line start", "inside a word")
FOOTNOTE_NUMBER = ("before a footnote number", "after a footnote number")
LINE_POSITIONS = ("mid-line", "line end", "over line end")
INSIDE = ("inside a word",)
RUNS = ("three words", "four words over line end")
PER_WORD = (MARKUPS, {"per_word": True}, "quads per word", RUNS)
# What each writer draws besides its plain shapes on an upright Latin page, where the comment's
# kind is one it makes: (kinds, variant, class, positions).
SHAPES = {
    "reviewer": [
        (("strikeout", "highlight"), {"order": "ccw"}, "quads counter-clockwise", ("mid-line",)),
        # The tool's quadrilaterals reach 2 pt past the word along the line, into the comma.
        (MARKUPS, {"inset": -2, "outset": 2}, "outside by punctuation", ("before punctuation",))],
    # A word list's boxes given as the quadrilaterals, and lines given last to first.
    "pymupdf": [PER_WORD, (MARKUPS, {"reverse": True}, "quads last line first", RUNS[1:])],
    "dicts": [(INSERT, {"caret": width}, "caret %g pt" % width, CARET_POSITIONS)
              for width in (6, 6.5, 8, 13, 16, 20)] + [
        (INSERT, {"rd": [7, 2, 7, 2]}, "caret 20 pt with /RD", CARET_POSITIONS),
        # Carets and markup quadrilaterals as some viewers draw them.
        (INSERT, {"caret": 8, "caret_y": "below"}, "caret below the baseline", CARET_POSITIONS),
        (INSERT, {"caret_y": "lower"}, "caret over the baseline", CARET_POSITIONS),
        (INSERT, {"caret_y": "tall"}, "caret twice line height", CARET_POSITIONS),
        (INSERT, {"caret_x": "blank"}, "caret mid-blank", ("between words",)),
        (MARKUPS, {"order": "ccw"}, "quads counter-clockwise", LINE_POSITIONS),
        (MARKUPS, {"inset": 1.5}, "quads 1.5 pt inside", LINE_POSITIONS + INSIDE),
        (MARKUPS, {"inset": -2}, "quads 2 pt outside", LINE_POSITIONS),
        (("underline",), {"band": "baseline"}, "underline baseline band", LINE_POSITIONS + INSIDE),
        (STRUCK, {"band": "x-height"}, "strike-out x-height band", LINE_POSITIONS + INSIDE),
        (MARKUPS, {"taller": 4}, "quads 4 pt taller", LINE_POSITIONS + INSIDE),
        (MARKUPS, {"line_height": 1.5}, "quads 1.5 em line height", LINE_POSITIONS + INSIDE),
        (MARKUPS, {"inset": -2}, "outside by punctuation", ("before punctuation",)),
        (MARKUPS, {"no_quads": True}, "Rect without QuadPoints", LINE_POSITIONS[:2] + RUNS[:1]),
        (MARKUPS, {"reverse": True}, "quads last line first", LINE_POSITIONS[2:] + RUNS[1:]),
        PER_WORD,
        # An icon centred on the reviewer's point is not measured: it cannot be told from an
        # icon hung from a point further up and left, which is how the other writers here draw
        # notes and what the import follows (docs/accuracy.md).
        (("note",), {"icon": "point"}, "note Rect of no size", ("on a word",)),
        # An icon hung from low on a word covers the next line first: two places, flagged.
        (("note",), {"corner": "low"}, "note corner low on a word",
         ("on a word over the next line",))] + [
        # The two halves of a replace in the other order, or the Caret grouped with the
        # strike-out.
        (("replace",), {"pairing": pairing}, klass, ("mid-line", "line end"))
        for pairing, klass in (("caret first", "Caret listed first"),
                               ("caret grouped", "Caret grouped with it"),
                               ("caret grouped first", "Caret grouped, listed first"))] + [
        # A free text with a callout line points at its word with the line's tip.
        (("freetext",), {"callout": where}, klass, ("on a word",))
        for where, klass in (("right margin", "callout to right margin"),
                             ("left margin", "callout to left margin"),
                             ("over text", "callout box over text"))] + [
        # Annotation entries a viewer may add; none of them moves the comment.
        shape for variant, klass in (({"flags": 4 | 64 | 128 | 512}, "/F ReadOnly Locked"),
                                    ({"flags": 0}, "/F 0"), ({"rotate": 90}, "/Rotate 90"))
        for shape in ((INSERT + STRUCK + ("highlight",), variant, klass, ("mid-line",)),
                     (("note",), variant, klass, ("on a word",)))],
}
SHAPES["poppler"] = SHAPES["pymupdf"]


def footnote_number_requests(kinds):
    """Carets on either side of a footnote's number. Markup over the number alone is not
    measured: it takes the footnote with it, which the scoring does not follow."""
    return position_requests([k for k in kinds if k == "insert"], FOOTNOTE_NUMBER)


def meeting_requests(writer, mode):
    """Comments that meet, on upright pages: a strike-out with a caret at its end, two carets at
    one point, and a replacement right before an anchor, a marker or an element's end. A writer
    without carets draws none of them."""
    if writer in ("poppler", "browser", "pdfjs") or mode not in ("latin", "japanese"):
        return []
    return [plan.Request("strikeout", "mid-line", klass="meet: strike-out, caret",
                         companions=("insert",)),
            plan.Request("insert", "mid-line", klass="meet: two carets", companions=("insert",)),
            plan.Request("replace", "before an anchor", klass="meet: replace before anchor")]


# What the viewer in a web browser makes, on upright pages: highlights selected over its text
# layer (position, class), with a comment or without, and text boxes typed in the margin.
TEXT_LAYER = {"text_layer": True}
BROWSER_HIGHLIGHTS = (("mid-line", "selected word"), ("three words", "selected three words"),
                      ("over line end", "selected over line end"),
                      ("paragraph end", "selected paragraph end"),
                      ("table cell", "selected in table cell"))


# Each a few times over, since every selection stands off the glyphs by its own amounts.
BROWSER_REPEAT = 4


def browser_requests(mode, source):
    """Upright pages only. Text boxes in the margin go into the one source whose paragraphs
    all have room beside them (the small examples' margins are measured for no writer)."""
    if mode == "japanese":
        return [plan.Request("highlight", p, TEXT_LAYER)
                for p in ("mid-line", "over line end")] * BROWSER_REPEAT
    if mode != "latin":
        return []
    requests = [plan.Request("highlight", p, TEXT_LAYER, klass)
                for p, klass in BROWSER_HIGHLIGHTS] + \
        [plan.Request("highlight", "mid-line", dict(TEXT_LAYER, comment=True),
                      "selected with a comment")]
    if source == "millrace":
        requests += [plan.Request("freetext", p, klass="typed text box " + p) for p in MARGINS]
    return requests * BROWSER_REPEAT


def writer_requests(writer, mode):
    """The comments a writer puts into one source, before they have targets."""
    makes = POPPLER_KINDS if writer == "poppler" else plan.KINDS
    kinds = [k for k in TEXT_KINDS if k in makes]
    free = ("on a word",) + MARGINS if "freetext" in makes else ()
    if mode in ("rotated", "boxed"):
        return position_requests(kinds, CARET_POSITIONS + ("heading", "table cell", "footnote")) + \
            footnote_number_requests(kinds) + \
            note_requests(("on a word", "left margin"), free[:1])
    if mode == "japanese":
        # No note on a word: Japanese has no blanks to end one; a free text takes the text under it.
        return position_requests(kinds, RANGE_POSITIONS) + footnote_number_requests(kinds) + \
            note_requests(("left margin",), ()) + \
            position_requests(("freetext",) if free else (), ("mid-line",),
                              klass="free text on a word")
    requests = position_requests(kinds, RANGE_POSITIONS + INSIDE) + \
        footnote_number_requests(kinds) + \
        note_requests(free_positions=free)
    for shape_kinds, variant, klass, positions in SHAPES.get(writer, ()):
        requests += position_requests([k for k in shape_kinds if k in makes], positions,
                                      variant, klass)
    return requests


# The imports run with Japanese messages, so markers carry the Japanese table's texts.
IMPORT_LANGUAGE = {"LANG": "ja_JP.UTF-8", "LC_ALL": "", "LC_MESSAGES": ""}
IMPORT_TABLE = 1041


def misplaced_label():
    """The string-table text that a misplaced comment's marker carries."""
    with open(os.path.join(TOP, "support", "message_ids.h"), encoding="utf-8") as f:
        number = re.search(r"MSG_UNCONFIRMED\s*=\s*(\d+)", f.read()).group(1)
    with open(os.path.join(TOP, "ui", "resources", "osprevan.rc"), encoding="utf-8") as f:
        table = re.search(r"^STRINGTABLE %d$(.*?)^END$" % IMPORT_TABLE, f.read(), re.M | re.S)
        return re.search(r"^\s*%s \"(.*)\"\s*$" % number, table.group(1), re.M).group(1)


class HarnessError(Exception):
    pass


def run(command, env=None, seconds=120):
    """Exit status and error output; a command that hangs is stopped and fails."""
    try:
        done = subprocess.run(command, capture_output=True, text=True, env=env, timeout=seconds)
    except subprocess.TimeoutExpired:
        return 124, "%s: no answer after %d s" % (os.path.basename(command[0]), seconds)
    return done.returncode, done.stderr


class Run:
    def __init__(self, args):
        self.tolvane = os.path.join(os.path.abspath(args.build), "bin", "tolvane")
        if not os.access(self.tolvane, os.X_OK):
            raise HarnessError("%s is missing: build first (make build)" % self.tolvane)
        self.work = args.work or tempfile.mkdtemp(prefix="osprevan-accuracy.")
        os.makedirs(self.work, exist_ok=True)
        self.env = dict(os.environ, TOLVANE_USER_DIR=os.path.join(self.work, "user"),
                        **IMPORT_LANGUAGE)
        self.writers = [w for w in WRITER_ORDER if w in args.writers]
        self.sources = [s for s in SOURCES if s[0] in args.sources]
        self.label = misplaced_label()
        self.results, self.writer_errors, self.count = [], [], 0
        self.compared, self.different = 0, []

    def export(self, source, out, rotate=()):
        code, err = run([self.tolvane, "export-pdf", source, "-o", out] + list(rotate))
        if code != 0:
            raise HarnessError("export of %s failed: %s" % (source, err.strip()))

    def measure(self):
        """Each source exported upright and turned, each writer's comments into copies of the
        PDF, one import per PDF, every comment scored from the report and the saved document."""
        for name, path, rotations, script, required, boxes in self.sources:
            source = os.path.join(TOP, path)
            paragraphs = tlv_text.read_document(source)
            upright = os.path.join(self.work, "%s.pdf" % name)
            self.export(source, upright)
            page_count = len(fitz.open(upright))
            for rotation in rotations:
                pdf = upright
                if rotation:
                    pdf = os.path.join(self.work, "%s-%d.pdf" % (name, rotation))
                    self.export(source, pdf, ["--rotate", "1-%d=%d" % (page_count, rotation)])
                if boxes:
                    exported, pdf = pdf, pdf[:-len(".pdf")] + "-%s.pdf" % boxes
                    try:
                        pdf_pages.rebox(exported, pdf, boxes)
                    except (ValueError, RuntimeError) as e:
                        raise HarnessError("page boxes of %s: %s" % (exported, e))
                found = targets.find_targets(paragraphs, pdf_pages.read_pages(pdf))
                mode = "boxed" if boxes else "rotated" if rotation else script
                # Every comment on a turned page, a Japanese page or changed boxes counts there.
                klass = "page %d" % rotation if rotation else \
                    "Japanese" if mode == "japanese" else None
                if boxes:
                    klass = BOX_CLASSES[boxes] + (", page %d" % rotation if rotation else "")
                for writer in self.writers:
                    self.measure_writer(name, source, pdf, rotation, mode, required, writer,
                                        found, klass)

    def measure_writer(self, name, source, pdf, rotation, mode, required, writer, found, klass):
        def make(request, target):
            self.count += 1
            comment = plan.Comment("%s-%d" % (AUTHOR_PREFIX[writer], self.count), writer, name,
                                   rotation, request, klass or request.klass, target)
            comment.text = ("挿入" if mode == "japanese" else "new") + str(self.count)
            comment.contents = "note %d" % self.count
            return comment

        try:
            requests = browser_requests(mode, name) if writer in ("browser", "pdfjs") else \
                writer_requests(writer, mode)
            comments = plan.allocate(requests, found, make, required)
            # In PDFs of their own, so that they take no target from the other classes.
            meetings = plan.allocate(meeting_requests(writer, mode), found, make, required)
            first = 1 + max((c.batch for c in comments), default=-1)
            for comment in meetings:
                comment.batch += first
            comments += meetings
        except plan.PlanError as e:
            raise HarnessError("%s, %s at %d: %s" % (writer, name, rotation, e))
        for batch in sorted({c.batch for c in comments}):
            stem = os.path.join(self.work, "%s-%d-%s-%d" % (name, rotation, writer, batch))
            self.import_batch(source, pdf, stem, writer, [c for c in comments if c.batch == batch])

    def import_batch(self, source, pdf, stem, writer, comments):
        reviewed, document, out = stem + ".pdf", stem + ".tlv", stem + ".out.tlv"
        try:
            writers.WRITERS[writer](pdf, reviewed, comments, os.path.join(TOP, "tools"))
        except Exception as e:  # any failure of a writer's library is the harness's
            if os.environ.get("ACCURACY_TRACE"):
                raise
            raise HarnessError("writer %s failed on %s: %s" % (writer, reviewed, e))
        written = shapes.read_written(reviewed)
        problems = {c.author: shapes.check(c, written) for c in comments}
        self.writer_errors += [(c, problems[c.author]) for c in comments if problems[c.author]]
        shutil.copyfile(source, document)
        code, err = run([self.tolvane, "import", document, reviewed, "-o", out], self.env)
        report = stem + ".report.json" if code == 0 else None
        if code == 0:
            self.compare_every_page(document, reviewed, out, report)
        for result in scoring.score_batch(
                [c for c in comments if not problems[c.author]], source, report,
                out if code == 0 else None, self.label,
                [c for c in comments if problems[c.author]]):
            if code != 0:
                result.why = "the import did not run (%s); %s" % (
                    " ".join(err.split())[-200:], result.why)
            self.results.append(result)


    def compare_every_page(self, document, reviewed, out, report):
        """Imports the PDF again walking every page, reading none ahead; notes the PDF when the
        report or the saved document differ. The first import's report is put back where
        scoring reads it."""
        with open(report, "rb") as f:
            planned_report = f.read()
        full_out = out[:-len(".out.tlv")] + ".every-page.out.tlv"
        code, err = run([self.tolvane, "import", document, reviewed, "-o", full_out],
                        dict(self.env, **{WALK_EVERY_PAGE: "1", READ_AHEAD: "0"}))
        self.compared += 1
        if code != 0:
            self.different.append("%s: the import walking every page failed: %s" % (
                reviewed, " ".join(err.split())[-200:]))
            return
        with open(report, "rb") as f:
            full_report = f.read()
        differing = [what for what, same in (
            ("report", planned_report == full_report),
            ("saved document", files_equal(out, full_out))) if not same]
        if differing:
            self.different.append("%s: %s differ" % (reviewed, " and ".join(differing)))
            os.replace(report, report[:-len(".report.json")] + ".every-page.report.json")
            with open(report, "wb") as f:
                f.write(planned_report)


def files_equal(first, second):
    with open(first, "rb") as a, open(second, "rb") as b:
        return a.read() == b.read()


def print_both_ways(compared, different):
    print("both ways: %d imports, %d different" % (compared, len(different)))
    for line in different:
        print("  " + line)


def _excerpt(paragraphs, unique, begin, end, width=28):
    paragraph = paragraphs.get(unique)
    if paragraph is None:
        return "¶%d (no such paragraph)" % unique
    text = paragraph.text.replace(tlv_text.ITEM_TEXT, "•")
    if begin is None or begin < 0:
        return "¶%d %r" % (unique, text[:2 * width] + ("…" if len(text) > 2 * width else ""))
    begin, end = min(begin, len(text)), min(max(begin, end), len(text))
    marked = text[:begin] + ("|" if begin == end else "[" + text[begin:end] + "]") + text[end:]
    left, right = max(0, begin - width), min(len(marked), end + 2 + width)
    return "¶%d %d-%d: %s%s%s" % (unique, begin, end, "…" if left else "", marked[left:right],
                                  "…" if right < len(marked) else "")


def print_results(results, writer_errors, sources):
    def row(kind, klass, outcomes):
        print(ROW % (kind, klass, *[outcomes.count(o) for o in scoring.OUTCOMES], len(outcomes)))

    rows = {}
    for r in results:
        c = r.comment
        rows.setdefault((plan.KINDS.index(c.kind), c.klass, c.kind), []).append(r.outcome)
    header = ROW % ("kind", "class", *scoring.OUTCOMES, "total")
    print(header + "\n" + "-" * len(header))
    for key in sorted(rows):
        row(key[2], key[1], rows[key])
    print("")
    for writer in WRITER_ORDER:
        mine = [r.outcome for r in results if r.comment.writer == writer]
        if mine:
            row("writer", writer, mine)
    documents = {name: tlv_text.read_document(os.path.join(TOP, path))
                 for name, path, *_ in sources}
    for outcome in ("silent", "lost", "flagged"):
        listed = [r for r in results if r.outcome == outcome]
        if listed:
            print("\n%s (%d):" % (outcome, len(listed)))
        for r in listed:
            c, paragraphs = r.comment, documents[r.comment.source]
            print("  %s %s / %s, %s, %s%s, %s" % (c.author, c.kind, c.klass, c.writer, c.source,
                                                   c.turned(), c.position))
            print("      meant:  %s" % _excerpt(paragraphs, *c.intended()))
            if r.landed:
                print("      landed: %s" % (_excerpt(paragraphs, *r.landed)
                                            if isinstance(r.landed, tuple) else r.landed))
            if r.why:
                print("      why:    %s" % r.why)
    if writer_errors:
        print("\nwriter errors, not scored (%d):" % len(writer_errors))
    for comment, problem in writer_errors:
        print("  %s %s/%s by %s in %s%s: %s (%s)" % (
            comment.author, comment.kind, comment.position, comment.writer, comment.source,
            comment.turned(), problem, comment.target.describe()))
    outcomes = [r.outcome for r in results]
    print("\nexact %d/%d, flagged %d, silent %d, lost %d" % (
        outcomes.count("exact"), len(results), outcomes.count("flagged"),
        outcomes.count("silent"), outcomes.count("lost")))


def main(argv):
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--build", default=os.path.join(TOP, "build"))
    parser.add_argument("--work", help="keep the PDFs, documents and reports here")
    parser.add_argument("--writers", default=",".join(WRITER_ORDER), type=lambda v: v.split(","))
    parser.add_argument("--sources", default=",".join(s[0] for s in SOURCES),
                        type=lambda v: v.split(","))
    args = parser.parse_args(argv[1:])
    if "poppler" in args.writers and not writers.poppler_available():
        print("accuracy: Poppler's GLib binding is missing (gir1.2-poppler-0.18)",
              file=sys.stderr)
        return 1
    if "pdfjs" in args.writers and not pdfjs_writer.available():
        print("accuracy: node or %s is missing (scripts/install-deps.sh)" % pdfjs_writer.CHROMIUM,
              file=sys.stderr)
        return 1
    try:
        measured = Run(args)
        measured.measure()
    except HarnessError as e:
        print("accuracy: %s" % e, file=sys.stderr)
        return 1
    print_results(measured.results, measured.writer_errors, measured.sources)
    print_both_ways(measured.compared, measured.different)
    if not args.work:
        shutil.rmtree(measured.work, ignore_errors=True)
    status = scoring.exit_status(measured.results, measured.writer_errors)
    return status or (1 if measured.different else 0)


if __name__ == "__main__":
    sys.exit(main(sys.argv))
