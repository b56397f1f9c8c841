"""Where a comment is drawn, in PDF user space (y upwards), from its target's glyphs.

These are the writer's intentions: a caret centred on the insertion point, quadrilaterals on
the glyphs of each line, a note whose icon's upper left corner lies inside the word, a free
text box around the word. Each writer turns them into its own library's calls; the geometry
check reads back what landed in the file and compares it with them.
"""
NOTE_SIZE = 20  # the icon of a note written by hand
MARGIN_GAP = 12  # from the text column to a comment in the margin


class Box:
    __slots__ = ("x0", "y0", "x1", "y1")

    def __init__(self, x0, y0, x1, y1):
        self.x0, self.y0, self.x1, self.y1 = x0, y0, x1, y1

    def grown(self, by):
        return Box(self.x0 - by, self.y0 - by, self.x1 + by, self.y1 + by)

    def contains(self, x, y, slack=0.01):
        return self.x0 - slack <= x <= self.x1 + slack and self.y0 - slack <= y <= self.y1 + slack

    def __repr__(self):
        return "[%.2f %.2f %.2f %.2f]" % (self.x0, self.y0, self.x1, self.y1)


def union(glyphs):
    return Box(min(g.x0 for g in glyphs), min(g.y0 for g in glyphs),
               max(g.x1 for g in glyphs), max(g.y1 for g in glyphs))


def line_glyphs(target):
    """The target's glyphs, one list for each visual line, in reading order."""
    lines = {}
    for glyph in target.glyphs:
        lines.setdefault(glyph.line, []).append(glyph)
    return [glyphs for _, glyphs in sorted(lines.items())]


def line_boxes(target):
    """One box for each visual line of the target: the glyphs' boxes joined."""
    return [union(glyphs) for glyphs in line_glyphs(target)]


def word_boxes(target):
    """One box for each run of inked glyphs (a word) of the target, line by line."""
    boxes = []
    for glyphs in line_glyphs(target):
        word = []
        for glyph in glyphs + [None]:
            if glyph is not None and not glyph.blank:
                word.append(glyph)
            elif word:
                boxes.append(union(word))
                word = []
    return boxes


def _middle(values):
    values = sorted(values)
    return values[len(values) // 2]


def band(glyphs, where):
    """A thin band along the glyphs, as some viewers draw their markup: an underline 1.5 pt
    tall on the baseline ("baseline"), or a strike-out band 1.5 pt tall around the middle of
    the small letters ("x-height", half the x-height of a sans serif, 0.27 em, above the
    baseline)."""
    box = union(glyphs)
    base = _middle([g.base for g in glyphs])
    if where == "baseline":
        return Box(box.x0, base - 1.25, box.x1, base + 0.25)
    middle = base + 0.27 * _middle([g.size for g in glyphs])
    return Box(box.x0, middle - 0.75, box.x1, middle + 0.75)


def font_size(target):
    return _middle([g.size for g in target.glyphs])


def insertion_point(target, at):
    """(x, glyph) of a caret before or after the target: the glyph it stands beside."""
    glyph = target.glyphs[0] if at == "before" else target.glyphs[-1]
    return (glyph.x0 if at == "before" else glyph.x1), glyph


def blank_middle(target):
    """The middle of the blank after the target: a caret between two words."""
    blank = target.page.glyphs[target.last + 1]
    return (blank.x0 + blank.x1) / 2


def caret_box(target, at, width, x_at=None, y_at=None):
    """A caret's rectangle centred on the insertion point (or, x_at "blank", on the middle of
    the blank after the target) and as tall as the line; y_at draws it as some viewers do:
    "below", hanging from the baseline with its tip on it; "lower", from the middle of the
    line to 5 pt below the baseline; "tall", twice the line's height, centred on it."""
    x, glyph = insertion_point(target, at)
    if x_at == "blank":
        x = blank_middle(target)
    y0, y1 = glyph.y0, glyph.y1
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


def note_point(target):
    """A point well inside the word: a third along it, a third down from its top."""
    box = word_box(target)
    return box.x0 + (box.x1 - box.x0) / 3, box.y1 - (box.y1 - box.y0) / 3


def column(page):
    """The left and right edges of the page's text."""
    inked = [g for g in page.glyphs if not g.blank]
    return min(g.x0 for g in inked), max(g.x1 for g in inked)


def margin_point(target, side):
    """The upper left corner of a note beside the target's line, in the left or right margin."""
    left, right = column(target.page)
    box = word_box(target)
    x = left - MARGIN_GAP - NOTE_SIZE if side == "left" else right + MARGIN_GAP
    return x, box.y1


def margin_box(target, side, width=40):
    """A free text box beside the target's line."""
    left, right = column(target.page)
    box = word_box(target)
    if side == "left":
        return Box(left - MARGIN_GAP - width, box.y0, left - MARGIN_GAP, box.y1)
    return Box(right + MARGIN_GAP, box.y0, right + MARGIN_GAP + width, box.y1)
