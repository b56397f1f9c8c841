#!/usr/bin/python3
"""Adds a reviewer's comments to a PDF, as described in a JSON file.

Usage: review.py IN.pdf DESCRIPTION.json OUT.pdf

Positions come from PyMuPDF's own reading of the page (its characters and their boxes), so
that what reads the comments back is tested against an independent reading of the page. The
description:

{"comments": [ COMMENT, ... ]}

COMMENT:
  "kind":       "insert" (Caret), "strikeout", "deletion" (a strike-out written with /Subtype
                /Deletion), "replace" (StrikeOut then Caret, the strike-out grouped with the
                caret through IRT and RT /Group), "highlight", "underline", "squiggly", "note"
                (Text), "freetext"; and two kinds of drawing, "square" (a Square around the
                found text's box) and "ink" (an Ink stroke under the found text)
  "find":       text to search for, matched as PyMuPDF's search does: ASCII letters in either
                case, any run of blanks and line ends for any run of blanks; it may run over
                line ends, and a markup then has one quadrilateral per line. "occurrence":
                which hit, from 0 (default 0), counted over all pages in order, or on "page"
                (from 0) only when it is given
  "quad_order": "ccw" writes each quadrilateral of a markup counter-clockwise from the lower
                left (lower left, lower right, upper right, upper left) instead of the usual
                upper left, upper right, lower left, lower right
  "line_ends":  "trim" leaves the blanks at the ends of each line out of a markup's
                quadrilaterals, as a reviewer's program that marks whole words does
  "at":         for "insert": "end" (default) puts the caret after the found text, "start"
                before it
  "point":      [x, y] instead of "find", for "note" and "insert" (PyMuPDF page
                coordinates: origin top left); needs "page"
  "caret_height": for "insert": the height of the Caret's rectangle, centred on the point
                (default 12), or on the middle of the found text's line on an upright page
                (default: as high as the line)
  "rect":       [x0, y0, x1, y1] for "freetext" (default: the found text's box)
  "callout":    [dx, dy] for "freetext" with "find": a callout as some viewers draw it, its
                40 x 20 pt box set apart from the text with its nearer upper corner at this
                offset from the middle of the found text's first line, and a line with an
                arrow (/IT /FreeTextCallout, /CL with a knee) from the box to that middle point
  "caret_width": for "insert" and "replace": the width of the Caret's rectangle along the line
                (default 10), centred on the insertion point
  "caret_insets": [left, top, right, bottom]: a Caret drawn small inside a larger rectangle, as
                some viewers write it: the rectangle grows by these and /RD gives them
  "outset":     for markups: each quadrilateral reaches this much past the text along its line
                at both ends (negative: it stops short of the first and last glyph's edges);
                [start, end] sets each end on its own, as a viewer that selects over a text
                layer of its own draws them
  "text":       the inserted text of "insert" and "replace" (the Caret's Contents)
  "contents":   Contents of the annotation (for "replace": of the strike-out)
  "author":     the title /T; absent or null writes none
  "modified":   the modification date /M as a PDF date ("D:20260101120000Z"); absent or
                null writes none
  "created":    the creation date /CreationDate, as "modified"; absent or null writes none
  "name":       the annotation's name /NM (a replace's Caret gets it with "-caret"); absent
                keeps the one PyMuPDF gives ("fitz-A0", ..., numbered per page), null writes none
  "replies":    [REPLY, ...]: Text annotations with IRT to this one; REPLY has "author",
                "modified", "contents", "rt" (a name: "R", the default, or null for no RT entry)
                and "replies" of its own
  "states":     [{"model": "Review", "state": "Accepted", "author", "modified", "rt"}]:
                Text annotations with IRT, StateModel and State
  "thread_on":  for "replace": which half gets the replies and states, "strikeout" (default)
                or "caret"
  "annots_index": where this annotation stands in its page's /Annots once everything is
                written, from 0, counting annotations other than pop-ups (a pop-up stays
                right after its parent; an index past the end puts it last); for "replace" the
                strike-out. Also on a REPLY and a state, so that one can come before its
                target. Annotations are placed in the order they were written.

Prints, as JSON, one entry per annotation written: kind, page, xref, rect. A description
that does not fit this, or a text that is not found, is refused with a one-line message on
the error output and exit status 1, and OUT.pdf is not written.
"""
import json
import os
import re
import sys

