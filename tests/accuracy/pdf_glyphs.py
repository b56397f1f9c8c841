"""The characters of an exported PDF with their boxes in PDF user space, as PyMuPDF reads them.

User space is the PDF's own: origin at the media box's lower left, y upwards, and the same on
a page with /Rotate as on an upright one (rotation only changes how a viewer shows the page).
Every writer draws its comments from these boxes and converts them into its own library's
coordinates, so that the comments of all writers mean the same places.
"""
import fitz

EXTRACT_FLAGS = (fitz.TEXT_PRESERVE_WHITESPACE | fitz.TEXT_PRESERVE_LIGATURES
                 | fitz.TEXT_MEDIABOX_CLIP)
BLANKS = " \t\n\r\xa0"


class Glyph:
    __slots__ = ("char", "x0", "y0", "x1", "y1", "base", "size", "line")

    def __init__(self, char, x0, y0, x1, y1, base=None, size=0.0):
        self.char = char
        self.x0, self.y0, self.x1, self.y1 = x0, y0, x1, y1  # user space, y0 < y1
        # The baseline's y in user space (between y0 and y1: the box runs from the font's
        # descent to its ascent) and the font size, for shapes drawn from the baseline.
        self.base = y0 if base is None else base
        self.size = size
        self.line = 0  # visual line on the page, from 0 in drawing order

    @property
    def centre(self):
        return ((self.x0 + self.x1) / 2, (self.y0 + self.y1) / 2)

    @property
    def blank(self):
        return self.char in BLANKS


class Page:
    def __init__(self, number, rotation, mediabox, glyphs):
        self.number = number  # from 0
        self.rotation = rotation
        self.mediabox = mediabox  # (x0, y0, x1, y1) in user space
        self.glyphs = glyphs
        self.text = "".join(g.char for g in glyphs)


def _number_lines(glyphs):
    # A glyph starts a new line when it lies left of the one before it (the text wrapped) or
    # wholly below it; a superscript or a table cell further right stays on the line.
    line = 0
    for before, glyph in zip([None] + glyphs, glyphs):
        if before is not None and (glyph.x0 < before.x0 - 0.5 or glyph.y1 < before.y0):
            line += 1
        glyph.line = line


def read_pages(pdf_path):
    doc = fitz.open(pdf_path)
    pages = []
    for page in doc:
        rotation = page.rotation
        # Read upright (in memory only), so that PyMuPDF's page space is the unrotated page
        # whatever this PyMuPDF version does with a rotation while it reads text.
        page.set_rotation(0)
        to_user = ~page.transformation_matrix  # PyMuPDF's page space to PDF user space
        box = page.mediabox * to_user
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
        _number_lines(glyphs)
        box.normalize()
        pages.append(Page(page.number, rotation, (box.x0, box.y0, box.x1, box.y1), glyphs))
    doc.close()
    return pages
