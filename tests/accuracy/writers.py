"""The PDF writers that put the planned comments into an exported PDF.

- reviewer: the project's reviewer tool with a JSON description (10 pt carets, its own search
  for the text).
- pymupdf: PyMuPDF's annotation calls with their defaults (a caret 20 pt wide, an 18 pt note
  icon), given page coordinates as a PyMuPDF user would give them.
- dicts: annotation dictionaries written object by object, as other viewers write them:
  carets of several widths, a wide caret rectangle with /RD insets around a small drawn caret,
  quadrilaterals in either corner order, on the glyphs, inside or outside them.
- poppler: Poppler's GLib annotation calls, which take coordinates of the page as shown,
  y upwards (markups and notes only: it makes no carets or free texts).

Each writer gets the comments' intended shapes in PDF user space (shapes.py) and converts
them into its library's coordinates itself.
"""
import json
import os
import re
import subprocess
import sys

import fitz

import shapes
from targets import canonical

DATE = "D:20260301120000Z"
CARET_WIDTH = {"dicts": 13}  # the widths a writer uses where the comment's class names none


def _page_matrix(page):
    """PDF user space to the coordinates PyMuPDF's annotation calls take: the unrotated page's,
    origin at the crop box's upper left corner. Built from the boxes, since this PyMuPDF's
    transformation_matrix leaves out where the crop box lies on a turned page."""
    return fitz.Matrix(1, 0, 0, -1, -page.cropbox.x0, page.mediabox.y1 - page.cropbox.y0)


def _to_page(page, x, y):
    return fitz.Point(x, y) * _page_matrix(page)


def _box_to_page(page, box):
    rect = fitz.Rect(box.x0, box.y0, box.x1, box.y1) * _page_matrix(page)
    rect.normalize()
    return rect


# --- the reviewer tool ---------------------------------------------------------------------

def _search_text(glyphs):
    """The glyphs' text as the tool searches it: a line end reads as a blank."""
    out, line = [], glyphs[0].line if glyphs else 0
    for glyph in glyphs:
        if glyph.line != line:
            out.append(" ")
            line = glyph.line
        out.append(glyph.char)
    return "".join(out)


def _occurrence(target, needle):
    """Which hit of the tool's search on the target's page is the target, counted as the tool
    counts them (canonical text, hits not overlapping)."""
    glyphs = target.page.glyphs
    before = canonical(_search_text(glyphs[:target.first + 1]))
    wanted = len(before) - 1  # where the target's first character is
    text = canonical(_search_text(glyphs))
    count, at = 0, text.find(needle)
    while 0 <= at < wanted:
        count += 1
        at = text.find(needle, at + len(needle))
    return count


def _find(comment):
    target = comment.target
    # Text wrapped without a blank (Japanese) is searched with one at the line end.
    find = _search_text(target.glyphs)
    return {"find": find, "page": target.page.number,
            "occurrence": _occurrence(target, canonical(find))}


def _reviewer_entry(comment, page_matrix):
    kind, target = comment.kind, comment.target
    entry = {"kind": kind, "author": comment.author, "modified": DATE}
    if kind == "insert":
        entry.update(_find(comment), at="start" if comment.at == "before" else "end",
                     text=comment.text)
    elif kind in ("strikeout", "highlight", "underline", "replace"):
        entry.update(_find(comment))
        if kind == "replace":
            entry["text"] = comment.text
        if comment.variant.get("order") == "ccw":
            entry["quad_order"] = "ccw"
        if comment.variant.get("outset"):
            entry["outset"] = comment.variant["outset"]
    elif kind == "note":
        entry["contents"] = comment.contents
        if comment.margin:
            point = fitz.Point(*shapes.margin_point(target, comment.position.split()[0]))
            point = point * page_matrix
            entry.update(point=[point.x, point.y], page=target.page.number)
        else:
            entry.update(_find(comment))
    elif kind == "freetext":
        entry["contents"] = comment.contents
        if comment.margin:
            box = shapes.margin_box(target, comment.position.split()[0])
            rect = fitz.Rect(box.x0, box.y0, box.x1, box.y1) * page_matrix
            rect.normalize()
            entry.update(rect=list(rect), page=target.page.number)
        else:
            entry.update(_find(comment))
    return entry


