#!/usr/bin/python3
"""Adds a reviewer's comments to a PDF, as described in a JSON file.

Usage: review.py IN.pdf DESCRIPTION.json OUT.pdf

Positions come from PyMuPDF's own text search, so that what reads the comments back is
tested against an independent reading of the page. The description:

{"comments": [ COMMENT, ... ]}

COMMENT:
  "kind":       "insert" (Caret), "strikeout", "replace" (StrikeOut then Caret, the
                strike-out grouped with the caret through IRT and RT /Group), "highlight",
                "underline", "squiggly", "note" (Text), "freetext"
  "find":       text to search for, on one line; "occurrence": which hit, from 0 (default 0), counted
                over all pages in order, or on "page" (from 0) only when it is given
  "at":         for "insert": "end" (default) puts the caret after the found text, "start"
                before it
  "point":      [x, y] instead of "find", for "note" and "insert" (PyMuPDF page
                coordinates: origin top left); needs "page"
  "rect":       [x0, y0, x1, y1] for "freetext" (default: the found text's box)
  "text":       the inserted text of "insert" and "replace" (the Caret's Contents)
  "contents":   Contents of the annotation (for "replace": of the strike-out)
  "author":     the title /T; absent or null writes none
  "modified":   the modification date /M as a PDF date ("D:20260101120000Z"); absent or
                null writes none
  "replies":    [REPLY, ...]: Text annotations with IRT to this one; REPLY has "author",
                "modified", "contents", "rt" (a name: "R", the default, or null for no RT entry)
                and "replies" of its own
  "states":     [{"model": "Review", "state": "Accepted", "author", "modified", "rt"}]:
                Text annotations with IRT, StateModel and State

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


KINDS = ("insert", "strikeout", "replace", "highlight", "underline", "squiggly", "note",
         "freetext")
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
    if "point" in comment and kind in ("insert", "note") and "page" not in comment:
        raise DescriptionError("%s: \"point\" needs \"page\"" % where)
    placed = (kind in ("insert", "note") and "point" in comment) or (kind == "freetext"
                                                                      and "rect" in comment)
    if not placed and not comment.get("find"):
        raise DescriptionError("%s: a %s comment needs \"find\"%s" % (
            where, kind, " or \"point\"" if kind in ("insert", "note") else ""))
    for key in ("text", "contents"):
        check_text(comment, key, where)
    check_thread(comment, where)


def check_thread(comment, where):
    for key in ("author", "modified"):
        check_text(comment, key, where)
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
    # Each page is loaded once: this PyMuPDF breaks when a page is loaded again while an
    # earlier handle of it is alive.
    if not 0 <= number < len(doc):
        raise DescriptionError("no page %d" % number)
    if number not in _pages:
        _pages[number] = doc[number]
    return _pages[number]


def find_quads(doc, comment):
    text = comment.get("find")
    if not text:
        raise DescriptionError("a comment needs \"find\" or \"point\": %r" % comment)
    wanted = int(comment.get("occurrence", 0))
    pages = [int(comment["page"])] if "page" in comment else range(len(doc))
    seen = 0
    for number in pages:
        # A hit that runs over a line break comes back as one quad per line, so a text to
        # find must stand on one line.
        for quad in page_of(doc, number).search_for(text, quads=True):
            if seen == wanted:
                return number, [quad]
            seen += 1
    raise DescriptionError("text %r occurrence %d not found" % (text, wanted))


# Annotation handles are kept to the end: this PyMuPDF corrupts its object wrappers when
# handles of annotations it still works with are collected.
_annots = []


def set_common(doc, annot, comment, contents_key="contents", rect=None):
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
    if comment.get("modified") is None:
        doc.xref_set_key(annot.xref, "M", "null")
    else:
        doc.xref_set_key(annot.xref, "M", fitz.get_pdf_str(comment["modified"]))


def caret_rect(quads, at):
    if at == "start":
        quad = quads[0]
        x = quad.ul.x
    else:
        quad = quads[-1]
        x = quad.ur.x
    top, bottom = quad.rect.y0, quad.rect.y1
    return fitz.Rect(x - 5, top, x + 5, bottom)


def add_caret(page, rect):
    return page.add_caret_annot(rect.tl + (5, (rect.y1 - rect.y0) / 2))


def write_thread(doc, page, target, comment, written):
    for reply in comment.get("replies", []):
        annot = page.add_text_annot(target.rect.tr, reply.get("contents") or "")
        set_common(doc, annot, reply)
        link(doc, annot, target, reply.get("rt", "R"))
        written.append(entry("reply", page, annot))
        write_thread(doc, page, annot, reply, written)
    for state in comment.get("states", []):
        annot = page.add_text_annot(target.rect.tr, state.get("contents") or "")
        set_common(doc, annot, state)
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


MARKUPS = {
    "strikeout": "add_strikeout_annot",
    "highlight": "add_highlight_annot",
    "underline": "add_underline_annot",
    "squiggly": "add_squiggly_annot",
}


def add_comment(doc, comment, written):
    kind = comment.get("kind")
    if kind in MARKUPS or kind == "replace":
        number, quads = find_quads(doc, comment)
        page = page_of(doc, number)
        method = MARKUPS.get(kind, "add_strikeout_annot")
        annot = getattr(page, method)(quads)
        set_common(doc, annot, comment)
        written.append(entry(kind if kind != "replace" else "strikeout", page, annot))
        if kind == "replace":
            rect = caret_rect(quads, "end")
            caret = add_caret(page, rect)
            set_common(doc, caret, comment, "text", rect)
            link(doc, annot, caret, "Group")
            written.append(entry("caret", page, caret))
        write_thread(doc, page, annot, comment, written)
    elif kind == "insert":
        if "point" in comment:
            page = page_of(doc, int(comment["page"]))
            x, y = comment["point"]
            rect = fitz.Rect(x - 5, y - 6, x + 5, y + 6)
        else:
            number, quads = find_quads(doc, comment)
            page = page_of(doc, number)
            rect = caret_rect(quads, comment.get("at", "end"))
        annot = add_caret(page, rect)
        set_common(doc, annot, comment, "text", rect)
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
        written.append(entry("note", page, annot))
        write_thread(doc, page, annot, comment, written)
    elif kind == "freetext":
        if "rect" in comment:
            page = page_of(doc, int(comment.get("page", 0)))
            rect = fitz.Rect(*comment["rect"])
        else:
            number, quads = find_quads(doc, comment)
            page = page_of(doc, number)
            rect = quads[0].rect
        annot = page.add_freetext_annot(rect, comment.get("contents") or "")
        set_common(doc, annot, comment)
        written.append(entry("freetext", page, annot))
        write_thread(doc, page, annot, comment, written)
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
