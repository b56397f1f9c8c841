"""Where a comment is drawn, in PDF user space (y upwards), from its target's glyphs: a caret
centred on the insertion point, quadrilaterals on the glyphs of each line, a note's icon with
its upper left corner inside the word, a free text box around the word. Each writer turns these
into its own library's calls; the geometry check compares what landed in the file with them.
"""
import itertools

NOTE_SIZE = 20  # the icon of a note written by hand
MARGIN_GAP = 12  # from the text column to a comment in the margin


class Box:
    __slots__ = ("x0", "y0", "x1", "y1")

    def __init__(self, x0, y0, x1, y1):
        self.x0, self.y0, self.x1, self.y1 = x0, y0, x1, y1

    def __iter__(self):
        return iter((self.x0, self.y0, self.x1, self.y1))

    def grown(self, by):
        return Box(self.x0 - by, self.y0 - by, self.x1 + by, self.y1 + by)

    def contains(self, x, y, slack=0.01):
        return self.x0 - slack <= x <= self.x1 + slack and self.y0 - slack <= y <= self.y1 + slack

    def __repr__(self):
        return "[%.2f %.2f %.2f %.2f]" % tuple(self)


def outline(numbers):
    """The box around points given as x, y, x, y..."""
    xs, ys = numbers[0::2], numbers[1::2]
    return Box(min(xs), min(ys), max(xs), max(ys))


def union(glyphs):
    return Box(min(g.x0 for g in glyphs), min(g.y0 for g in glyphs),
               max(g.x1 for g in glyphs), max(g.y1 for g in glyphs))


def _middle(values):
    return sorted(values)[len(values) // 2]


def markup_boxes(target, variant):
    """The boxes a markup's quadrilaterals are drawn from, in the order they are written: one
    for each line on the glyphs, or as some viewers draw them: a band 1.5 pt tall on the
    baseline or around the middle of the small letters ("band": "baseline", "x-height", half
    the x-height of a sans serif, 0.27 em, above the baseline), taller than the glyphs
    ("taller": by so much above and below), a line's height with its leading ("line_height", in
    em), one box for each run of inked glyphs ("per_word"), the lines last to first
    ("reverse")."""
    lines = {}
    for glyph in target.glyphs:
        lines.setdefault(glyph.line, []).append(glyph)
    lines = [glyphs for _, glyphs in sorted(lines.items())]
    boxes = [union(glyphs) for glyphs in lines]
    if variant.get("per_word"):
        boxes = [union(list(word)) for glyphs in lines
                 for blank, word in itertools.groupby(glyphs, lambda g: g.blank) if not blank]
    elif variant.get("band"):
        for i, glyphs in enumerate(lines):
            base = _middle([g.base for g in glyphs])
            low, high = base - 1.25, base + 0.25
            if variant["band"] == "x-height":
                middle = base + 0.27 * _middle([g.size for g in glyphs])
                low, high = middle - 0.75, middle + 0.75
            boxes[i] = Box(boxes[i].x0, low, boxes[i].x1, high)
    by = variant.get("taller")
    if by:
        boxes = [Box(b.x0, b.y0 - by, b.x1, b.y1 + by) for b in boxes]
    if variant.get("line_height"):
        # From the font's ascent down by the line height with its leading, which typesetting
        # puts below the text.
        height = variant["line_height"] * _middle([g.size for g in target.glyphs])
        boxes = [Box(b.x0, b.y1 - height, b.x1, b.y1) for b in boxes]
    return boxes[::-1] if variant.get("reverse") else boxes


def caret_x(comment, at):
    """(x, glyph): the insertion point before or after the target and the glyph it stands
    beside; for a caret between two words ("caret_x": "blank") x is the middle of the blank
    after the target."""
    target = comment.target
    glyph = target.glyphs[0] if at == "before" else target.glyphs[-1]
    x = glyph.x0 if at == "before" else glyph.x1
    if comment.variant.get("caret_x") == "blank":
        blank = target.page.glyphs[target.last + 1]
        x = (blank.x0 + blank.x1) / 2
    return x, glyph


def caret_box(comment, at, width):
    """A caret's rectangle centred on caret_x and as tall as the line; the variant's "caret_y"
    draws it as some viewers do: "below", hanging from the baseline with its tip on it;
    "lower", from the middle of the line to 5 pt below the baseline; "tall", twice the line's
    height, centred on it."""
    x, glyph = caret_x(comment, at)
    y0, y1, y_at = glyph.y0, glyph.y1, comment.variant.get("caret_y")
    if y_at == "below":
        y0, y1 = glyph.base - 7, glyph.base
    elif y_at == "lower":
        y0, y1 = glyph.base - 5, (glyph.y0 + glyph.y1) / 2
    elif y_at == "tall":
        half = (y1 - y0) / 2
        y0, y1 = y0 - half, y1 + half
    return Box(x - width / 2, y0, x + width / 2, y1)


def word_box(target):
    return union([g for g in target.glyphs if not g.blank])


def column(page):
    """The left and right edges of the page's text."""
    inked = [g for g in page.glyphs if not g.blank]
    return min(g.x0 for g in inked), max(g.x1 for g in inked)


def note_point(comment):
    """The upper left corner of a note's icon: a third along the word and a third down from
    its top, or beside the word's line in the left or right margin."""
    box = word_box(comment.target)
    if not comment.margin:
        return box.x0 + (box.x1 - box.x0) / 3, box.y1 - (box.y1 - box.y0) / 3
    left, right = column(comment.target.page)
    return (left - MARGIN_GAP - NOTE_SIZE if comment.side == "left" else right + MARGIN_GAP,
            box.y1)


def free_box(comment, width=40):
    """A free text box around the word, or beside its line in the margin."""
    box = word_box(comment.target)
    if not comment.margin:
        return box.grown(0.5)
    left, right = column(comment.target.page)
    if comment.side == "left":
        return Box(left - MARGIN_GAP - width, box.y0, left - MARGIN_GAP, box.y1)
    return Box(right + MARGIN_GAP, box.y0, right + MARGIN_GAP + width, box.y1)