def write_reviewer(source, out, comments, tools):
    doc = fitz.open(source)
    matrices = {page.number: _page_matrix(page) for page in doc}
    doc.close()
    description = {"comments": [_reviewer_entry(c, matrices[c.target.page.number])
                                for c in comments]}
    path = out + ".json"
    with open(path, "w", encoding="utf-8") as f:
        json.dump(description, f, ensure_ascii=False, indent=1)
    run = subprocess.run([sys.executable, os.path.join(tools, "reviewer", "review.py"), source,
                          path, out], capture_output=True, text=True, timeout=120)
    if run.returncode != 0:
        raise RuntimeError("review.py: " + run.stderr.strip())


# --- PyMuPDF's own calls ---------------------------------------------------------------------

def _default_caret():
    """Where PyMuPDF puts its caret for a point: (offset x, offset y, width, height)."""
    doc = fitz.open()
    page = doc.new_page()
    rect = page.add_caret_annot(fitz.Point(100, 100)).rect
    doc.close()
    return rect.x0 - 100, rect.y0 - 100, rect.width, rect.height


def _set_common(doc, annot, comment, contents):
    annot.set_info(title=comment.author, content=contents)
    annot.update()
    doc.xref_set_key(annot.xref, "M", fitz.get_pdf_str(DATE))


def _pymupdf_caret(doc, page, comment, at, default):
    # The caret's rectangle is centred on the insertion point, as it is drawn.
    dx, dy, width, height = default
    x, glyph = shapes.insertion_point(comment.target, at)
    centre = _to_page(page, x, (glyph.y0 + glyph.y1) / 2)
    annot = page.add_caret_annot(fitz.Point(centre.x - width / 2 - dx,
                                            centre.y - height / 2 - dy))
    _set_common(doc, annot, comment, comment.text)
    return annot


def write_pymupdf(source, out, comments, tools):
    doc = fitz.open(source)
    default = _default_caret()
    keep = []  # this PyMuPDF breaks its annotation objects when their handles are collected
    for comment in sorted(comments, key=lambda c: c.target.page.number):
        page = doc[comment.target.page.number]
        keep.append(page)
        kind, target = comment.kind, comment.target
        if kind == "insert":
            keep.append(_pymupdf_caret(doc, page, comment, comment.at, default))
        elif kind in ("strikeout", "highlight", "underline", "replace"):
            quads = [_box_to_page(page, box).quad
                     for box in markup_boxes(target, comment.variant)]
            add = {"highlight": page.add_highlight_annot, "underline": page.add_underline_annot}
            annot = add.get(kind, page.add_strikeout_annot)(quads)
            _set_common(doc, annot, comment, "")
            keep.append(annot)
            if kind == "replace":
                caret = _pymupdf_caret(doc, page, comment, "after", default)
                doc.xref_set_key(annot.xref, "IRT", "%d 0 R" % caret.xref)
                doc.xref_set_key(annot.xref, "RT", "/Group")
                keep.append(caret)
        elif kind == "note":
            if comment.margin:
                point = shapes.margin_point(target, comment.position.split()[0])
            else:
                point = shapes.note_point(target)
            annot = page.add_text_annot(_to_page(page, *point), comment.contents)
            _set_common(doc, annot, comment, comment.contents)
            keep.append(annot)
        elif kind == "freetext":
            if comment.margin:
                box = shapes.margin_box(target, comment.position.split()[0])
            else:
                box = shapes.word_box(target).grown(0.5)
            annot = page.add_freetext_annot(_box_to_page(page, box), comment.contents)
            _set_common(doc, annot, comment, comment.contents)
            keep.append(annot)
    doc.save(out)
    doc.close()


# --- annotation dictionaries written by hand ---------------------------------------------------

def _numbers(values):
    return "[%s]" % " ".join("%.3f" % v for v in values)


def markup_boxes(target, variant):
    """The boxes a markup's quadrilaterals are drawn from, in the order they are written: one
    for each line on the glyphs, or a thin band on the line ("band"), taller than the glyphs
    ("taller": by so much above and below), a line's height with its leading ("line_height", in
    em), one box for each word ("per_word"), the lines last to first ("reverse")."""
    if variant.get("per_word"):
        boxes = shapes.word_boxes(target)
    elif variant.get("band"):
        boxes = [shapes.band(glyphs, variant["band"]) for glyphs in shapes.line_glyphs(target)]
    else:
        boxes = shapes.line_boxes(target)
    if variant.get("taller"):
        by = variant["taller"]
        boxes = [shapes.Box(b.x0, b.y0 - by, b.x1, b.y1 + by) for b in boxes]
    if variant.get("line_height"):
        # From the font's ascent down by the line height with its leading, which typesetting
        # puts below the text.
        size = shapes.font_size(target)
        boxes = [shapes.Box(b.x0, b.y1 - variant["line_height"] * size, b.x1, b.y1)
                 for b in boxes]
    if variant.get("reverse"):
        boxes = boxes[::-1]
    return boxes


