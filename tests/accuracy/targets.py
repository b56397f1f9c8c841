"""Places in a source document that a comment can be meant for, and their glyphs in its PDF.

A target is a text of one paragraph: its paragraph's unique number and offsets come from the
document file, its glyphs from PyMuPDF's reading of the page. The two are tied through a
context, the target with as few neighbouring words as make it occur once in the document and
once in the PDF (compared as the reviewer tool's search compares: ASCII letters in either case,
a run of blanks as one). Targets next to an item (an anchor, a marker, an element mark) are
left out: there the document has several offsets for one place on the page.
"""
import re

from pdf_glyphs import BLANKS
from tlv_text import DELETED, ITEM_TEXT

LATIN_WORD = re.compile(r"[A-Za-z][A-Za-z-]*[A-Za-z]")
TOKEN = re.compile(r"[^\s\ufffc]+")
CJK_RUN = re.compile(r"[\u3040-\u309f\u30a0-\u30ff\u3400-\u9fff\u3005\u30fc]+")
CJK_LENGTH = 3
LONGEST_LAST = 12  # a last token longer than this (CJK without blanks) is cut to its end


def canonical(text):
    out = []
    for c in text:
        c = " " if c in BLANKS else (c.lower() if "A" <= c <= "Z" else c)
        if not (c == " " and out and out[-1] == " "):
            out.append(c)
    return "".join(out)


def count_in(haystack, needle):
    count, at = 0, haystack.find(needle)
    while at >= 0:
        count += 1
        at = haystack.find(needle, at + 1)
    return count


class Target:
    def __init__(self, paragraph, begin, end, shape):
        self.paragraph = paragraph  # tlv_text.Paragraph
        self.begin, self.end = begin, end  # offsets in the paragraph
        # word, last (to the paragraph end), pair (two words over a line end), run (two words
        # each side of a line end), phrase (three words)
        self.shape = shape
        self.page = None  # pdf_glyphs.Page
        self.first = self.last = 0  # glyph indexes on the page, both included

    @property
    def text(self):
        return self.paragraph.text[self.begin:self.end]

    @property
    def glyphs(self):
        return self.page.glyphs[self.first:self.last + 1]

    @property
    def cjk(self):
        return bool(CJK_RUN.search(self.text))

    def line_start(self):
        glyphs = self.page.glyphs
        return self.first == 0 or glyphs[self.first - 1].line != glyphs[self.first].line

    def line_end(self):
        glyphs, line = self.page.glyphs, self.page.glyphs[self.last].line
        after = self.last + 1
        while after < len(glyphs) and glyphs[after].line == line:
            if not glyphs[after].blank:
                return False
            after += 1
        return True

    def crosses_line(self):
        return self.glyphs[0].line != self.glyphs[-1].line

    @property
    def wrapped_start(self):
        """First on a line that continues the paragraph from the line before."""
        return self.begin > 0 and self.line_start()

    @property
    def wrapped_end(self):
        """Last on a line that the paragraph continues after."""
        return self.paragraph.text[self.end:].strip(BLANKS) != "" and self.line_end()

    @property
    def mid_line(self):
        return not self.line_start() and not self.line_end()

    def describe(self):
        return "%r in paragraph %d at %d-%d, page %d" % (
            self.text, self.paragraph.unique, self.begin, self.end, self.page.number + 1)


def _spans(paragraph):
    """(begin, end, shape) of the texts of a paragraph that may become targets."""
    text = paragraph.text
    for m in LATIN_WORD.finditer(text):
        yield m.start(), m.end(), "word"
    tokens = list(TOKEN.finditer(text))
    if tokens and tokens[-1].end() == len(text):
        last = tokens[-1]
        yield max(last.start(), last.end() - LONGEST_LAST), last.end(), "last"
    for run in CJK_RUN.finditer(text):
        for at in range(run.start(), run.end() - CJK_LENGTH + 1):
            yield at, at + CJK_LENGTH, "word"