import fitz


class DescriptionError(Exception):
    pass


KINDS = ("insert", "strikeout", "deletion", "replace", "highlight", "underline", "squiggly",
         "note", "freetext", "square", "ink")
QUAD_KINDS = ("strikeout", "deletion", "replace", "highlight", "underline", "squiggly")
_RT_NAME = re.compile(r"[A-Za-z][A-Za-z0-9]*\Z")


# The description is checked whole before the PDF is opened, so that a mistake in it is
# reported as such and never surfaces half way through as an error of PyMuPDF or of Python.
def check_description(data):
    if not isinstance(data, dict):
        raise DescriptionError("the description must be a JSON object with \"comments\"")
    comments = data.get("comments", [])
    if not isinstance(comments, list):
        raise DescriptionError("\"comments\" must be a list")
    for number, comment in enumerate(comments):
        check_comment(comment, "comment %d" % number)
    return comments


def check_comment(comment, where):
    check_object(comment, where)
    kind = comment.get("kind")
    if kind not in KINDS:
        raise DescriptionError("%s: unknown comment kind %r" % (where, kind))
    check_text(comment, "find", where)
    check_count(comment, "occurrence", where)
    check_count(comment, "page", where)
    if comment.get("at", "end") not in ("start", "end"):
        raise DescriptionError("%s: \"at\" must be \"start\" or \"end\"" % where)
    check_numbers(comment, "point", 2, where)
    check_numbers(comment, "rect", 4, where)
    check_numbers(comment, "callout", 2, where)
    if "callout" in comment and (kind != "freetext" or not comment.get("find")):
        raise DescriptionError("%s: \"callout\" is only for a freetext with \"find\"" % where)
    if "point" in comment and kind in ("insert", "note") and "page" not in comment:
        raise DescriptionError("%s: \"point\" needs \"page\"" % where)
    placed = (kind in ("insert", "note") and "point" in comment) or (kind == "freetext"
                                                                      and "rect" in comment)
    if not placed and not comment.get("find"):
        raise DescriptionError("%s: a %s comment needs \"find\"%s" % (
            where, kind, " or \"point\"" if kind in ("insert", "note") else ""))
    if comment.get("find") and needle_of(comment["find"]) == [" "]:
        raise DescriptionError("%s: \"find\" needs a character other than blanks" % where)
    for key in ("text", "contents"):
        check_text(comment, key, where)
    if comment.get("quad_order") is not None:
        if kind not in QUAD_KINDS:
            raise DescriptionError("%s: \"quad_order\" is only for %s" % (
                where, ", ".join(QUAD_KINDS)))
        if comment["quad_order"] != "ccw":
            raise DescriptionError("%s: \"quad_order\" must be \"ccw\" or null" % where)
    if isinstance(comment.get("outset"), list):
        check_numbers(comment, "outset", 2, where)
    for key in ("caret_width", "caret_height") + (
            () if isinstance(comment.get("outset"), list) else ("outset",)):
        if key in comment and (isinstance(comment[key], bool)
                               or not isinstance(comment[key], (int, float))):
            raise DescriptionError("%s: \"%s\" must be a number" % (where, key))
    for key, default in (("caret_width", 10), ("caret_height", 12)):
        if comment.get(key, default) <= 0:
            raise DescriptionError("%s: \"%s\" must be above 0" % (where, key))
    check_numbers(comment, "caret_insets", 4, where)
    if any(n < 0 for n in comment.get("caret_insets", [])):
        raise DescriptionError("%s: \"caret_insets\" must not be negative" % where)
    if comment.get("line_ends") is not None:
        if kind not in QUAD_KINDS:
            raise DescriptionError("%s: \"line_ends\" is only for %s" % (
                where, ", ".join(QUAD_KINDS)))
        if comment["line_ends"] != "trim":
            raise DescriptionError("%s: \"line_ends\" must be \"trim\" or null" % where)
    if "thread_on" in comment:
        if kind != "replace":
            raise DescriptionError("%s: \"thread_on\" is only for a replace" % where)
        if comment["thread_on"] not in ("strikeout", "caret"):
            raise DescriptionError(
                "%s: \"thread_on\" must be \"strikeout\" or \"caret\"" % where)
    check_thread(comment, where)