def _quad_points(boxes, variant):
    inset = variant.get("inset", 0)
    points = []
    for box in boxes:
        x0, y0, x1, y1 = box.x0 + inset, box.y0 + inset, box.x1 - inset, box.y1 - inset
        if variant.get("order") == "ccw":  # from the lower left, counter-clockwise
            points += [x0, y0, x1, y0, x1, y1, x0, y1]
        else:  # upper left, upper right, lower left, lower right
            points += [x0, y1, x1, y1, x0, y0, x1, y0]
    return points


def _outline(points):
    xs, ys = points[0::2], points[1::2]
    return [min(xs), min(ys), max(xs), max(ys)]


def _caret_dict(comment, at):
    variant = comment.variant
    if variant.get("rd"):
        # A wide rectangle with the drawn caret inset in it, 6 pt wide and as tall as the line.
        box = shapes.caret_box(comment.target, at, 6)
        inset = variant["rd"]
        rect = [box.x0 - inset[0], box.y0 - inset[1], box.x1 + inset[2], box.y1 + inset[3]]
        extra = "/RD %s " % _numbers(inset)
    else:
        width = variant.get("caret", CARET_WIDTH["dicts"])
        box = shapes.caret_box(comment.target, at, width, variant.get("caret_x"),
                               variant.get("caret_y"))
        rect, extra = [box.x0, box.y0, box.x1, box.y1], ""
    return "/Subtype /Caret /Rect %s %s/Sy /None /Contents %s" % (
        _numbers(rect), extra, fitz.get_pdf_str(comment.text))


def _annotation(doc, page_xref, comment, body, flags=4):
    # A variant may set other flags (/F), or turn the annotation (/Rotate, which viewers write
    # on comments made on a turned page); none has an appearance stream.
    flags = comment.variant.get("flags", flags)
    if comment.variant.get("rotate"):
        body += " /Rotate %d" % comment.variant["rotate"]
    xref = doc.get_new_xref()
    doc.update_object(xref, "<< /Type /Annot %s /T %s /M %s /P %d 0 R /F %d /C [1 0 0] >>" % (
        body, fitz.get_pdf_str(comment.author), fitz.get_pdf_str(DATE), page_xref, flags))
    return xref


def _annots_of(doc, page):
    kind, value = doc.xref_get_key(page.xref, "Annots")
    if kind == "xref":
        value = doc.xref_object(int(value.split()[0]), compressed=True)
    elif kind != "array":
        return []
    return [int(ref.split()[0]) for ref in re.findall(r"\d+ \d+ R", value)]


SUBTYPES = {"strikeout": "StrikeOut", "replace": "StrikeOut", "highlight": "Highlight",
            "underline": "Underline"}


def write_dicts(source, out, comments, tools):
    doc = fitz.open(source)
    added = {}  # page number -> xrefs
    for comment in comments:
        page = doc[comment.target.page.number]
        kind, target = comment.kind, comment.target
        refs = added.setdefault(page.number, [])
        if kind == "insert":
            refs.append(_annotation(doc, page.xref, comment, _caret_dict(comment, comment.at)))
        elif kind in SUBTYPES:
            points = _quad_points(markup_boxes(target, comment.variant), comment.variant)
            if comment.variant.get("no_quads"):  # a writer that gives the rectangle alone
                body = "/Subtype /%s /Rect %s" % (SUBTYPES[kind], _numbers(_outline(points)))
            else:
                body = "/Subtype /%s /QuadPoints %s /Rect %s" % (
                    SUBTYPES[kind], _numbers(points), _numbers(_outline(points)))
            markup = _annotation(doc, page.xref, comment, body)
            refs.append(markup)
            if kind == "replace":
                caret = _annotation(doc, page.xref, comment, _caret_dict(comment, "after"))
                doc.xref_set_key(markup, "IRT", "%d 0 R" % caret)
                doc.xref_set_key(markup, "RT", "/Group")
                refs.append(caret)
        elif kind == "note":
            if comment.margin:
                x, y = shapes.margin_point(target, comment.position.split()[0])
            else:
                x, y = shapes.note_point(target)
            size = shapes.NOTE_SIZE
            # Print, NoZoom, NoRotate: the icon keeps its upper left corner on the point, or
            # is centred on it, or has no size at all.
            rect = {"centred": [x - size / 2, y - size / 2, x + size / 2, y + size / 2],
                    "point": [x, y, x, y]}.get(comment.variant.get("icon"),
                                               [x, y - size, x + size, y])
            body = "/Subtype /Text /Rect %s /Name /Comment /Open false /Contents %s" % (
                _numbers(rect), fitz.get_pdf_str(comment.contents))
            refs.append(_annotation(doc, page.xref, comment, body, flags=28))
        elif kind == "freetext":
            if comment.margin:
                box = shapes.margin_box(target, comment.position.split()[0])
            else:
                box = shapes.word_box(target).grown(0.5)
            body = "/Subtype /FreeText /Rect %s /DA (0 g /Helv 9 Tf) /Contents %s" % (
                _numbers([box.x0, box.y0, box.x1, box.y1]), fitz.get_pdf_str(comment.contents))
            refs.append(_annotation(doc, page.xref, comment, body))
    for number, refs in added.items():
        page = doc[number]
        annots = _annots_of(doc, page) + refs
        doc.xref_set_key(page.xref, "Annots", "[%s]" % " ".join("%d 0 R" % r for r in annots))
    doc.save(out)
    doc.close()


