"""A model of the text layer a PDF viewer running in a web browser lays over the page, and of
the markup it writes from a selection in it. The viewer does not select the PDF's glyphs: each
line's text is one run in the browser's own fallback font, stretched to the width of the line,
so every character of the run stands off its glyph by what the two fonts' widths make of it.
A selection's rectangles come from that run; the viewer writes them as the quadrilaterals.
"""
import itertools

import fitz

LATIN_FONT = "/usr/share/fonts/truetype/dejavu/DejaVuSerif.ttf"
CJK_FONT = "/usr/share/fonts/opentype/ipafont-gothic/ipag.ttf"
# A glyph further along the line than this from the one before starts another run: table cells
# of one row are runs of their own.
RUN_GAP = 6.0


def _is_cjk(char):
    return ord(char) >= 0x2E80


class TextLayer:
    """The runs of a page's text layer: each glyph's index on the page mapped to the run's box
    for it (x0, x1 along the line; y0, y1 of the run)."""

    def __init__(self, page):
        self.fonts = {False: fitz.Font(fontfile=LATIN_FONT), True: fitz.Font(fontfile=CJK_FONT)}
        self.boxes = {}
        indexed = list(enumerate(page.glyphs))
        for _, line in itertools.groupby(indexed, lambda ig: ig[1].line):
            run = []
            for i, glyph in line:
                if run and glyph.x0 - run[-1][1].x1 > RUN_GAP:
                    self._lay(run)
                    run = []
                run.append((i, glyph))
            self._lay(run)

    def _lay(self, run):
        if not run:
            return
        # A blank that ends the line is no part of the run the viewer stretches.
        while len(run) > 1 and run[-1][1].blank:
            blank = run.pop()
            self.boxes[blank[0]] = (blank[1].x0, blank[1].x1, blank[1].y0, blank[1].y1)
        glyphs = [g for _, g in run]
        size = sorted(g.size for g in glyphs)[len(glyphs) // 2]
        widths = [self.fonts[_is_cjk(g.char)].text_length(g.char, fontsize=size) for g in glyphs]
        x0, x1 = glyphs[0].x0, max(g.x1 for g in glyphs)
        y0, y1 = min(g.y0 for g in glyphs), max(g.y1 for g in glyphs)
        scale = (x1 - x0) / sum(widths) if sum(widths) > 0 else 1.0
        at = x0
        for (i, _), width in zip(run, widths):
            self.boxes[i] = (at, at + width * scale, y0, y1)
            at += width * scale

    def selection(self, first, last):
        """The rectangles a selection from glyph `first` to glyph `last` (both included) gives:
        one per run it passes through, from its first character's start to its last one's end."""
        rects = []
        for _, group in itertools.groupby(range(first, last + 1),
                                          lambda i: (self.boxes[i][2], self.boxes[i][3])):
            group = list(group)
            a, b = self.boxes[group[0]], self.boxes[group[-1]]
            rects.append((a[0], a[2], b[1], a[3]))
        return rects

    def offset(self, index, glyph):
        """How far the run's character stands from its glyph along the line (its start)."""
        return self.boxes[index][0] - glyph.x0
