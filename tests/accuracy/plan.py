"""Which comments each writer puts into each source document, and where they are meant to go:
each comment a kind at a position with the class it counts in, given a target, spread over as
few PDFs as their targets allow."""
import operator

GAP = 4
MAX_BATCHES = 12

KINDS = ("insert", "strikeout", "replace", "highlight", "underline", "note", "freetext")
MARKUPS = ("strikeout", "replace", "highlight", "underline")
PLACEMENT = {"insert": "insertion", "strikeout": "deletion", "replace": "replacement",
             "highlight": "highlight", "underline": "underline", "note": "note",
             "freetext": "note"}
SUBTYPES = {"insert": "Caret", "strikeout": "StrikeOut", "replace": "StrikeOut",
            "highlight": "Highlight", "underline": "Underline", "note": "Text",
            "freetext": "FreeText"}  # each kind's annotation


def _blank_around(t):
    text = t.paragraph.text
    return (t.begin == 0 or text[t.begin - 1] == " ") and \
        (t.end == len(text) or text[t.end] == " ")


def _between_words(t):
    """A word with one blank after it and another word right after the blank."""
    text = t.paragraph.text
    return t.mid_line and t.end + 1 < len(text) and text[t.end] == " " and \
        text[t.end + 1].isalpha()


def _before_punctuation(t):
    """A word after a blank and before a comma, semicolon, colon or full stop on its line."""
    text = t.paragraph.text
    return 0 < t.begin and text[t.begin - 1] == " " and t.end < len(text) and \
        text[t.end] in ",;:." and not t.line_start()


def _over_next_line(t):
    """A word with blanks around it inside a line, over a letter of the page's next line that a
    note's icon hung from low on the word (shapes.note_point) covers first."""
    if not (t.mid_line and _blank_around(t)):
        return False
    inked = [g for g in t.glyphs if not g.blank]
    left, right = min(g.x0 for g in inked), max(g.x1 for g in inked)
    corner, line, bottom = left + (right - left) / 3, inked[-1].line, min(g.y0 for g in inked)
    return any(g.line == line + 1 and not g.blank and g.y1 > bottom - 6 and
               corner + 3 <= (g.x0 + g.x1) / 2 <= corner + 16 for g in t.page.glyphs)


_mid_line = operator.attrgetter("mid_line")
# What each position asks of a target: its paragraph's place, its shape and a further test.
POSITIONS = {
    **{p: ("body", "word", _mid_line) for p in ("mid-line", "before a word", "left margin",
                                                 "right margin")},
    **{p: (p, "word", None) for p in ("heading", "table title", "table cell", "footnote")},
    "line end": ("body", "word", operator.attrgetter("wrapped_end")),
    "line start": ("body", "word", operator.attrgetter("wrapped_start")),
    "paragraph start": ("body", "word", lambda t: t.begin == 0),
    "paragraph end": ("body", "last", None),
    "over line end": ("body", "pair", None),
    # Two words before a line end and two after it; three words inside one line.
    "four words over line end": ("body", "run", None),
    "three words": ("body", "phrase", _mid_line),
    # A caret in the blank between two words (see Comment.accepted).
    "between words": ("body", "word", _between_words),
    "before punctuation": ("body", "word", _before_punctuation),
    # A caret on either side of a footnote's number, and markup over the number alone.
    "before a footnote number": ("body", "number", None),
    "after a footnote number": ("body", "number", None),
    # Letters inside a word; a caret after them stands between two letters.
    "inside a word": ("body", "part", _mid_line),
    # A word with a blank after it, so that where the word ends is beyond doubt.
    "on a word": ("body", "word", lambda t: t.mid_line and _blank_around(t)),
    "on a word over the next line": ("body", "word", _over_next_line),
    # What stands right before an anchor, a marker or an element's end.
    "before an anchor": ("body", "before item", None),
}
# Items that take no room on the page: new text meant for their place goes after them. Not a
# footnote's anchor, whose number the page shows, nor an element's end, whose text it closes.
ROOMLESS = ("table-anchor", "frame-anchor", "marker", "element-begin")
CARET_BEFORE = ("before a word", "line start", "paragraph start", "before a footnote number")
# elsewhere after the target
MARGINS = ("left margin", "right margin")
RANGE_POSITIONS = ("mid-line", "before a word", "line end", "line start", "paragraph start",
                   "paragraph end", "heading", "table title", "table cell", "footnote",
                   "over line end")


class Request:
    """A comment to write before it has a target, with how the writer draws it and its class."""

    def __init__(self, kind, position, variant=None, klass=None, companions=()):
        self.kind, self.position = kind, position
        self.variant = variant or {}
        self.klass = klass or position
        # Kinds of further comments drawn on the same target, each by an author of its own, in
        # the class of this one: comments that meet.
        self.companions = companions


