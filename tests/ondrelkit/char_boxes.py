"""Prints the character boxes PyMuPDF finds, for comparison with the PDF library's.

Usage: char_boxes.py IN.pdf
One line per character: page, code point, left, bottom, right, top in the page's unrotated
user space with y upward (as a PDF library reports boxes).
"""
import sys

import fitz


def main():
    doc = fitz.open(sys.argv[1])
    for number, page in enumerate(doc):
        height = page.mediabox.height
        for block in page.get_text("rawdict")["blocks"]:
            for line in block.get("lines", []):
                for span in line["spans"]:
                    for char in span["chars"]:
                        box = fitz.Rect(char["bbox"]) * page.derotation_matrix
                        print(number, ord(char["c"]), box.x0, height - box.y1, box.x1,
                              height - box.y0)


if __name__ == "__main__":
    main()
