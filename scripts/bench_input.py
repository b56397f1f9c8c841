#!/usr/bin/python3
"""Makes the inputs of the import benchmark (scripts/bench.sh).

  bench_input.py document PAGES OUT.tlv   a document of about PAGES exported pages: headings,
                                          body paragraphs, now and then a table and a footnote
  bench_input.py review IN.pdf OUT.json [PAGES]
                                          a review description for tools/reviewer/review.py:
                                          ten comments a page, one of each kind, some with
                                          replies and states; PAGES chooses the pages with
                                          comments: "all" (the default), "every-N" (the
                                          first page and every Nth after it), "first", "last"

Every paragraph starts with a word of its own ("Q17x"), so each comment finds its text on one
page only; the description names that page, which keeps the reviewer tool from searching the
whole document for every comment.
"""
import json
import random
import re
import sys

WORDS = ("review comment source place writer reader change track accept reject page line "
         "text mark note paragraph table cell footnote heading chapter section figure index "
         "draft final version author editor proof layout column margin number order list "
         "entry value setting option default limit measure figure report").split()

# Paragraphs (counting those of tables and footnotes) that fill an exported page, measured.
PARAGRAPHS_PER_PAGE = 19.6


def words(rng, count):
    return " ".join(rng.choice(WORDS) for _ in range(count))


def token(number):
    return "Q%dx" % number


class Document:
    def __init__(self):
        self.unique = 0
        self.tables = []
        self.footnotes = []

    def paragraph(self, text, fmt="Body", extra="", autonumber=None):
        self.unique += 1
        number = ' autonumber="%s"' % autonumber if autonumber else ""
        return '<p unique="%d" format="%s"%s>%s %s%s</p>' % (
            self.unique, fmt, number, token(self.unique), text, extra)

    def table(self, rng):
        key = len(self.tables) + 1
        rows = ['      <title>\n        %s\n      </title>' %
                self.paragraph(words(rng, 3), "TableTitle")]
        for row in range(4):
            kind = "heading" if row == 0 else "body"
            cells = "".join('\n        <cell key="c%d_%d_%d">%s</cell>' % (
                key, row, col, self.paragraph(words(rng, 4), "CellBody")) for col in range(3))
            rows.append('      <row kind="%s">%s\n      </row>' % (kind, cells))
        self.tables.append('  <table key="t%d" title="yes">\n%s\n  </table>' %
                           (key, "\n".join(rows)))
        return '<table-anchor ref="t%d"/>' % key

    def footnote(self, rng):
        key = len(self.footnotes) + 1
        self.footnotes.append('  <footnote key="fn%d" number="%d">\n    %s\n  </footnote>' % (
            key, key, self.paragraph(words(rng, 12), "Footnote")))
        return '<footnote-anchor ref="fn%d"/>' % key


def document(pages):
    rng = random.Random(pages)
    doc = Document()
    body = []
    chapter = 0
    while doc.unique < pages * PARAGRAPHS_PER_PAGE:
        chapter += 1
        body.append(doc.paragraph(words(rng, 4), "Heading1", autonumber="%d&#9;" % chapter))
        for number in range(12):
            extra = ""
            if number == 4 and chapter % 2 == 0:
                extra = doc.table(rng)
            elif number == 8:
                extra = doc.footnote(rng)
            body.append(doc.paragraph(words(rng, rng.randint(30, 60)) + ".", extra=extra))
    return "\n".join([
        '<?xml version="1.0" encoding="UTF-8"?>',
        '<document version="1">',
        '  <condition name="TL8_TRACK_CHANGES_ADDED" shown="yes"/>',
        '  <condition name="TL8_TRACK_CHANGES_DELETED" shown="yes"/>',
        '  <marker-type name="Comment"/>',
        '  <page name="1" kind="body"/>',
        '  <flow name="A" main="yes" page="1">',
        "\n".join("    " + p for p in body),
        "  </flow>",
        "\n".join(doc.tables),
        "\n".join(doc.footnotes),
        "</document>",
        "",
    ])


AUTHORS = ("Ana Reviewer", "Ben Checker", "Chie Editor")


def comment(kind, page, find, serial):
    item = {"kind": kind, "find": find, "page": page, "author": AUTHORS[serial % 3],
            "modified": "D:202601%02d1200%02dZ" % (1 + serial % 28, serial % 60)}
    if kind in ("insert", "replace"):
        item["text"] = "new words %d" % serial
    if kind in ("note", "freetext", "strikeout", "underline") or (
            kind == "highlight" and serial % 2 == 0):
        item["contents"] = "Comment %d on this text." % serial
    if serial % 3 == 0:
        item["replies"] = [{"author": AUTHORS[(serial + 1) % 3], "contents": "Agreed.",
                            "modified": item["modified"]}]
    if serial % 4 == 1:
        item["states"] = [{"model": "Review", "state": "Accepted",
                           "author": AUTHORS[(serial + 2) % 3]}]
    return item


KINDS = ("insert", "strikeout", "replace", "highlight", "highlight", "underline", "squiggly",
         "note", "freetext", "deletion")


def chosen_pages(selection, count):
    """The page numbers (from 0) that the selection names in a PDF of `count` pages."""
    if selection == "all":
        return set(range(count))
    if selection == "first":
        return {0} if count else set()
    if selection == "last":
        return {count - 1} if count else set()
    every = re.fullmatch(r"every-([1-9]\d*)", selection)
    if every:
        return set(range(0, count, int(every.group(1))))
    raise ValueError("unknown page selection %r" % selection)


def review(pdf, selection="all"):
    import fitz  # only this step reads the PDF

    comments = []
    with fitz.open(pdf) as doc:
        pages = chosen_pages(selection, len(doc))
        for number, page in enumerate(doc):
            if number not in pages:
                continue
            text = " ".join(page.get_text("text").split())
            # A paragraph's token and the two words after it, when all three are on this page.
            finds = re.findall(r"\bQ\d+x \w+ \w+", text)
            for slot, find in enumerate(finds[:len(KINDS)]):
                comments.append(comment(KINDS[slot], number, find, len(comments)))
    return {"comments": comments}


def main(argv):
    if len(argv) == 4 and argv[1] == "document":
        with open(argv[3], "w", encoding="utf-8") as f:
            f.write(document(int(argv[2])))
    elif len(argv) in (4, 5) and argv[1] == "review":
        described = review(argv[2], argv[4] if len(argv) == 5 else "all")
        with open(argv[3], "w", encoding="utf-8") as f:
            json.dump(described, f, indent=0)
    else:
        sys.stderr.write(__doc__)
        return 2
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
