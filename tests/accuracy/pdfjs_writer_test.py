#!/usr/bin/python3
"""The browser viewer's writer: which saved annotation gets which comment's /T, when the
installed packages count as matching their lock, and (where node and Chromium are there) the
real viewer highlighting exactly the selected words and typing a text box."""
import json
import os
import sys
import tempfile
import types
import unittest

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))

import fitz  # noqa: E402

import pdf_pages  # noqa: E402
import pdfjs_writer  # noqa: E402

LINE = "Hello world of the numbered headings."


def made_page(folder):
    """A one-page PDF with one line of text and one annotation that was there before."""
    doc = fitz.open()
    page = doc.new_page()
    page.insert_text((72, 100), LINE, fontsize=11)
    page.add_text_annot((20, 20), "older")
    path = os.path.join(folder, "source.pdf")
    doc.save(path)
    doc.close()
    return path


def comment(author, kind, page, first, last, contents=None):
    """A planned comment over glyphs first..last of the page (text glyphs from read_pages)."""
    target = types.SimpleNamespace(page=page, first=first, last=last,
                                   glyphs=page.glyphs[first:last + 1])
    return types.SimpleNamespace(author=author, kind=kind, target=target, contents=contents,
                                 variant={}, margin=True)


def highlight_over(page, glyphs):
    quad = fitz.Rect(min(g.x0 for g in glyphs), min(g.y0 for g in glyphs),
                     max(g.x1 for g in glyphs), max(g.y1 for g in glyphs))
    # user space to PyMuPDF's page space (y downwards) on an upright page
    return page.add_highlight_annot(fitz.Rect(quad.x0, 842 - quad.y1, quad.x1, 842 - quad.y0))


class NamingAuthors(unittest.TestCase):
    def setUp(self):
        self.folder = tempfile.TemporaryDirectory(prefix="pdfjs-writer-test-")
        self.source = made_page(self.folder.name)
        self.page = pdf_pages.read_pages(self.source)[0]
        self.world = comment("pj-1", "highlight", self.page, 6, 10)  # "world"
        self.headings = comment("pj-2", "highlight", self.page, 28, 36)  # "headings."
        self.box = comment("pj-3", "freetext", self.page, 0, 4, "note 3")

    def tearDown(self):
        self.folder.cleanup()

    def saved(self, add):
        """The source with the annotations `add` puts on it, as the viewer would save it."""
        doc = fitz.open(self.source)
        keep = add(doc[0])
        path = os.path.join(self.folder.name, "saved.pdf")
        doc.save(path)
        doc.close()
        del keep
        return path

    def authors(self, saved, comments):
        out = os.path.join(self.folder.name, "named.pdf")
        pdfjs_writer._name_authors(self.source, saved, out, comments)
        with fitz.open(out) as doc:
            return [(doc.xref_get_key(x, "Subtype")[1], doc.xref_get_key(x, "T")[1])
                    for x in pdf_pages.annotations(doc, doc[0])]

    def test_each_added_annotation_is_named_by_where_it_lies_or_what_it_says(self):
        # Added in another order than the comments are listed; the older note keeps its title.
        def add(page):
            return [highlight_over(page, self.page.glyphs[28:37]),
                    page.add_freetext_annot(fitz.Rect(400, 100, 440, 120), "note 3"),
                    highlight_over(page, self.page.glyphs[6:11])]
        named = self.authors(self.saved(add), [self.world, self.headings, self.box])
        self.assertEqual([n for n in named if n[1] != "null"],
                         [("/Highlight", "pj-2"), ("/FreeText", "pj-3"),
                          ("/Highlight", "pj-1")])
        self.assertEqual(named[0][0], "/Text")
        self.assertNotIn(named[0][1], ("pj-1", "pj-2", "pj-3"))

    def test_an_annotation_for_no_comment_or_a_comment_without_one_fails(self):
        cases = (
            ("a highlight where none was asked",
             lambda page: [highlight_over(page, self.page.glyphs[0:5])], [self.world]),
            ("a comment the viewer made nothing for",
             lambda page: [highlight_over(page, self.page.glyphs[6:11])],
             [self.world, self.headings]),
            ("a text box saying something else",
             lambda page: [page.add_freetext_annot(fitz.Rect(400, 100, 440, 120), "note 4")],
             [self.box]),
        )
        for name, add, comments in cases:
            with self.subTest(name):
                with self.assertRaises(RuntimeError):
                    self.authors(self.saved(add), comments)


class InstalledPackages(unittest.TestCase):
    def test_node_modules_match_the_lock_only_with_the_same_versions(self):
        lock = {"packages": {"": {"name": "x"}, "node_modules/a": {"version": "1.0.0"}}}
        cases = (("same", {"node_modules/a": {"version": "1.0.0"}}, True),
                 ("other version", {"node_modules/a": {"version": "1.0.1"}}, False),
                 ("one more", {"node_modules/a": {"version": "1.0.0"},
                               "node_modules/b": {"version": "2.0.0"}}, False),
                 ("not installed", None, False))
        for name, installed, expected in cases:
            with self.subTest(name), tempfile.TemporaryDirectory(prefix="pdfjs-lock-") as here:
                with open(os.path.join(here, "package-lock.json"), "w") as f:
                    json.dump(lock, f)
                if installed is not None:
                    os.makedirs(os.path.join(here, "node_modules"))
                    with open(os.path.join(here, "node_modules", ".package-lock.json"), "w") as f:
                        json.dump({"packages": installed}, f)
                saved, pdfjs_writer.HERE = pdfjs_writer.HERE, here
                try:
                    self.assertEqual(pdfjs_writer._installed(), expected)
                finally:
                    pdfjs_writer.HERE = saved


@unittest.skipUnless(pdfjs_writer.available(), "node or Chromium is missing")
class RealViewer(unittest.TestCase):
    def test_the_viewer_highlights_the_selected_words_and_types_a_box(self):
        with tempfile.TemporaryDirectory(prefix="pdfjs-viewer-test-") as folder:
            source = made_page(folder)
            page = pdf_pages.read_pages(source)[0]
            page.number = 0
            words = comment("pj-1", "highlight", page, 6, 13)  # "world of"
            words.contents, words.variant = "note 1", {"comment": True}
            box = comment("pj-2", "freetext", page, 0, 4, "note 2")
            out = os.path.join(folder, "out.pdf")
            pdfjs_writer.ensure_modules()
            original, pdfjs_writer.shapes.free_box = pdfjs_writer.shapes.free_box, \
                lambda c: types.SimpleNamespace(x0=400, y0=700, x1=440, y1=712)
            try:
                pdfjs_writer.write_pdfjs(source, out, [words, box], None)
            finally:
                pdfjs_writer.shapes.free_box = original
            with fitz.open(out) as doc:
                found = {doc.xref_get_key(x, "T")[1]: x for x in pdf_pages.annotations(doc, doc[0])}
                quads = [float(n) for n in pdfjs_writer.shapes.NUMBER.findall(
                    doc.xref_get_key(found["pj-1"], "QuadPoints")[1])]
                self.assertEqual(doc.xref_get_key(found["pj-1"], "Contents")[1], "note 1")
                self.assertEqual(doc.xref_get_key(found["pj-2"], "Contents")[1], "note 2")
            # The selection's quadrilateral covers "world of", and no glyph of the words beside.
            for i, glyph in enumerate(page.glyphs):
                inside = pdfjs_writer._contains(quads, *glyph.centre)
                if not glyph.blank:
                    self.assertEqual(inside, 6 <= i <= 13, "glyph %d %r" % (i, glyph.char))


if __name__ == "__main__":
    unittest.main()
