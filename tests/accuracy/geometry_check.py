"""Reads back what a writer put into the PDF and checks it against the comment's intention. A
writer that drew a comment somewhere else (a library that turned a rotated page's coordinates, a
search that found another hit) would make the import look wrong for no fault of its own; such a
comment is reported as a writer error instead of being scored.
"""
import re

import fitz

import pdf_pages
import shapes
from plan import MARKUPS, SUBTYPES

NUMBER = re.compile(r"-?\d+(?:\.\d*)?(?:[eE]-?\d+)?|-?\.\d+")
TOLERANCE = 0.05


class Written:
    def __init__(self, page, subtype, rect, quads, rd):
        self.page, self.subtype, self.rect, self.quads = page, subtype, rect, quads
        if rect and len(rd) == 4:  # where a caret is drawn: the rectangle less its /RD insets
            rect = shapes.Box(rect.x0 + rd[0], rect.y0 + rd[1], rect.x1 - rd[2], rect.y1 - rd[3])
        self.inner = rect


def read_written(pdf_path):
    """The annotations of the PDF by their title (/T), in PDF user space."""
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
            by_author.setdefault(author, []).append(Written(
                page.number, doc.xref_get_key(xref, "Subtype")[1].lstrip("/"),
                shapes.outline(rect) if len(rect) == 4 else None,
                [shapes.outline(quads[i:i + 8]) for i in range(0, len(quads) - 7, 8)],
                numbers(xref, "RD")))
    doc.close()
    return by_author


def _check_caret(caret, comment, at):
    x, glyph = shapes.caret_x(comment, at)
    drawn = caret.inner
    centre = (drawn.x0 + drawn.x1) / 2
    y_at = comment.variant.get("caret_y")
    middle = (glyph.y0 + glyph.y1) / 2
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
    own = [shapes.Box(g.x0, g.y0, g.x1, g.y1) for g in target.glyphs]
    extra = [g.char for i, g in enumerate(target.page.glyphs)
             if i not in inside and not g.blank and covered(boxes, g) and not _covered(own, g)]
    return "%s also covers %r" % (what, "".join(extra)) if extra else None


def _check_note(note, comment):
    x, y = note.rect.x0, note.rect.y1  # the icon's upper left corner: the point it was put at
    word = shapes.word_box(comment.target)
    if not comment.margin:
        return None if word.contains(x, y) else \
            "note at (%.2f, %.2f) is outside its word %r" % (x, y, word)
    left, right = shapes.column(comment.target.page)
    if left <= x <= right or not word.y0 - 1.5 <= y <= word.y1 + 1.5:
        return "note at (%.2f, %.2f) is not in the margin beside %r" % (x, y, word)
    return None


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
    if kind == "freetext" and comment.margin:
        inked = [g for g in comment.target.page.glyphs
                 if not g.blank and one.rect.contains(*g.centre)]
        return "margin box covers text" if inked else None
    if kind == "freetext" or no_quads:
        return _check_cover([one.rect], comment, "box" if kind == "freetext" else "rectangle")
    if variant.get("reverse") and not one.quads[0].y0 < one.quads[-1].y0:
        return "quadrilaterals are not written last line first"
    if variant.get("band") or variant.get("taller") or variant.get("line_height"):
        return _check_cover(one.quads, comment, "quadrilaterals", _on_line)
    # Quadrilaterals meant to lie inside or outside the glyphs are checked as the glyph boxes
    # they were drawn from.
    inset = variant.get("inset", 0)
    return _check_cover([q.grown(inset) for q in one.quads], comment, "quadrilaterals")
