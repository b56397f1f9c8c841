"""Pages whose boxes are not the plain media box at the origin, made from an exported PDF.

The host's export writes every page as /MediaBox [0 0 595.28 841.89] and nothing else; PDFs
that other programs made or edited often have a /CropBox inside the media box (a page cut to
its text), or a media box that does not start at the origin (a page taken out of a larger
sheet). Both are made here from the export, keeping what the page shows:

- "crop": a /CropBox CROP_INSET points inside the media box on every side. The text and the
  margins the comments use stay inside it.
- "offset": the media box moved by OFFSET (x and y) and the page's content with it
  ("1 0 0 1 dx dy cm" around the content), so the page shows the same, while every point of
  the text has user-space coordinates OFFSET larger. The targets are read from this PDF, so
  the intended shapes move with the text.
"""
import fitz

CROP_INSET = 24
OFFSET = 10


def _box(doc, page, key):
    kind, value = doc.xref_get_key(page.xref, key)
    if kind != "array":
        return None
    return [float(n) for n in value.strip("[]").split()]


def _contents(doc, page):
    kind, value = doc.xref_get_key(page.xref, "Contents")
    if kind == "xref":
        return [int(value.split()[0])]
    if kind == "array":
        refs = value.strip("[]").split()
        return [int(refs[i]) for i in range(0, len(refs), 3)]
    raise ValueError("page %d has no content stream" % (page.number + 1))


def _stream(doc, data):
    xref = doc.get_new_xref()
    doc.update_object(xref, "<< >>")
    doc.update_stream(xref, data, compress=False)
    return xref


def rebox(source, out, how):
    """Writes source with its pages' boxes changed as `how` says ("crop" or "offset")."""
    doc = fitz.open(source)
    for page in doc:
        media = _box(doc, page, "MediaBox")
        if media is None:
            raise ValueError("page %d has no media box of its own" % (page.number + 1))
        x0, y0, x1, y1 = media
        if how == "crop":
            doc.xref_set_key(page.xref, "CropBox", "[%g %g %g %g]" % (
                x0 + CROP_INSET, y0 + CROP_INSET, x1 - CROP_INSET, y1 - CROP_INSET))
        elif how == "offset":
            moved = [x0 + OFFSET, y0 + OFFSET, x1 + OFFSET, y1 + OFFSET]
            doc.xref_set_key(page.xref, "MediaBox", "[%g %g %g %g]" % tuple(moved))
            before = _stream(doc, b"q 1 0 0 1 %d %d cm\n" % (OFFSET, OFFSET))
            after = _stream(doc, b"\nQ\n")
            refs = [before] + _contents(doc, page) + [after]
            doc.xref_set_key(page.xref, "Contents", "[%s]" % " ".join("%d 0 R" % r
                                                                     for r in refs))
        else:
            raise ValueError("no such page box change: %s" % how)
    doc.save(out)
    doc.close()
