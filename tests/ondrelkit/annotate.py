"""Adds a reviewer's annotations to a PDF with PyMuPDF, for the PDF library's tests.

Usage: annotate.py IN.pdf OUT.pdf
Page 0 gets a highlight on "Hello" (author 注釈者, modified 2026-12-06 09:30 at +09:00), a sticky
note without a date, and a strike-out with a reply; page 1 is rotated by 90 degrees and gets an underline, a squiggly underline, a free-text
note, a caret and a strike-out grouped with the caret (IRT with RT /Group).
"""
import sys

import fitz


def main():
    source, target = sys.argv[1], sys.argv[2]
    doc = fitz.open(source)
    page = doc[0]
    quads = page.search_for("Hello", quads=True)
    highlight = page.add_highlight_annot(quads)
    highlight.set_info(title="注釈者", content="ここを確認", modDate="D:20261206093000+09'00'")
    highlight.update()
    note = page.add_text_annot(fitz.Point(300, 300), "A note")
    note.set_info(title="Reviewer")
    note.update()
    strike = page.add_strikeout_annot(quads)
    strike.set_info(title="Reviewer")
    strike.update()
    reply = page.add_text_annot(fitz.Point(320, 320), "I agree")
    reply.set_info(title="Second")
    reply.update()
    doc.xref_set_key(reply.xref, "IRT", f"{strike.xref} 0 R")
    doc.xref_set_key(reply.xref, "RT", "/R")
    if len(doc) > 1:
        second = doc[1]
        second.set_rotation(90)
        words = second.search_for("Hello", quads=True)
        second.add_underline_annot(words).update()
        second.add_squiggly_annot(words).update()
        second.add_freetext_annot(fitz.Rect(100, 400, 300, 430), "Free text").update()
        caret = second.add_caret_annot(fitz.Point(150, 150))
        caret.set_info(content="inserted")
        caret.update()
        grouped = second.add_strikeout_annot(words)
        grouped.update()
        doc.xref_set_key(grouped.xref, "IRT", f"{caret.xref} 0 R")
        doc.xref_set_key(grouped.xref, "RT", "/Group")
    doc.save(target)


if __name__ == "__main__":
    main()