# --- Poppler through GLib ----------------------------------------------------------------------

def poppler_available():
    try:
        import gi
        gi.require_version("Poppler", "0.18")
        from gi.repository import Poppler  # noqa: F401
        return True
    except (ImportError, ValueError):
        return False


def _poppler_space(page):
    """User space to Poppler's: the page as shown, origin lower left, y upwards."""
    shown = page.rect  # the rotated page's size
    down = _page_matrix(page) * page.rotation_matrix
    flip = fitz.Matrix(1, 0, 0, -1, 0, shown.height)
    return down * flip


def _poppler_point(Poppler, matrix, x, y):
    p = fitz.Point(x, y) * matrix
    point = Poppler.Point()
    point.x, point.y = p.x, p.y
    return point


def _poppler_rect(Poppler, matrix, box):
    rect = fitz.Rect(box[0], box[1], box[2], box[3]) * matrix
    rect.normalize()
    out = Poppler.Rectangle()
    out.x1, out.y1, out.x2, out.y2 = rect.x0, rect.y0, rect.x1, rect.y1
    return out


def write_poppler(source, out, comments, tools):
    import gi
    gi.require_version("Poppler", "0.18")
    from gi.repository import Poppler
    shown = fitz.open(source)
    matrices = {page.number: _poppler_space(page) for page in shown}
    shown.close()
    doc = Poppler.Document.new_from_file("file://" + os.path.abspath(source), None)
    makers = {"strikeout": Poppler.AnnotTextMarkup.new_strikeout,
              "highlight": Poppler.AnnotTextMarkup.new_highlight,
              "underline": Poppler.AnnotTextMarkup.new_underline}
    for comment in comments:
        target, matrix = comment.target, matrices[comment.target.page.number]
        page = doc.get_page(target.page.number)
        if comment.kind in makers:
            # Each corner keeps its meaning (upper left, upper right, lower left, lower right of
            # the glyphs in user space); Poppler maps the points back as they are.
            points = _quad_points(markup_boxes(target, comment.variant), {})
            quads = []
            for at in range(0, len(points), 8):
                quad = Poppler.Quadrilateral()
                quad.p1, quad.p2, quad.p3, quad.p4 = [
                    _poppler_point(Poppler, matrix, points[at + k], points[at + k + 1])
                    for k in range(0, 8, 2)]
                quads.append(quad)
            annot = makers[comment.kind](doc, _poppler_rect(Poppler, matrix, _outline(points)),
                                         quads)
        elif comment.kind == "note":
            if comment.margin:
                x, y = shapes.margin_point(target, comment.position.split()[0])
            else:
                x, y = shapes.note_point(target)
            # The icon as shown, its upper left corner on the point; Poppler keeps that corner
            # where it is shown and writes the rectangle for an icon that does not turn with
            # the page.
            point = fitz.Point(x, y) * matrix
            size = shapes.NOTE_SIZE
            rect = Poppler.Rectangle()
            rect.x1, rect.y1, rect.x2, rect.y2 = point.x, point.y - size, point.x + size, point.y
            annot = Poppler.AnnotText.new(doc, rect)
            annot.set_contents(comment.contents)
        else:
            raise ValueError("poppler writes no %s" % comment.kind)
        annot.set_label(comment.author)
        page.add_annot(annot)
    if not doc.save("file://" + os.path.abspath(out)):
        raise RuntimeError("Poppler did not save %s" % out)


WRITERS = {"reviewer": write_reviewer, "pymupdf": write_pymupdf, "dicts": write_dicts,
           "poppler": write_poppler}
