"""The PDF writers that put the planned comments into an exported PDF (docs/accuracy.md). Each
gets the comments' intended shapes in PDF user space (shapes.py) and converts them into its
library's coordinates itself.
"""
import json
import os
import subprocess
import sys

import fitz

import pdf_pages
import pdfjs_writer
import shapes
import text_layer
from plan import MARKUPS, SUBTYPES
from targets import canonical

DATE = "D:20260301120000Z"


def _page_matrix(page):
    """PDF user space to the coordinates PyMuPDF's annotation calls take: the unrotated page's,
    origin at the crop box's upper left corner. Built from the boxes, since this PyMuPDF's
    transformation_matrix leaves out where the crop box lies on a turned page."""
    return fitz.Matrix(1, 0, 0, -1, -page.cropbox.x0, page.mediabox.y1 - page.cropbox.y0)


def _rect(box, matrix):
    rect = fitz.Rect(*box) * matrix
    rect.normalize()
    return rect


def _search_text(glyphs):
    """The glyphs' text as the tool searches it: a line end reads as a blank."""
    return "".join((" " if before.line != glyph.line else "") + glyph.char
                   for before, glyph in zip(glyphs[:1] + glyphs, glyphs))


def _find(target):
    """The target's text as the tool finds it, and which hit of the tool's search on the page it
    is, counted as the tool counts them (canonical text, hits not overlapping). Text wrapped
    without a blank (Japanese) is searched with one at the line end."""
    find = _search_text(target.glyphs)
    needle, glyphs = canonical(find), target.page.glyphs
    wanted = len(canonical(_search_text(glyphs[:target.first + 1]))) - 1
    text = canonical(_search_text(glyphs))
    count, at = 0, text.find(needle)
    while 0 <= at < wanted:
        count += 1
        at = text.find(needle, at + len(needle))
    return {"find": find, "page": target.page.number, "occurrence": count}


def _reviewer_entry(comment, matrix):
    kind, variant, page = comment.kind, comment.variant, comment.target.page.number
    entry = {"kind": kind, "author": comment.author, "modified": DATE}
    if kind in ("note", "freetext"):
        entry["contents"] = comment.contents
    if comment.margin and kind == "note":
        return dict(entry, point=list(fitz.Point(*shapes.note_point(comment)) * matrix), page=page)
    if comment.margin:
        return dict(entry, rect=list(_rect(shapes.free_box(comment), matrix)), page=page)
    entry.update(_find(comment.target))
    if kind == "insert":
        entry["at"] = "start" if comment.at == "before" else "end"
    if kind in ("insert", "replace"):
        entry["text"] = comment.text
    entry.update({key: variant[name] for key, name in (("quad_order", "order"),
                                                       ("outset", "outset")) if variant.get(name)})
    return entry


def write_reviewer(source, out, comments, tools):
    with fitz.open(source) as doc:
        matrices = {page.number: _page_matrix(page) for page in doc}
    with open(out + ".json", "w", encoding="utf-8") as f:
        json.dump({"comments": [_reviewer_entry(c, matrices[c.target.page.number])
                                for c in comments]}, f, ensure_ascii=False, indent=1)
    run = subprocess.run([sys.executable, os.path.join(tools, "reviewer", "review.py"), source,
                          out + ".json", out], capture_output=True, text=True, timeout=120)
    if run.returncode != 0:
        raise RuntimeError("review.py: " + run.stderr.strip())


