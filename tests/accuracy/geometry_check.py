"""Reads back what a writer put into the PDF and checks it against the comment's intention.

A writer that drew a comment somewhere else (a library that turned a rotated page's
coordinates, a search that found another hit) would make the import look wrong for no fault of
its own; such a comment is reported as a writer error instead of being scored.
"""
import re

import fitz

import shapes

NUMBER = re.compile(r"-?\d+(?:\.\d*)?(?:[eE]-?\d+)?|-?\.\d+")
TOLERANCE = 0.05


def _numbers(doc, xref, key):
    kind, value = doc.xref_get_key(xref, key)
    return [float(n) for n in NUMBER.findall(value)] if kind == "array" else []


def _box(numbers):
    xs, ys = numbers[0::2], numbers[1::2]
    return shapes.Box(min(xs), min(ys), max(xs), max(ys))


class Written:
    def __init__(self, page, subtype, rect, quads, rd):
        self.page, self.subtype, self.rect, self.quads, self.rd = page, subtype, rect, quads, rd

    def inner(self):
        """The rectangle less its /RD insets: where the caret is drawn."""
        if len(self.rd) != 4:
            return self.rect
        left, bottom, right, top = self.rd
        r = self.rect
        return shapes.Box(r.x0 + left, r.y0 + bottom, r.x1 - right, r.y1 - top)


def read_written(pdf_path):
    """The annotations of the PDF by their title (/T), in PDF user space."""
    doc = fitz.open(pdf_path)
    by_author = {}
    for page in doc:
        kind, value = doc.xref_get_key(page.xref, "Annots")
        if kind == "xref":
            value = doc.xref_object(int(value.split()[0]), compressed=True)
        for ref in re.findall(r"(\d+) \d+ R", value if kind in ("array", "xref") else ""):
            xref = int(ref)
            kind_t, author = doc.xref_get_key(xref, "T")
            if kind_t != "string":
                continue
            subtype = doc.xref_get_key(xref, "Subtype")[1].lstrip("/")
            rect = _numbers(doc, xref, "Rect")
            quads = _numbers(doc, xref, "QuadPoints")
            by_author.setdefault(author, []).append(Written(
                page.number, subtype, _box(rect) if len(rect) == 4 else None,
                [_box(quads[i:i + 8]) for i in range(0, len(quads) - 7, 8)],
                _numbers(doc, xref, "RD")))
    doc.close()
    return by_author


def _one(written, subtype):
    found = [w for w in written if w.subtype == subtype]
    return found[0] if len(found) == 1 else None


def _check_caret(caret, comment, at):
    x, glyph = shapes.insertion_point(comment.target, at)
    if comment.variant.get("caret_x") == "blank":
        x = shapes.blank_middle(comment.target)
    drawn = caret.inner()
    centre = (drawn.x0 + drawn.x1) / 2
    if abs(centre - x) > TOLERANCE:
        return "caret centred at x %.2f, meant %.2f" % (centre, x)
    y_at = comment.variant.get("caret_y")
    if y_at == "below":  # the tip on the baseline
        if abs(drawn.y1 - glyph.base) > TOLERANCE:
            return "caret %r does not hang from the baseline %.2f" % (drawn, glyph.base)
        return None
    if y_at == "lower":
        if not drawn.y0 < glyph.base < drawn.y1 <= glyph.centre[1] + TOLERANCE:
            return "caret %r is not across the baseline %.2f below the line's middle" % (
                drawn, glyph.base)
        return None
    middle = (glyph.y0 + glyph.y1) / 2
    if not drawn.y0 <= middle <= drawn.y1:
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
    if extra:
        return "%s also covers %r" % (what, "".join(extra))
    return None


def _check_note(note, comment):
    # The icon's upper left corner is the point the note was put at, or its middle for an icon
    # centred on the point.
    x, y = note.rect.x0, note.rect.y1
    if comment.variant.get("icon") == "centred":
        x, y = (note.rect.x0 + note.rect.x1) / 2, (note.rect.y0 + note.rect.y1) / 2
    word = shapes.word_box(comment.target)
    if comment.margin:
        left, right = shapes.column(comment.target.page)
        if left <= x <= right or not word.y0 - 1.5 <= y <= word.y1 + 1.5:
            return "note at (%.2f, %.2f) is not in the margin beside %r" % (x, y, word)
        return None
    if not word.contains(x, y):
        return "note at (%.2f, %.2f) is outside its word %r" % (x, y, word)
    return None


def check(comment, written):
    """None when the writer drew the comment as meant; else what is wrong."""
    mine = [w for w in written.get(comment.author, [])]
    if any(w.page != comment.target.page.number for w in mine):
        return "written on another page"
    kind = comment.kind
    if kind == "insert":
        caret = _one(mine, "Caret")
        return _check_caret(caret, comment, comment.at) if caret else "no single Caret"
    if kind in ("strikeout", "highlight", "underline", "replace"):
        subtype = {"highlight": "Highlight", "underline": "Underline"}.get(kind, "StrikeOut")
        markup = _one(mine, subtype)
        variant = comment.variant
        if variant.get("no_quads"):
            if not markup or markup.quads or not markup.rect:
                return "no single %s with a rectangle alone" % subtype
        elif not markup or not markup.quads:
            return "no single %s with quadrilaterals" % subtype
        if kind == "replace":
            caret = _one(mine, "Caret")
            if not caret:
                return "no Caret with the strike-out"
        if variant.get("no_quads"):
            return _check_cover([markup.rect], comment, "rectangle")
        if variant.get("reverse") and not markup.quads[0].y0 < markup.quads[-1].y0:
            return "quadrilaterals are not written last line first"
        if variant.get("band") or variant.get("taller") or variant.get("line_height"):
            return _check_cover(markup.quads, comment, "quadrilaterals", _on_line)
        # Quadrilaterals meant to lie inside or outside the glyphs are checked as the glyph
        # boxes they were drawn from.
        inset = variant.get("inset", 0)
        return _check_cover([q.grown(inset) for q in markup.quads], comment, "quadrilaterals")
    if kind == "note":
        note = _one(mine, "Text")
        return _check_note(note, comment) if note else "no single Text"
    if kind == "freetext":
        box = _one(mine, "FreeText")
        if not box:
            return "no single FreeText"
        if comment.margin:
            inked = [g for g in comment.target.page.glyphs
                     if not g.blank and box.rect.contains(*g.centre)]
            return "margin box covers text" if inked else None
        return _check_cover([box.rect], comment, "box")
    return "unknown kind %s" % kind