def position_requests(kinds, positions, variant=None, klass=None):
    """Each kind at each position; a caret has no place over a line end, and a markup before a
    word (or a footnote's number) is the same as one on it."""
    return [Request(k, p, variant, klass) for k in kinds for p in positions
            if (p != "over line end" if k == "insert" else
                p not in ("before a word", "before a footnote number"))]


def note_requests(positions=("on a word",) + MARGINS, free_positions=("on a word",) + MARGINS):
    return [Request("note", p, klass="note " + p) for p in positions] + \
        [Request("freetext", p, klass="free text " + p) for p in free_positions]


class Comment:
    def __init__(self, author, writer, source, rotation, request, klass, target):
        self.author = author  # the comment's /T, unique over the whole run
        self.writer, self.source, self.rotation = writer, source, rotation
        self.kind, self.position, self.variant = request.kind, request.position, request.variant
        self.klass, self.target, self.batch = klass, target, 0
        self.at = "before" if request.position in CARET_BEFORE else "after"
        self.text = self.contents = ""  # the inserted text, and a note's

    @property
    def margin(self):
        return self.position in MARGINS

    @property
    def side(self):
        return self.position.split()[0]

    def intended(self):
        """(paragraph, begin, end) as the report gives them for an exact placement; begin and
        end are None for a comment in the margin, whose place in the paragraph is open."""
        t = self.target
        if self.margin:
            return t.paragraph.unique, None, None
        if self.kind == "insert":
            at = t.begin if self.at == "before" else t.end
            return t.paragraph.unique, at, at
        if self.kind == "note" or self.variant.get("callout"):
            # A note's marker follows its word, as does a free text's that points at it.
            return t.paragraph.unique, t.end, t.end
        return t.paragraph.unique, t.begin, t.end

    def text_offset(self, end):
        """Where the new text of an insertion or replacement ending at end is meant to go: after
        the items there that take no room on the page."""
        positions = self.target.paragraph.positions
        while self.kind in ("insert", "replace") and end < len(positions) and \
                positions[end].item in ROOMLESS:
            end += 1
        return end

    def accepted(self):
        """Every place that counts as exact, the intended one first. A caret drawn in the middle
        of the blank between two words means "between these words": the blank's either side is
        as much the reviewer's place as the other."""
        places = [self.intended()]
        if self.kind == "insert" and self.variant.get("caret_x") == "blank":
            unique, at, _ = places[0]
            places.append((unique, at + 1, at + 1))
        return places

    def turned(self):
        return " at %d" % self.rotation if self.rotation else ""


class _Batch:
    """The targets of one PDF: at least GAP characters apart, and one in the margin alone in its
    paragraph, since its place there is the import's choice."""

    def __init__(self):
        self.used = {}  # paragraph unique -> [(begin, end)]
        self.exclusive = set()  # paragraphs that hold a comment in the margin

    def take(self, target, margin):
        """Adds the target when it fits in the batch; whether it did."""
        unique = target.paragraph.unique
        if unique in self.exclusive or (margin and unique in self.used) or \
                any(target.begin < e + GAP and b < target.end + GAP
                    for b, e in self.used.get(unique, [])):
            return False
        self.used.setdefault(unique, []).append((target.begin, target.end))
        if margin:
            self.exclusive.add(unique)
        return True


class PlanError(Exception):
    pass


def allocate(requests, targets, make_comment, required):
    """Gives each request a target, in as few batches as they fit in. Scarce positions go first so
    that common ones do not take their few targets. A request without a target, or without room in
    the batches, is an error when required, else left out (a small example document has few
    targets, and is given at most two PDFs for each writer)."""
    fitting = {}
    for request in requests:
        place, shape, test = POSITIONS[request.position]
        # Quadrilaterals outside the glyphs reach into the blanks around the word.
        outside = request.variant.get("inset", 0) < 0 and \
            request.position != "before punctuation"
        fitting[request] = [t for t in targets if t.paragraph.place == place and t.shape == shape
                            and (test is None or test(t)) and (not outside or _blank_around(t))]
    batches, comments = [], []
    for index, request in sorted(enumerate(requests), key=lambda s: (len(fitting[s[1]]), s[0])):
        candidates = fitting[request]
        if not candidates:
            if required:
                raise PlanError("no target for %s %s" % (request.kind, request.position))
            continue
        # Spread over the candidates, so that a position's targets are not all one word.
        start = (index * 7) % len(candidates)
        placed = None
        for number in range(MAX_BATCHES if required else 2):
            if number == len(batches):
                batches.append(_Batch())
            placed = next((t for t in candidates[start:] + candidates[:start]
                           if batches[number].take(t, request.position in MARGINS)), None)
            if placed:
                for drawn in [request] + [Request(kind, request.position, None, request.klass)
                                          for kind in request.companions]:
                    comment = make_comment(drawn, placed)
                    comment.batch = number
                    comments.append(comment)
                break
        if not placed and required:
            raise PlanError("no room for %s %s in %d PDFs" % (request.kind, request.position,
                                                             MAX_BATCHES))
    return comments
