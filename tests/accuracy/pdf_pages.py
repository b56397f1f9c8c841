"""The pages of an exported PDF as PyMuPDF reads them: characters with their boxes in PDF user
space (origin at the media box's lower left, y upwards, the same on a turned page as on an
upright one), from which every writer draws its comments; the annotations a page lists; and
copies of the PDF with other page boxes.
"""
import re
import types

import fitz

EXTRACT_FLAGS = (fitz.TEXT_PRESERVE_WHITESPACE | fitz.TEXT_PRESERVE_LIGATURES
                 | fitz.TEXT_MEDIABOX_CLIP)
BLANKS = " \t\n\r\xa0"
CROP_INSET = 24
OFFSET = 10


class Glyph:
    __slots__ = ("char", "x0", "y0", "x1", "y1", "base", "size", "line")

    def __init__(self, char, x0, y0, x1, y1, base, size):
        self.char = char
        self.x0, self.y0, self.x1, self.y1 = x0, y0, x1, y1  # user space, y0 < y1
        # The baseline's y (between y0 and y1: the box runs from the font's descent to its
        # ascent) and the font size, for shapes drawn from the baseline.
        self.base, self.size = base, size
        self.line = 0  # visual line on the page, from 0 in drawing order

    @property
    def centre(self):
        return ((self.x0 + self.x1) / 2, (self.y0 + self.y1) / 2)

    @property
    def blank(self):
        return self.char in BLANKS


def read_pages(pdf_path):
    """Each page's number (from 0), glyphs and their text."""
    doc = fitz.open(pdf_path)
    pages = []
    for page in doc:
        # Read upright (in memory only), so that PyMuPDF's page space is the unrotated page
        # whatever this PyMuPDF version does with a rotation while it reads text.
        page.set_rotation(0)
        to_user = ~page.transformation_matrix
        glyphs = []
        for block in page.get_text("rawdict", flags=EXTRACT_FLAGS)["blocks"]:
            for line in block.get("lines", []):
                for span in line["spans"]:
                    for char in span["chars"]:
                        r = fitz.Rect(char["bbox"]) * to_user
                        r.normalize()
                        origin = fitz.Point(char["origin"]) * to_user
                        glyphs.append(Glyph(char["c"], r.x0, r.y0, r.x1, r.y1, origin.y,
                                            span["size"]))
        # A glyph starts a new line when it lies left of the one before it (the text wrapped)
        # or wholly below it; a superscript or a table cell further right stays on the line.
        for before, glyph in zip(glyphs, glyphs[1:]):
            glyph.line = before.line + (glyph.x0 < before.x0 - 0.5 or glyph.y1 < before.y0)
        pages.append(types.SimpleNamespace(number=page.number, glyphs=glyphs,
                                           text="".join(g.char for g in glyphs)))
    doc.close()
    return pages


def annotations(doc, page):
    """The xrefs of the annotations the page lists, in /Annots order."""
    kind, value = doc.xref_get_key(page.xref, "Annots")
    if kind == "xref":
        value = doc.xref_object(int(value.split()[0]), compressed=True)
    elif kind != "array":
        return []
    return [int(ref) for ref in re.findall(r"(\d+) \d+ R", value)]


def _stream(doc, data):
    xref = doc.get_new_xref()
    doc.update_object(xref, "<< >>")
    doc.update_stream(xref, data, compress=False)
    return xref


def rebox(source, out, how):
    """Writes source with its pages' boxes as PDFs that other programs made or edited often
    have them, while the page shows the same: "crop", a /CropBox CROP_INSET points inside the
    media box on every side (a page cut to its text); "offset", the media box and the content
    moved by OFFSET in x and y (a page taken out of a larger sheet), so that every point of the
    text lies further in user space."""
    if how not in ("crop", "offset"):
        raise ValueError("no such page box change: %s" % how)
    doc = fitz.open(source)
    for page in doc:
        kind, media = doc.xref_get_key(page.xref, "MediaBox")
        if kind != "array":
            raise ValueError("page %d has no media box of its own" % (page.number + 1))
        x0, y0, x1, y1 = [float(n) for n in media.strip("[]").split()]
        if how == "crop":
            doc.xref_set_key(page.xref, "CropBox", "[%g %g %g %g]" % (
                x0 + CROP_INSET, y0 + CROP_INSET, x1 - CROP_INSET, y1 - CROP_INSET))
            continue
        doc.xref_set_key(page.xref, "MediaBox", "[%g %g %g %g]" % (
            x0 + OFFSET, y0 + OFFSET, x1 + OFFSET, y1 + OFFSET))
        kind, value = doc.xref_get_key(page.xref, "Contents")
        if kind not in ("xref", "array"):
            raise ValueError("page %d has no content stream" % (page.number + 1))
        contents = [int(ref) for ref in re.findall(r"(\d+) \d+ R", value)]
        refs = [_stream(doc, b"q 1 0 0 1 %d %d cm\n" % (OFFSET, OFFSET))] + contents + \
            [_stream(doc, b"\nQ\n")]
        doc.xref_set_key(page.xref, "Contents", "[%s]" % " ".join("%d 0 R" % r for r in refs))
    doc.save(out)
    doc.close()