def write_pymupdf(source, out, comments, tools):
    # Where PyMuPDF puts its caret for a point, so that a caret is centred on the insertion
    # point as it is drawn.
    doc = fitz.open()
    page = doc.new_page()
    default = page.add_caret_annot(fitz.Point(100, 100)).rect
    dx, dy, width, height = default.x0 - 100, default.y0 - 100, default.width, default.height
    doc.close()
    doc = fitz.open(source)
    keep = []  # this PyMuPDF breaks its annotation objects when their handles are collected

    def finish(annot, comment, contents):
        annot.set_info(title=comment.author, content=contents)
        annot.update()
        doc.xref_set_key(annot.xref, "M", fitz.get_pdf_str(DATE))
        keep.append(annot)
        return annot

    def caret(page, comment, at):
        x, glyph = shapes.caret_x(comment, at)
        glyph = shapes.line_glyph(comment, glyph)
        centre = fitz.Point(x, (glyph.y0 + glyph.y1) / 2) * _page_matrix(page)
        point = fitz.Point(centre.x - width / 2 - dx, centre.y - height / 2 - dy)
        return finish(page.add_caret_annot(point), comment, comment.text)

    for comment in sorted(comments, key=lambda c: c.target.page.number):
        page = doc[comment.target.page.number]
        keep.append(page)
        kind, matrix = comment.kind, _page_matrix(page)
        if kind == "insert":
            caret(page, comment, comment.at)
        elif kind in MARKUPS:
            quads = [_rect(box, matrix).quad
                     for box in shapes.markup_boxes(comment.target, comment.variant)]
            add = {"highlight": page.add_highlight_annot, "underline": page.add_underline_annot}
            markup = finish(add.get(kind, page.add_strikeout_annot)(quads), comment, "")
            if kind == "replace":
                inserted = caret(page, comment, "after")
                doc.xref_set_key(markup.xref, "IRT", "%d 0 R" % inserted.xref)
                doc.xref_set_key(markup.xref, "RT", "/Group")
        elif kind == "note":
            point = fitz.Point(*shapes.note_point(comment)) * matrix
            finish(page.add_text_annot(point, comment.contents), comment, comment.contents)
        else:
            finish(page.add_freetext_annot(_rect(shapes.free_box(comment), matrix),
                                           comment.contents), comment, comment.contents)
    doc.save(out)
    doc.close()


def _numbers(values):
    return "[%s]" % " ".join("%.3f" % v for v in values)


def _quad_points(boxes, variant):
    inset = variant.get("inset", 0)
    points = []
    for box in boxes:
        x0, y0, x1, y1 = box.x0 + inset, box.y0 + inset, box.x1 - inset, box.y1 - inset
        # From the lower left counter-clockwise, or upper left, upper right, lower left, lower right
        points += [x0, y0, x1, y0, x1, y1, x0, y1] if variant.get("order") == "ccw" else \
            [x0, y1, x1, y1, x0, y0, x1, y0]
    return points


def _caret_dict(comment, at):
    inset = comment.variant.get("rd")
    if inset:
        # A wide rectangle with the drawn caret inset in it, 6 pt wide and as tall as the line.
        box = shapes.caret_box(comment, at, 6)
        rect = [box.x0 - inset[0], box.y0 - inset[1], box.x1 + inset[2], box.y1 + inset[3]]
        extra = "/RD %s " % _numbers(inset)
    else:
        # 13 pt wide where the comment's class names no width
        rect, extra = shapes.caret_box(comment, at, comment.variant.get("caret", 13)), ""
    return "/Subtype /Caret /Rect %s %s/Sy /None /Contents %s" % (
        _numbers(rect), extra, fitz.get_pdf_str(comment.text))