def check_thread(comment, where):
    for key in ("author", "modified", "created", "name"):
        check_text(comment, key, where)
    check_count(comment, "annots_index", where)
    for number, reply in enumerate(check_list(comment, "replies", where)):
        at = "%s, reply %d" % (where, number)
        check_object(reply, at)
        check_text(reply, "contents", at)
        check_rt(reply, at)
        check_thread(reply, at)
    for number, state in enumerate(check_list(comment, "states", where)):
        at = "%s, state %d" % (where, number)
        check_object(state, at)
        for key in ("model", "state"):
            if not isinstance(state.get(key), str):
                raise DescriptionError("%s needs a text \"%s\"" % (at, key))
        for key in ("author", "modified", "contents"):
            check_text(state, key, at)
        check_rt(state, at)
        check_count(state, "annots_index", at)


def check_object(value, where):
    if not isinstance(value, dict):
        raise DescriptionError("%s must be a JSON object" % where)


def check_list(value, key, where):
    items = value.get(key, [])
    if not isinstance(items, list):
        raise DescriptionError("%s: \"%s\" must be a list" % (where, key))
    return items


def check_text(value, key, where):
    # Absent and null mean the same: no entry.
    if value.get(key) is not None and not isinstance(value[key], str):
        raise DescriptionError("%s: \"%s\" must be a text or null" % (where, key))


def check_count(value, key, where):
    if key in value and (type(value[key]) is not int or value[key] < 0):
        raise DescriptionError("%s: \"%s\" must be a whole number from 0" % (where, key))


def check_numbers(value, key, count, where):
    if key not in value:
        return
    numbers = value[key]
    if not isinstance(numbers, list) or len(numbers) != count or not all(
            type(n) in (int, float) for n in numbers):
        raise DescriptionError("%s: \"%s\" must be a list of %d numbers" % (where, key, count))


def check_rt(value, where):
    # Written as a PDF name, so anything but letters and digits would break the file.
    rt = value.get("rt", "R")
    if rt is not None and not (isinstance(rt, str) and _RT_NAME.match(rt)):
        raise DescriptionError("%s: \"rt\" must be a name such as \"R\", or null" % where)


_pages = {}


def page_of(doc, number):
    # One page is open at a time. This PyMuPDF breaks when a page is loaded again while an
    # earlier handle of it is alive, and every annotation it writes costs more for each page
    # held open (a thousand pages made a review of a long document take minutes), so a page is
    # let go, and with it the handles of its annotations, before another one is loaded.
    if not 0 <= number < len(doc):
        raise DescriptionError("no page %d" % number)
    if number not in _pages:
        _pages.clear()
        _pages[number] = doc[number]
    return _pages[number]


# How PyMuPDF's search compares texts: ASCII letters in either case, and a run of blanks or
# line ends for any such run.
_BLANKS = " \t\n\r\xa0\u2028\u2029"


def canon(c):
    if c in _BLANKS:
        return " "
    return c.lower() if "A" <= c <= "Z" else c


def needle_of(text):
    needle = []
    for c in map(canon, text):
        if not (c == " " and needle and needle[-1] == " "):
            needle.append(c)
    return needle


_texts = {}


def page_text(doc, number):
    """The page's text as units (canonical character, indexes of its characters), one unit for
    each run of blanks and line ends, the units' characters as one string to search, and the
    characters as (position, line number); a position becomes the character's quad through
    char_quad, only for the characters of a hit, which on a long page are few."""
    if number not in _texts:
        units, chars = [], []

        def add(c, index):
            if c == " " and units and units[-1][0] == " ":
                units[-1][1].extend(index)
            else:
                units.append((c, list(index)))

        flags = fitz.TEXT_PRESERVE_WHITESPACE | fitz.TEXT_PRESERVE_LIGATURES | \
            fitz.TEXT_MEDIABOX_CLIP
        lines = [line for block in page_of(doc, number).get_text("rawdict", flags=flags)["blocks"]
                 for line in block.get("lines", [])]
        for number_in_page, line in enumerate(lines):
            add(" ", [])  # a line end reads as a blank
            for span in line["spans"]:
                # What the quad needs of the span, so that the page's text is not kept whole.
                metrics = {key: span[key] for key in ("ascender", "descender", "size")}
                for char in span["chars"]:
                    chars.append(((line["dir"], metrics, char["bbox"]), number_in_page))
                    add(canon(char["c"]), [len(chars) - 1])
        # A unit of other than one character (never seen) stands as one that matches nothing.
        text = "".join(unit[0] if len(unit[0]) == 1 else "\uffff" for unit in units)
        _texts[number] = units, text, chars
    return _texts[number]


