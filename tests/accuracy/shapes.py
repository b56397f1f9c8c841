"""Where a comment is drawn, in PDF user space (y upwards), from its target's glyphs, which each
writer turns into its own library's calls; and the check that reads back what a writer put into
the PDF and compares it with them. A comment a writer drew elsewhere (a library that turned a
rotated page's coordinates, a search that found another hit) is a writer error, not scored, since
it would make the import look wrong for no fault of its own.
"""
import itertools
import re
import types

import fitz

import pdf_pages
from plan import MARKUPS, SUBTYPES

NOTE_SIZE = 20  # the icon of a note written by hand
MARGIN_GAP = 12  # from the text column to a comment in the margin
NUMBER = re.compile(r"-?\d+(?:\.\d*)?(?:[eE]-?\d+)?|-?\.\d+")
TOLERANCE = 0.05


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


def outline(numbers):  # the box around points given as x, y, x, y...
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


def line_glyph(comment, glyph):
    """The glyph whose height a caret beside `glyph` is drawn at: a footnote's number stands
    raised and small, and a reviewer clicks beside it at the height of its line's text."""
    target = comment.target
    if target.shape != "number" or target.first == 0:
        return glyph
    before = target.page.glyphs[target.first - 1]
    return before if before.line == glyph.line else glyph


def caret_box(comment, at, width):
    """A caret's rectangle centred on caret_x and as tall as the line; the variant's "caret_y"
    draws it as some viewers do: "below", hanging from the baseline with its tip on it;
    "lower", from the middle of the line to 5 pt below the baseline; "tall", twice the line's
    height, centred on it."""
    x, glyph = caret_x(comment, at)
    glyph = line_glyph(comment, glyph)
    y0, y1, y_at = glyph.y0, glyph.y1, comment.variant.get("caret_y")
    if y_at == "below":
        y0, y1 = glyph.base - 7, glyph.base
    elif y_at == "lower":
        y0, y1 = glyph.base - 5, (glyph.y0 + glyph.y1) / 2
    elif y_at == "tall":
        y0, y1 = y0 - (y1 - y0) / 2, y1 + (y1 - y0) / 2
    return Box(x - width / 2, y0, x + width / 2, y1)


def word_box(target):
    return union([g for g in target.glyphs if not g.blank])


def column(page):
    """The left and right edges of the page's text."""
    inked = [g for g in page.glyphs if not g.blank]
    return min(g.x0 for g in inked), max(g.x1 for g in inked)


def note_point(comment):
    """The upper left corner of a note's icon: a third along the word and a third down from
    its top (the variant's "corner": "low", three quarters down, where the icon hung from it
    covers the next line rather than the word), or beside the word's line in the left or right
    margin."""
    box = word_box(comment.target)
    if not comment.margin:
        down = 3 / 4 if comment.variant.get("corner") == "low" else 1 / 3
        return box.x0 + (box.x1 - box.x0) / 3, box.y1 - (box.y1 - box.y0) * down
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


def callout(comment):
    """A free text's callout line and box, as viewers that draw callouts write them: the line
    from its tip on the word (the point a note would be put at, or the word's middle for a box
    over the text) through a knee to the box; the box in the right or left margin beside the
    line and a little off it, or straight above the word over the lines before it."""
    word, where = word_box(comment.target), comment.variant["callout"]
    if where == "over text":
        tip = ((word.x0 + word.x1) / 2, (word.y0 + word.y1) / 2)
        box = Box(tip[0] - 25, word.y1 + 14, tip[0] + 25, word.y1 + 30)
        return [tip, (tip[0], box.y0)], box
    tip = note_point(comment)
    left, right = column(comment.target.page)
    if where == "right margin":
        box = Box(right + MARGIN_GAP, word.y1 + 10, right + MARGIN_GAP + 40, word.y1 + 26)
        end = (box.x0, (box.y0 + box.y1) / 2)
        return [tip, (end[0] - 6, end[1]), end], box
    box = Box(left - MARGIN_GAP - 40, word.y0 - 26, left - MARGIN_GAP, word.y0 - 10)
    end = (box.x1, (box.y0 + box.y1) / 2)
    return [tip, (end[0] + 6, end[1]), end], box