def write_dicts(source, out, comments, tools):
    doc = fitz.open(source)
    added = {}  # page number -> xrefs

    def annotation(page, comment, body, flags=4):
        # A variant may set other flags (/F), or turn the annotation (/Rotate, which viewers
        # write on comments made on a turned page); none has an appearance stream.
        if comment.variant.get("rotate"):
            body += " /Rotate %d" % comment.variant["rotate"]
        xref = doc.get_new_xref()
        doc.update_object(xref, "<< /Type /Annot %s /T %s /M %s /P %d 0 R /F %d /C [1 0 0] >>" % (
            body, fitz.get_pdf_str(comment.author), fitz.get_pdf_str(DATE), page.xref,
            comment.variant.get("flags", flags)))
        added.setdefault(page.number, []).append(xref)
        return xref

    for comment in comments:
        page, kind, variant = doc[comment.target.page.number], comment.kind, comment.variant
        if kind == "insert":
            annotation(page, comment, _caret_dict(comment, comment.at))
        elif kind in MARKUPS:
            points = _quad_points(shapes.markup_boxes(comment.target, variant), variant)
            quads = "" if variant.get("no_quads") else "/QuadPoints %s " % _numbers(points)
            markup = annotation(page, comment, "/Subtype /%s %s/Rect %s" % (
                SUBTYPES[kind], quads, _numbers(shapes.outline(points))))
            if kind == "replace":
                caret = annotation(page, comment, _caret_dict(comment, "after"))
                # The strike-out is grouped with the Caret after it, as is usual; or listed
                # after its Caret; or the Caret is grouped with the strike-out, after it or
                # before it.
                pairing = variant.get("pairing")
                caret_grouped = pairing in ("caret grouped", "caret grouped first")
                member, partner = (caret, markup) if caret_grouped else (markup, caret)
                doc.xref_set_key(member, "IRT", "%d 0 R" % partner)
                doc.xref_set_key(member, "RT", "/Group")
                if pairing in ("caret first", "caret grouped first"):
                    listed = added[page.number]
                    listed[-2:] = [caret, markup]
        elif kind == "note":
            # Print, NoZoom, NoRotate: the icon keeps its upper left corner on the point, or
            # has no size at all.
            x, y = shapes.note_point(comment)
            size = 0 if variant.get("icon") == "point" else shapes.NOTE_SIZE
            annotation(page, comment, "/Subtype /Text /Rect %s /Name /Comment /Open false "
                       "/Contents %s" % (_numbers([x, y - size, x + size, y]),
                                         fitz.get_pdf_str(comment.contents)), flags=28)
        elif variant.get("callout"):
            # /IT is left out on the left: the callout line alone says what the box is.
            line, box = shapes.callout(comment)
            points = [n for point in line for n in point]
            rect = shapes.outline(points + list(box))
            intent = "" if variant["callout"] == "left margin" else "/IT /FreeTextCallout "
            annotation(page, comment, "/Subtype /FreeText %s/Rect %s /RD %s /CL %s /LE /OpenArrow "
                       "/DA (0 g /Helv 9 Tf) /Contents %s" % (
                           intent, _numbers(rect), _numbers([
                               box.x0 - rect.x0, rect.y1 - box.y1, rect.x1 - box.x1,
                               box.y0 - rect.y0]), _numbers(points),
                           fitz.get_pdf_str(comment.contents)))
        else:
            annotation(page, comment, "/Subtype /FreeText /Rect %s /DA (0 g /Helv 9 Tf) "
                       "/Contents %s" % (_numbers(shapes.free_box(comment)),
                                         fitz.get_pdf_str(comment.contents)))
    _save_with_annotations(doc, added, out)


def _save_with_annotations(doc, added, out):
    """Appends the annotation objects in `added` (page number -> xrefs) to their pages' /Annots
    and saves the document to `out`."""
    for number, refs in added.items():
        page = doc[number]
        annots = pdf_pages.annotations(doc, page) + refs
        doc.xref_set_key(page.xref, "Annots", "[%s]" % " ".join("%d 0 R" % r for r in annots))
    doc.save(out)
    doc.close()


def _poppler():
    import gi
    gi.require_version("Poppler", "0.18")
    from gi.repository import Poppler
    return Poppler


def poppler_available():
    try:
        return bool(_poppler())
    except (ImportError, ValueError):
        return False


