#!/usr/bin/python3
"""Writes small malformed PDFs, byte by byte, as seeds for the PDF fuzzers.

Usage: hand_made_seeds.py OUT_DIR

Each claims the host as its creator, so that the import goes past its first check, and each
carries one kind of damage the readers must survive: loops in the structure tree, reply
threads that point at themselves, QuadPoints of the wrong kind, a broken cross-reference table.
"""
import os
import sys

HELVETICA = "<< /Type /Font /Subtype /Type1 /BaseFont /Helvetica >>"


def pdf(objects, break_xref=False):
    out = b"%PDF-1.7\n%\xe2\xe3\xcf\xd3\n"
    offsets = []
    for number, body in enumerate(objects, start=1):
        offsets.append(len(out))
        out += b"%d 0 obj\n" % number + body.encode("latin-1") + b"\nendobj\n"
    xref = len(out)
    out += b"xref\n0 %d\n0000000000 65535 f \n" % (len(objects) + 1)
    for offset in offsets:
        out += b"%010d 00000 n \n" % (offset + 7 if break_xref else offset)
    out += (b"trailer\n<< /Size %d /Root 1 0 R /Info %d 0 R >>\nstartxref\n%d\n%%%%EOF\n"
            % (len(objects) + 1, len(objects), xref))
    return out


def stream(data):
    return "<< /Length %d >>\nstream\n%s\nendstream" % (len(data), data)


def tagged(page_extra="", annots="[]", struct_kids="[7 0 R]", elements=None, content=None):
    """A one-page tagged PDF: 1 catalog, 2 pages, 3 page, 4 font, 5 content, 6 struct root,
    7.. elements, last the information dictionary."""
    content = content or "/P <</MCID 0>> BDC BT /F1 12 Tf 72 700 Td (Hello world) Tj ET EMC"
    elements = elements or ["<< /Type /StructElem /S /P /P 6 0 R /Pg 3 0 R /K 0 "
                            "/ID (P10#0#0#11#12) >>"]
    info = len(elements) + 7
    objects = [
        "<< /Type /Catalog /Pages 2 0 R /StructTreeRoot 6 0 R /MarkInfo << /Marked true >> >>",
        "<< /Type /Pages /Kids [3 0 R] /Count 1 >>",
        "<< /Type /Page /Parent 2 0 R /MediaBox [0 0 595 842] /Contents 5 0 R "
        "/Resources << /Font << /F1 4 0 R >> >> /StructParents 0 /Annots %s %s >>"
        % (annots, page_extra),
        HELVETICA,
        stream(content),
        "<< /Type /StructTreeRoot /K %s /ParentTree << /Nums [0 [7 0 R]] >> >>" % struct_kids,
    ] + elements + ["<< /Creator (Tolvane 17.0) /Producer (hand) >>"]
    assert len(objects) == info
    return objects


def annot(body):
    return "[<< /Type /Annot %s >>]" % body


SEEDS = {
    "parent-loop": tagged(elements=[
        "<< /Type /StructElem /S /P /P 8 0 R /Pg 3 0 R /K 0 >>",
        "<< /Type /StructElem /S /Sect /P 7 0 R /K [7 0 R] >>"]),
    "untyped-element": tagged(elements=["<< /Type /StructElem /P 6 0 R /Pg 3 0 R /K 0 >>"]),
    "mcid-nowhere": tagged(
        content="/P <</MCID 9>> BDC BT /F1 12 Tf 72 700 Td (Lost) Tj ET EMC"),
    "irt-self": tagged(annots=annot(
        "/Subtype /Text /Rect [72 690 90 710] /T (Kim) /Contents (me) /IRT 3 0 R "
        "/M (D:20261201000000Z)")),
    "quadpoints-wrong": tagged(annots=annot(
        "/Subtype /Highlight /Rect [72 690 150 712] /T (Ana) "
        "/QuadPoints [72 712 (x) 712 72 690 150 690 1e39 /N 0 0]")),
    "caret-bad-rect": tagged(annots=annot("/Subtype /Caret /Rect [(a) 1 2] /Contents (new)")),
    "broken-xref": None,
    "no-content": None,
}


def main(argv):
    out = argv[1]
    os.makedirs(out, exist_ok=True)
    written = 0
    for name, objects in SEEDS.items():
        if name == "broken-xref":
            data = pdf(tagged(), break_xref=True)
        elif name == "no-content":
            objects = tagged()
            objects[2] = objects[2].replace("/Contents 5 0 R ", "")
            data = pdf(objects)
        else:
            data = pdf(objects)
        with open(os.path.join(out, "hand-made-%s.pdf" % name), "wb") as f:
            f.write(data)
        written += 1
    return 0 if written else 1


if __name__ == "__main__":
    sys.exit(main(sys.argv))