def read_written(pdf_path):
    """The annotations of the PDF by their title (/T), in PDF user space: page, subtype, rect
    and quads (Boxes), rd (the /RD numbers)."""
    doc = fitz.open(pdf_path)
    by_author = {}

    def numbers(xref, key):
        kind, value = doc.xref_get_key(xref, key)
        return [float(n) for n in NUMBER.findall(value)] if kind == "array" else []

    for page in doc:
        for xref in pdf_pages.annotations(doc, page):
            kind, author = doc.xref_get_key(xref, "T")
            if kind != "string":
                continue
            rect, quads = numbers(xref, "Rect"), numbers(xref, "QuadPoints")
            by_author.setdefault(author, []).append(types.SimpleNamespace(
                page=page.number, subtype=doc.xref_get_key(xref, "Subtype")[1].lstrip("/"),
                rect=outline(rect) if len(rect) == 4 else None,
                quads=[outline(quads[i:i + 8]) for i in range(0, len(quads) - 7, 8)],
                rd=numbers(xref, "RD"), cl=numbers(xref, "CL")))
    doc.close()
    return by_author


def less_rd(written):
    """A written annotation's rectangle less its /RD insets (left, top, right, bottom)."""
    rect, rd = written.rect, written.rd
    if not rect or len(rd) != 4:
        return rect
    left, top, right, bottom = rd
    return Box(rect.x0 + left, rect.y0 + bottom, rect.x1 - right, rect.y1 - top)


def _check_caret(caret, comment, at):
    x, glyph = caret_x(comment, at)
    drawn = less_rd(caret)  # where the caret is drawn
    centre, middle = (drawn.x0 + drawn.x1) / 2, (glyph.y0 + glyph.y1) / 2
    y_at = comment.variant.get("caret_y")
    if abs(centre - x) > TOLERANCE:
        return "caret centred at x %.2f, meant %.2f" % (centre, x)
    if y_at == "below":  # the tip on the baseline
        if abs(drawn.y1 - glyph.base) > TOLERANCE:
            return "caret %r does not hang from the baseline %.2f" % (drawn, glyph.base)
    elif y_at == "lower":
        if not drawn.y0 < glyph.base < drawn.y1 <= middle + TOLERANCE:
            return "caret %r is not across the baseline %.2f below the line's middle" % (
                drawn, glyph.base)
    elif not drawn.y0 <= middle <= drawn.y1:
        return "caret %r misses the line at y %.2f" % (drawn, middle)
    return None


def _covered(boxes, glyph):
    return any(box.contains(*glyph.centre) for box in boxes)


def _on_line(boxes, glyph):
    """A band or a box taller than the line covers a glyph when it spans the glyph's middle
    along the line and its own middle lies in the glyph's height."""
    x = glyph.centre[0]
    return any(b.x0 - 0.01 <= x <= b.x1 + 0.01 and glyph.y0 <= (b.y0 + b.y1) / 2 <= glyph.y1
               for b in boxes)


def _check_cover(boxes, comment, what, covered=_covered):
    """The target's inked glyphs under the boxes, and no other inked glyph."""
    target = comment.target
    missed = [g.char for g in target.glyphs if not g.blank and not covered(boxes, g)]
    if missed:
        return "%s misses %r" % (what, "".join(missed))
    inside = range(target.first, target.last + 1)
    # A kerned neighbour (the period after "y.") has its centre inside a target glyph's own
    # box; covering it is no fault of the writer's.
    own = [Box(g.x0, g.y0, g.x1, g.y1) for g in target.glyphs]
    extra = [g.char for i, g in enumerate(target.page.glyphs)
             if i not in inside and not g.blank and covered(boxes, g) and not _covered(own, g)]
    return "%s also covers %r" % (what, "".join(extra)) if extra else None