def char_quad(position):
    line_dir, metrics, bbox = position
    return fitz.recover_bbox_quad(line_dir, metrics, bbox)


def hits_on(doc, number, needle, trim=False):
    """Each hit of the needle on the page, not overlapping, as its quads: one for each line,
    from its first character's left edge to its last one's right edge on that line; with
    `trim`, blanks at either end of a line are not counted."""
    units, text, chars = page_text(doc, number)
    wanted = "".join(needle)  # each needle entry is one character
    at = text.find(wanted)
    while at >= 0:
        if any(units[at + k][0] != needle[k] for k in range(len(needle))):
            at = text.find(wanted, at + 1)  # a stand-in for a longer unit matched
            continue
        hit = units[at:at + len(needle)]
        at = text.find(wanted, at + len(needle))
        blanks = {i for unit in hit if unit[0] == " " for i in unit[1]}
        lines = []  # (line number, indexes of its characters in the hit)
        for i in (i for unit in hit for i in unit[1]):
            if lines and lines[-1][0] == chars[i][1]:
                lines[-1][1].append(i)
            else:
                lines.append((chars[i][1], [i]))
        quads = []
        for line, members in lines:
            while trim and members and members[-1] in blanks:
                members.pop()
            while trim and members and members[0] in blanks:
                members.pop(0)
            if members:
                first, last = char_quad(chars[members[0]][0]), char_quad(chars[members[-1]][0])
                quads.append(fitz.Quad(first.ul, last.ur, first.ll, last.lr))
        if quads:  # a hit of blanks alone between lines has no character to mark
            yield quads


def find_quads(doc, comment):
    text = comment.get("find")
    if not text:
        raise DescriptionError("a comment needs \"find\" or \"point\": %r" % comment)
    wanted = int(comment.get("occurrence", 0))
    pages = [int(comment["page"])] if "page" in comment else range(len(doc))
    seen = 0
    for number in pages:
        for quads in hits_on(doc, number, needle_of(text), comment.get("line_ends") == "trim"):
            if seen == wanted:
                return number, quads
            seen += 1
    raise DescriptionError("text %r occurrence %d not found" % (text, wanted))


# Annotation handles are kept to the end: this PyMuPDF corrupts its object wrappers when
# handles of annotations it still works with are collected.
_annots = []


def set_common(doc, annot, comment, contents_key="contents", rect=None, name_suffix=""):
    _annots.append(annot)
    info = {}
    if comment.get(contents_key) is not None:
        info["content"] = comment[contents_key]
    if comment.get("author") is not None:
        info["title"] = comment["author"]
    if info:
        annot.set_info(**info)
    annot.update()
    if rect is not None:
        annot.set_rect(rect)  # after update, which gives a caret its default size
    if comment.get("author") is None:
        doc.xref_set_key(annot.xref, "T", "null")
    for key, entry in (("modified", "M"), ("created", "CreationDate")):
        if comment.get(key) is None:
            doc.xref_set_key(annot.xref, entry, "null")
        else:
            doc.xref_set_key(annot.xref, entry, fitz.get_pdf_str(comment[key]))
    if "name" in comment:
        name = comment["name"]
        doc.xref_set_key(annot.xref, "NM",
                         "null" if name is None else fitz.get_pdf_str(name + name_suffix))


def along(quad):
    """The unit vector along the quadrilateral's line, in PyMuPDF's page coordinates."""
    d = quad.ur - quad.ul
    length = abs(d) or 1.0
    return fitz.Point(d.x / length, d.y / length)


def caret_rect(quads, at, width=10):
    """The Caret's rectangle in PyMuPDF's page coordinates: `width` along the line, centred on
    the insertion point, and as high as the line across it, on a page turned any way."""
    quad = quads[0] if at == "start" else quads[-1]
    top, bottom = (quad.ul, quad.ll) if at == "start" else (quad.ur, quad.lr)
    u = along(quad)
    half = fitz.Point(u.x * width / 2, u.y * width / 2)
    rect = fitz.Rect(top - half, top + half)
    rect |= bottom - half
    rect |= bottom + half
    return rect