def _next_to_item(text, begin, end):
    return any(0 <= i < len(text) and text[i] == ITEM_TEXT for i in (begin - 1, end)) or \
        ITEM_TEXT in text[begin:end]


def _by_deleted_text(paragraph, begin, end):
    around = paragraph.positions[max(0, begin - 1):end + 1]
    return any(DELETED in p.conditions for p in around)


class _Texts:
    """The document's and the PDF's texts, canonical, to count a context in."""

    def __init__(self, paragraphs, pages):
        self.doc = canonical(ITEM_TEXT.join(p.text for p in paragraphs.values()))
        self.pdf = canonical(ITEM_TEXT.join(page.text for page in pages))

    def unique(self, text):
        needle = canonical(text)
        return count_in(self.doc, needle) == 1 and count_in(self.pdf, needle) == 1


def _context(paragraph, begin, end, texts):
    """The shortest run of whole tokens around [begin, end) that is unique, as (begin, end);
    None when the whole paragraph is not."""
    text = paragraph.text
    starts = [0] + [m.start() for m in TOKEN.finditer(text)]
    ends = [m.end() for m in TOKEN.finditer(text)] + [len(text)]
    b, e = begin, end
    for step in range(64):
        if ITEM_TEXT in text[b:e]:
            return None
        if texts.unique(text[b:e]):
            return b, e
        if b == 0 and e == len(text):
            return None
        # Alternately one more token to the left and to the right, where there is one.
        if (step % 2 == 0 and b > 0) or e == len(text):
            b = max(s for s in starts if s < b)
        else:
            e = min(x for x in ends if x > e)
    return None


def _locate(target, context, pages):
    b, e = context
    text = target.paragraph.text[b:e]
    for page in pages:
        at = page.text.find(text)
        if at >= 0:
            first = at + target.begin - b
            target.page, target.first = page, first
            target.last = first + target.end - target.begin - 1
            return True
    return False  # the PDF has the text only in another form (case, blanks)


def find_targets(paragraphs, pages):
    """Every target of the document, in document order."""
    texts = _Texts(paragraphs, pages)
    targets = []
    for paragraph in paragraphs.values():
        found = []
        for begin, end, shape in _spans(paragraph):
            if _next_to_item(paragraph.text, begin, end) or \
                    _by_deleted_text(paragraph, begin, end):
                continue
            context = _context(paragraph, begin, end, texts)
            target = Target(paragraph, begin, end, shape)
            if context and _locate(target, context, pages):
                if target.cjk and target.crosses_line():
                    target.shape = "pair"
                found.append(target)
        targets += found + _runs(found, pages, texts)
    return targets


# Runs of words with one blank between each: (shape, number of words, the index of the word the
# line ends after, or None for words on one line).
RUNS = (("pair", 2, 0), ("run", 4, 1), ("phrase", 3, None))


def _runs(found, pages, texts):
    """Runs of words of a paragraph: two with a line end between them, two each side of a line
    end, three on one line."""
    words = sorted((t for t in found if t.shape == "word" and not t.cjk), key=lambda t: t.begin)
    runs = []
    for shape, count, wrap in RUNS:
        for at in range(len(words) - count + 1):
            group = words[at:at + count]
            if any(a.paragraph.text[a.end:b.begin] != " " for a, b in zip(group, group[1:])):
                continue
            if wrap is None:
                if any(w.line_end() for w in group[:-1]):
                    continue
            elif not (group[wrap].wrapped_end and group[wrap + 1].wrapped_start) or \
                    any(w.line_end() for i, w in enumerate(group[:-1]) if i != wrap):
                continue
            run = Target(group[0].paragraph, group[0].begin, group[-1].end, shape)
            context = _context(run.paragraph, run.begin, run.end, texts)
            if context and _locate(run, context, pages):
                runs.append(run)
    return runs