def _check_selection(quads, comment):
    """Quadrilaterals from a selection over a viewer's own text layer stand off the glyphs by
    a few points at each end: they must overlap every inked glyph of the target and cover the
    middle of none further away than the characters right beside it."""
    target, glyphs = comment.target, comment.target.page.glyphs

    def overlaps(g):
        return any(q.x0 < g.x1 and g.x0 < q.x1 and q.y0 < g.centre[1] < q.y1 for q in quads)

    missed = [g.char for g in target.glyphs if not g.blank and not overlaps(g)]
    if missed:
        return "selection misses %r" % "".join(missed)
    beside = range(target.first - 1, target.last + 2)
    extra = [g.char for i, g in enumerate(glyphs)
             if i not in beside and not g.blank and _covered(quads, g)]
    return "selection also covers %r" % "".join(extra) if extra else None


def _check_note(note, comment):
    x, y = note.rect.x0, note.rect.y1  # the icon's upper left corner: the point it was put at
    word = word_box(comment.target)
    if not comment.margin:
        return None if word.contains(x, y) else \
            "note at (%.2f, %.2f) is outside its word %r" % (x, y, word)
    left, right = column(comment.target.page)
    if left <= x <= right or not word.y0 - 1.5 <= y <= word.y1 + 1.5:
        return "note at (%.2f, %.2f) is not in the margin beside %r" % (x, y, word)
    return None


def _check_callout(callout_, comment):
    if len(callout_.cl) not in (4, 6):
        return "no callout line"
    x, y = callout_.cl[0], callout_.cl[1]
    word = word_box(comment.target)
    if not word.contains(x, y):
        return "callout line's tip (%.2f, %.2f) is outside its word %r" % (x, y, word)
    if comment.variant["callout"] == "over text":
        return None
    box = less_rd(callout_)
    inked = any(box.contains(*g.centre) for g in comment.target.page.glyphs if not g.blank)
    return "callout box covers text" if inked else None


def check(comment, written):
    """None when the writer drew the comment as meant; else what is wrong."""
    mine = written.get(comment.author, [])
    if any(w.page != comment.target.page.number for w in mine):
        return "written on another page"
    kind, subtype, variant = comment.kind, SUBTYPES[comment.kind], comment.variant
    found = [w for w in mine if w.subtype == subtype]
    one = found[0] if len(found) == 1 else None
    no_quads = variant.get("no_quads")
    if kind in MARKUPS and (not one or (one.quads or not one.rect if no_quads else not one.quads)):
        return "no single %s with %s" % (subtype,
                                         "a rectangle alone" if no_quads else "quadrilaterals")
    if not one:
        return "no single %s" % subtype
    if kind == "replace" and len([w for w in mine if w.subtype == "Caret"]) != 1:
        return "no Caret with the strike-out"
    if kind == "insert":
        return _check_caret(one, comment, comment.at)
    if kind == "note":
        return _check_note(one, comment)
    if kind == "freetext" and variant.get("callout"):
        return _check_callout(one, comment)
    if kind == "freetext" and comment.margin:
        inked = any(one.rect.contains(*g.centre) for g in comment.target.page.glyphs if not g.blank)
        return "margin box covers text" if inked else None
    if kind == "freetext" or no_quads:
        return _check_cover([one.rect], comment, "box" if kind == "freetext" else "rectangle")
    if variant.get("reverse") and not one.quads[0].y0 < one.quads[-1].y0:
        return "quadrilaterals are not written last line first"
    if variant.get("text_layer"):
        return _check_selection(one.quads, comment)
    if variant.get("band") or variant.get("taller") or variant.get("line_height"):
        return _check_cover(one.quads, comment, "quadrilaterals", _on_line)
    # Quadrilaterals meant to lie inside or outside the glyphs are checked as the glyph boxes
    # they were drawn from.
    inset = variant.get("inset", 0)
    return _check_cover([q.grown(inset) for q in one.quads], comment, "quadrilaterals")