def outset_quads(quads, outset):
    """Each quadrilateral grown along its line: by `outset` at both ends, or by [start, end]."""
    start, end = outset if isinstance(outset, list) else (outset, outset)
    grown = []
    for quad in quads:
        u = along(quad)
        a, b = fitz.Point(u.x * start, u.y * start), fitz.Point(u.x * end, u.y * end)
        grown.append(fitz.Quad(quad.ul - a, quad.ur + b, quad.ll - a, quad.lr + b))
    return grown


def add_caret(page, rect, insets=None):
    caret = page.add_caret_annot(rect.tl + (5, (rect.y1 - rect.y0) / 2))
    # PyMuPDF's page space to PDF user space. This PyMuPDF reads the text of a turned page
    # unturned, so the rectangle needs no turning back; its page space starts at the crop box's
    # upper left corner (y downwards), wherever the crop box lies.
    to_user = fitz.Matrix(1, 0, 0, -1, page.cropbox.x0, page.mediabox.y1 - page.cropbox.y0)
    user = rect * to_user
    user.normalize()
    if insets:
        left, top, right, bottom = insets
        user = fitz.Rect(user.x0 - left, user.y0 - bottom, user.x1 + right, user.y1 + top)
        _caret_insets.append((caret.xref, insets))
    _caret_rects.append((caret.xref, (user.x0, user.y0, user.x1, user.y1)))
    return caret


def write_thread(doc, page, target, comment, written):
    for reply in comment.get("replies", []):
        annot = page.add_text_annot(target.rect.tr, reply.get("contents") or "")
        set_common(doc, annot, reply)
        place_later(page, annot, reply)
        link(doc, annot, target, reply.get("rt", "R"))
        written.append(entry("reply", page, annot))
        write_thread(doc, page, annot, reply, written)
    for state in comment.get("states", []):
        annot = page.add_text_annot(target.rect.tr, state.get("contents") or "")
        set_common(doc, annot, state)
        place_later(page, annot, state)
        link(doc, annot, target, state.get("rt", "R"))
        doc.xref_set_key(annot.xref, "StateModel", fitz.get_pdf_str(state["model"]))
        doc.xref_set_key(annot.xref, "State", fitz.get_pdf_str(state["state"]))
        written.append(entry("state", page, annot))


def link(doc, annot, target, rt):
    doc.xref_set_key(annot.xref, "IRT", "%d 0 R" % target.xref)
    if rt is not None:
        doc.xref_set_key(annot.xref, "RT", "/" + rt)


def entry(kind, page, annot):
    return {"kind": kind, "page": page.number, "xref": annot.xref, "rect": list(annot.rect)}


# What PyMuPDF cannot write through its annotation objects is written into the file's objects
# once every comment is in place, so that no later PyMuPDF call meets an annotation it does
# not know (a /Deletion) or an /Annots array it did not write.
_deletions = []  # xrefs
_counter_clockwise = []  # xrefs
_placements = []  # (page number, xref, index among the page's annotations but pop-ups)
_caret_rects = []  # (xref, /Rect in PDF user space): a later update gives carets PyMuPDF's size
_caret_insets = []  # (xref, [left, top, right, bottom]) written as /RD
_callouts = []  # (xref, /Rect, /RD, /CL) of free texts with a callout line, in PDF user space


def place_later(page, annot, item):
    if "annots_index" in item:
        _placements.append((page.number, annot.xref, item["annots_index"]))


