"""Places in a source document that a comment can be meant for, and their glyphs in its PDF,
tied through a context: the target with as few neighbouring words as make it occur once in the
document and once in the PDF, compared as the reviewer tool's search compares (ASCII letters in
either case, a run of blanks as one)."""
import re

from pdf_pages import BLANKS
from tlv_text import DELETED, ITEM_TEXT

LATIN_WORD = re.compile(r"[A-Za-z][A-Za-z-]*[A-Za-z]")
TOKEN = re.compile(r"[^\s\ufffc]+")
CJK_RUN = re.compile(r"[\u3040-\u309f\u30a0-\u30ff\u3400-\u9fff\u3005\u30fc]+")
CJK_LENGTH = 3
LONGEST_LAST = 12  # a last token longer than this (CJK without blanks) is cut to its end
_BLANK_RUN = re.compile("[%s]+" % BLANKS)
_LOWER = str.maketrans("ABCDEFGHIJKLMNOPQRSTUVWXYZ", "abcdefghijklmnopqrstuvwxyz")
# Runs of words with one blank between each: (shape, number of words, the index of the word the
# line ends after, or None for words on one line).
RUNS = (("pair", 2, 0), ("run", 4, 1), ("phrase", 3, None))


def canonical(text):
    return _BLANK_RUN.sub(" ", text).translate(_LOWER)


class Target:
    def __init__(self, paragraph, begin, end, shape):
        self.paragraph = paragraph  # tlv_text.Paragraph
        self.begin, self.end = begin, end  # offsets in the paragraph
        # word, part (letters inside a word), number (a footnote's number), last (to the
        # paragraph end), pair (two words over a line end), run (two words each side of a line
        # end), phrase (three words)
        self.shape = shape
        self.page = None  # pdf_pages.read_pages: number, glyphs, text
        self.first = self.last = 0  # glyph indexes on the page, both included

    @property
    def text(self):
        return self.paragraph.text[self.begin:self.end]

    @property
    def glyphs(self):
        return self.page.glyphs[self.first:self.last + 1]

    def line_start(self):
        glyphs = self.page.glyphs
        return self.first == 0 or glyphs[self.first - 1].line != glyphs[self.first].line

    def line_end(self):
        glyphs, after = self.page.glyphs, self.last + 1
        while after < len(glyphs) and glyphs[after].line == glyphs[self.last].line:
            if not glyphs[after].blank:
                return False
            after += 1
        return True

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
        # Letters inside a word, as a reviewer marks to mend a spelling: a letter of the word
        # stays on either side.
        if m.end() - m.start() >= 5 and "-" not in m.group():
            yield m.start() + 1, m.start() + min(4, m.end() - m.start() - 2), "part"
    # A footnote's number, where the PDF shows it on the line.
    for at, position in enumerate(paragraph.positions):
        if position.item == "footnote-anchor" and position.shows:
            yield at, at + 1, "number"
    tokens = list(TOKEN.finditer(text))
    if tokens and tokens[-1].end() == len(text):
        yield max(tokens[-1].start(), len(text) - LONGEST_LAST), len(text), "last"
    # What stands right before an item that takes no room on the page (a table or frame anchor,
    # a marker, an element's end), such as a sentence's or the paragraph's last full stop.
    for m in TOKEN.finditer(text):
        if m.end() < len(text) and text[m.end()] == ITEM_TEXT:
            yield max(m.start(), m.end() - CJK_LENGTH if CJK_RUN.search(m.group()) else 0), \
                m.end(), "before item"
    for run in CJK_RUN.finditer(text):
        for at in range(run.start(), run.end() - CJK_LENGTH + 1):
            yield at, at + CJK_LENGTH, "word"


def _left_out(paragraph, begin, end, shape):
    """Next to an item, where the document has several offsets for one place on the page, or in
    or beside text already deleted, where the host takes no insertion. A target before an item
    has it only on its right, and no footnote's number in it, since markup over the number
    takes the footnote with it."""
    text = paragraph.text
    after = end if shape == "before item" else end + 1
    return ITEM_TEXT in text[max(0, begin - 1):after] or \
        (shape == "before item" and any(p.item for p in paragraph.positions[begin:end])) or \
        any(DELETED in p.conditions for p in paragraph.positions[max(0, begin - 1):end + 1])


def _place(target, texts, pages):
    """Finds the target's glyphs through the shortest run of whole tokens around it that occurs
    once in each of the texts (the document's and the PDF's, canonical); whether it did."""
    text = target.paragraph.text
    starts = [0] + [m.start() for m in TOKEN.finditer(text)]
    ends = [m.end() for m in TOKEN.finditer(text)] + [len(text)]
    b, e = target.begin, target.end
    for step in range(64):
        if ITEM_TEXT in text[b:e]:
            return False
        needle = re.compile("(?=%s)" % re.escape(canonical(text[b:e])))
        if all(len(needle.findall(whole)) == 1 for whole in texts):
            break
        if b == 0 and e == len(text):
            return False
        # Alternately one more token to the left and to the right, where there is one.
        if (step % 2 == 0 and b > 0) or e == len(text):
            b = max(s for s in starts if s < b)
        else:
            e = min(x for x in ends if x > e)
    else:
        return False
    for page in pages:
        at = page.text.find(text[b:e])
        if at >= 0:
            target.page, target.first = page, at + target.begin - b
            target.last = target.first + target.end - target.begin - 1
            return True
    return False  # the PDF has the text only in another form (case, blanks)


def find_targets(paragraphs, pages):
    """Every target of the document, in document order."""
    texts = [canonical(ITEM_TEXT.join(p.text for p in paragraphs.values())),
             canonical(ITEM_TEXT.join(page.text for page in pages))]
    targets = []
    for paragraph in paragraphs.values():
        found = []
        for begin, end, shape in _spans(paragraph):
            target = Target(paragraph, begin, end, shape)
            if not _left_out(paragraph, begin, end, shape) and _place(target, texts, pages):
                glyphs = target.glyphs
                if CJK_RUN.search(target.text) and glyphs[0].line != glyphs[-1].line:
                    target.shape = "pair"
                found.append(target)
        targets += found + _runs(found, pages, texts)
    return targets


def _runs(found, pages, texts):
    """Runs of words of a paragraph: two with a line end between them, two each side of a line
    end, three on one line."""
    words = sorted((t for t in found if t.shape == "word" and not CJK_RUN.search(t.text)),
                   key=lambda t: t.begin)
    runs = []
    for shape, count, wrap in RUNS:
        for at in range(len(words) - count + 1):
            group = words[at:at + count]
            if any(a.paragraph.text[a.end:b.begin] != " " for a, b in zip(group, group[1:])):
                continue
            if any(w.line_end() for i, w in enumerate(group[:-1]) if i != wrap) or \
                    (wrap is not None and not (group[wrap].wrapped_end and
                                               group[wrap + 1].wrapped_start)):
                continue
            run = Target(group[0].paragraph, group[0].begin, group[-1].end, shape)
            if _place(run, texts, pages):
                runs.append(run)
    return runs