def write_poppler(source, out, comments, tools):
    Poppler = _poppler()
    with fitz.open(source) as shown:  # user space to Poppler's: as shown, origin lower left
        matrices = {page.number: _page_matrix(page) * page.rotation_matrix *
                    fitz.Matrix(1, 0, 0, -1, 0, page.rect.height) for page in shown}

    def rectangle(x0, y0, x1, y1):
        rect = Poppler.Rectangle()
        rect.x1, rect.y1, rect.x2, rect.y2 = x0, y0, x1, y1
        return rect

    def point(x, y, matrix):
        made, (made.x, made.y) = Poppler.Point(), fitz.Point(x, y) * matrix
        return made

    doc = Poppler.Document.new_from_file("file://" + os.path.abspath(source), None)
    makers = {"strikeout": Poppler.AnnotTextMarkup.new_strikeout,
              "highlight": Poppler.AnnotTextMarkup.new_highlight,
              "underline": Poppler.AnnotTextMarkup.new_underline}
    for comment in comments:
        target, matrix = comment.target, matrices[comment.target.page.number]
        if comment.kind in makers:
            # Each corner keeps its meaning (upper left, upper right, lower left, lower right of
            # the glyphs in user space); Poppler maps the points back as they are.
            points = _quad_points(shapes.markup_boxes(target, comment.variant), {})
            quads = [Poppler.Quadrilateral() for _ in range(0, len(points), 8)]
            for at, quad in zip(range(0, len(points), 8), quads):
                quad.p1, quad.p2, quad.p3, quad.p4 = [point(*points[k:k + 2], matrix)
                                                      for k in range(at, at + 8, 2)]
            annot = makers[comment.kind](doc, rectangle(*_rect(shapes.outline(points), matrix)),
                                         quads)
        elif comment.kind == "note":
            # The icon as shown, its upper left corner on the point; Poppler keeps that corner
            # where it is shown and writes the rectangle for an icon that does not turn with
            # the page.
            at, size = fitz.Point(*shapes.note_point(comment)) * matrix, shapes.NOTE_SIZE
            annot = Poppler.AnnotText.new(doc, rectangle(at.x, at.y - size, at.x + size, at.y))
            annot.set_contents(comment.contents)
        else:
            raise ValueError("poppler writes no %s" % comment.kind)
        annot.set_label(comment.author)
        doc.get_page(target.page.number).add_annot(annot)
    if not doc.save("file://" + os.path.abspath(out)):
        raise RuntimeError("Poppler did not save %s" % out)


def write_browser(source, out, comments, tools):
    """A viewer in a web browser: highlights from selections over its text layer
    (text_layer.py), some with a comment, and text boxes typed in the margin. It writes no
    appearance streams and puts the author in /T."""
    doc = fitz.open(source)
    layers, added = {}, {}
    for comment in comments:
        page = doc[comment.target.page.number]
        target = comment.target
        if comment.kind == "highlight":
            if page.number not in layers:
                layers[page.number] = text_layer.TextLayer(target.page)
            rects = layers[page.number].selection(target.first, target.last)
            points = []
            for x0, y0, x1, y1 in rects:
                points += [x0, y1, x1, y1, x0, y0, x1, y0]
            contents = comment.contents if comment.variant.get("comment") else ""
            body = "/Subtype /Highlight /QuadPoints %s /Rect %s /Contents %s" % (
                _numbers(points), _numbers(shapes.outline(points)), fitz.get_pdf_str(contents))
        elif comment.kind == "freetext":
            body = "/Subtype /FreeText /Rect %s /DA (0 g /Helv 10 Tf) /Contents %s" % (
                _numbers(shapes.free_box(comment)), fitz.get_pdf_str(comment.contents))
        else:
            raise ValueError("the browser viewer writes no %s here" % comment.kind)
        xref = doc.get_new_xref()
        doc.update_object(xref, "<< /Type /Annot %s /T %s /M %s /P %d 0 R /F 4 /C [1 1 0] >>" % (
            body, fitz.get_pdf_str(comment.author), fitz.get_pdf_str(DATE), page.xref))
        added.setdefault(page.number, []).append(xref)
    _save_with_annotations(doc, added, out)


WRITERS = {"reviewer": write_reviewer, "pymupdf": write_pymupdf, "dicts": write_dicts,
           "poppler": write_poppler, "browser": write_browser,
           "pdfjs": pdfjs_writer.write_pdfjs}