def finish(doc):
    for xref, rect in _caret_rects:
        doc.xref_set_key(xref, "Rect", "[%g %g %g %g]" % tuple(rect))
    for xref, insets in _caret_insets:
        doc.xref_set_key(xref, "RD", "[%g %g %g %g]" % tuple(insets))
    for xref, rect, insets, line in _callouts:
        doc.xref_set_key(xref, "Rect", "[%g %g %g %g]" % tuple(rect))
        doc.xref_set_key(xref, "RD", "[%g %g %g %g]" % tuple(insets))
        doc.xref_set_key(xref, "CL", "[%s]" % " ".join("%g" % n for n in line))
        doc.xref_set_key(xref, "IT", "/FreeTextCallout")
        doc.xref_set_key(xref, "LE", "/OpenArrow")
    for xref in _deletions:
        doc.xref_set_key(xref, "Subtype", "/Deletion")
    for xref in _counter_clockwise:
        numbers = doc.xref_get_key(xref, "QuadPoints")[1].strip("[]").split()
        reordered = []
        for at in range(0, len(numbers) - 7, 8):
            x1, y1, x2, y2, x3, y3, x4, y4 = numbers[at:at + 8]  # UL, UR, LL, LR
            reordered += [x3, y3, x4, y4, x2, y2, x1, y1]
        doc.xref_set_key(xref, "QuadPoints", "[%s]" % " ".join(reordered))
    for number in sorted({number for number, _, _ in _placements}):
        reorder_annots(doc, page_of(doc, number),
                       [(xref, index) for at, xref, index in _placements if at == number])


def reorder_annots(doc, page, placements):
    kind, value = doc.xref_get_key(page.xref, "Annots")
    holder = int(value.split()[0]) if kind == "xref" else None  # an indirect array
    if holder is not None:
        value = doc.xref_object(holder, compressed=True)
    units = []  # each annotation with the pop-ups after it
    for ref in re.findall(r"\d+ \d+ R", value):
        popup = doc.xref_get_key(int(ref.split()[0]), "Subtype") == ("name", "/Popup")
        if popup and units:
            units[-1].append(ref)
        else:
            units.append([ref])
    for xref, index in placements:
        unit = next(u for u in units if int(u[0].split()[0]) == xref)
        units.remove(unit)
        units.insert(min(index, len(units)), unit)
    array = "[%s]" % " ".join(ref for unit in units for ref in unit)
    if holder is None:
        doc.xref_set_key(page.xref, "Annots", array)
    else:
        doc.update_object(holder, array)


MARKUPS = {
    "strikeout": "add_strikeout_annot",
    "deletion": "add_strikeout_annot",
    "highlight": "add_highlight_annot",
    "underline": "add_underline_annot",
    "squiggly": "add_squiggly_annot",
    "replace": "add_strikeout_annot",
}


def add_markup(doc, comment, written):
    kind = comment["kind"]
    number, quads = find_quads(doc, comment)
    page = page_of(doc, number)
    drawn = outset_quads(quads, comment["outset"]) if "outset" in comment else quads
    annot = getattr(page, MARKUPS[kind])(drawn)
    set_common(doc, annot, comment)
    place_later(page, annot, comment)
    if kind == "deletion":
        _deletions.append(annot.xref)
    if comment.get("quad_order") == "ccw":
        _counter_clockwise.append(annot.xref)
    written.append(entry(kind if kind != "replace" else "strikeout", page, annot))
    thread_on = annot
    if kind == "replace":
        rect = caret_rect(quads, "end", comment.get("caret_width", 10))
        caret = add_caret(page, rect, comment.get("caret_insets"))
        set_common(doc, caret, comment, "text", rect, "-caret")
        link(doc, annot, caret, "Group")
        written.append(entry("caret", page, caret))
        if comment.get("thread_on") == "caret":
            thread_on = caret
    write_thread(doc, page, thread_on, comment, written)


def add_callout(doc, comment, written):
    """A free text whose box stands apart, with a callout line from the box to the text."""
    number, quads = find_quads(doc, comment)
    page = page_of(doc, number)
    tip = quads[0].rect.tl + (quads[0].rect.br - quads[0].rect.tl) * 0.5
    dx, dy = comment["callout"]
    width, height = 40, 20
    left = tip.x + dx if dx >= 0 else tip.x + dx - width
    box = fitz.Rect(left, tip.y + dy, left + width, tip.y + dy + height)
    end = fitz.Point(box.x0 if dx >= 0 else box.x1, box.y0 + height / 2)
    knee = end + (-6 if dx >= 0 else 6, 0)
    annot = page.add_freetext_annot(box, comment.get("contents") or "")
    set_common(doc, annot, comment)
    # In PDF user space (see add_caret); the rectangle holds the box and the whole line, and /RD
    # gives the box inside it.
    to_user = fitz.Matrix(1, 0, 0, -1, page.cropbox.x0, page.mediabox.y1 - page.cropbox.y0)
    user_box = box * to_user
    user_box.normalize()
    points = [p * to_user for p in (tip, knee, end)]
    outline = fitz.Rect(user_box)
    for p in points:
        outline |= p
    _callouts.append((annot.xref, outline, [
        user_box.x0 - outline.x0, outline.y1 - user_box.y1, outline.x1 - user_box.x1,
        user_box.y0 - outline.y0], [n for p in points for n in (p.x, p.y)]))
    place_later(page, annot, comment)
    written.append(entry("freetext", page, annot))
    write_thread(doc, page, annot, comment, written)


def add_comment(doc, comment, written):
    kind = comment.get("kind")
    if kind in MARKUPS:
        add_markup(doc, comment, written)
    elif kind == "insert":
        if "point" in comment:
            page = page_of(doc, int(comment["page"]))
            x, y = comment["point"]
            half = comment.get("caret_height", 12) / 2
            rect = fitz.Rect(x - 5, y - half, x + 5, y + half)
        else:
            number, quads = find_quads(doc, comment)
            page = page_of(doc, number)
            rect = caret_rect(quads, comment.get("at", "end"), comment.get("caret_width", 10))
            if "caret_height" in comment:
                middle, half = (rect.y0 + rect.y1) / 2, comment["caret_height"] / 2
                rect = fitz.Rect(rect.x0, middle - half, rect.x1, middle + half)
        annot = add_caret(page, rect, comment.get("caret_insets"))
        set_common(doc, annot, comment, "text", rect)
        place_later(page, annot, comment)
        written.append(entry("caret", page, annot))
        write_thread(doc, page, annot, comment, written)
    elif kind == "note":
        if "point" in comment:
            page = page_of(doc, int(comment["page"]))
            point = fitz.Point(*comment["point"])
        else:
            number, quads = find_quads(doc, comment)
            page = page_of(doc, number)
            point = quads[0].rect.tl
        annot = page.add_text_annot(point, comment.get("contents") or "")
        set_common(doc, annot, comment)
        place_later(page, annot, comment)
        written.append(entry("note", page, annot))
        write_thread(doc, page, annot, comment, written)
    elif kind == "freetext" and "callout" in comment:
        add_callout(doc, comment, written)
    elif kind == "freetext":
        if "rect" in comment:
            page = page_of(doc, int(comment.get("page", 0)))
            rect = fitz.Rect(*comment["rect"])
        else:
            number, quads = find_quads(doc, comment)
            page = page_of(doc, number)
            rect = fitz.Rect(quads[0].rect)
            for quad in quads[1:]:
                rect |= quad.rect
        annot = page.add_freetext_annot(rect, comment.get("contents") or "")
        set_common(doc, annot, comment)
        place_later(page, annot, comment)
        written.append(entry("freetext", page, annot))
        write_thread(doc, page, annot, comment, written)
    elif kind in ("square", "ink"):
        number, quads = find_quads(doc, comment)
        page = page_of(doc, number)
        rect = fitz.Rect(quads[0].rect)
        for quad in quads[1:]:
            rect |= quad.rect
        if kind == "square":
            annot = page.add_rect_annot(rect)
        else:
            annot = page.add_ink_annot([[rect.bl, rect.br]])
        set_common(doc, annot, comment)
        place_later(page, annot, comment)
        written.append(entry(kind, page, annot))
    else:
        raise DescriptionError("unknown comment kind %r" % kind)


def main(argv):
    if len(argv) != 4:
        sys.stderr.write("usage: review.py IN.pdf DESCRIPTION.json OUT.pdf\n")
        return 2
    source, description, target = argv[1:]
    # Saved beside the target and renamed, so that a failure leaves no output file.
    partial = target + ".part"
    try:
        with open(description, encoding="utf-8") as f:
            comments = check_description(json.load(f))
        doc = fitz.open(source)
        written = []
        for comment in comments:
            add_comment(doc, comment, written)
        finish(doc)
        doc.save(partial)
        os.replace(partial, target)
    except (OSError, ValueError, DescriptionError, RuntimeError) as e:
        if os.path.exists(partial):
            os.remove(partial)
        sys.stderr.write("review.py: %s\n" % " ".join(str(e).splitlines()))
        return 1
    json.dump(written, sys.stdout, ensure_ascii=False)
    sys.stdout.write("\n")
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
