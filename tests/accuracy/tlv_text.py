"""The paragraphs of a document file (*.tlv) with their positions counted as the host counts
them: a character or an item (anchor, marker, element mark) each, the number string none. Each
position keeps its conditions and change author, so that one reader serves the source document
and the document an import saved."""
import xml.etree.ElementTree as ET

ADDED = "TL8_TRACK_CHANGES_ADDED"
DELETED = "TL8_TRACK_CHANGES_DELETED"
ITEM_TEXT = "\ufffc"  # an item in a paragraph's text: matches no searched text

ITEM_TAGS = {"marker", "table-anchor", "footnote-anchor", "frame-anchor", "element-begin",
             "element-end", "xref-begin", "xref-end", "variable-begin", "variable-end",
             "hidden-begin", "hidden-end", "special"}
# The place of the paragraphs in each container element; None: its parent's.
CONTAINERS = {"flow": "flow", "title": "table title", "cell": "table cell",
              "footnote": "footnote", "table": None, "row": None, "frame": None}


class Position:
    __slots__ = ("char", "item", "conditions", "author", "marker_text", "shows")

    def __init__(self, char=None, item=None, conditions=(), author="", marker_text=""):
        self.char = char  # one code point, or None for an item
        self.item = item  # the item's tag, or None for a character
        self.conditions, self.author, self.marker_text = tuple(conditions), author, marker_text
        # What the PDF shows for an item that stands on the line: a footnote anchor's number,
        # when it is one character, as the host counts the anchor one position.
        self.shows = None


class Paragraph:
    def __init__(self, unique, place):
        self.unique = unique
        self.place = place  # body, heading, table title, table cell, footnote
        self.positions = []

    @property
    def text(self):
        """One character per position, items as ITEM_TEXT but for what the PDF shows of them."""
        return "".join(p.shows or ITEM_TEXT if p.item else p.char for p in self.positions)


def _conditions(element):
    value = element.get("cond")
    return tuple(value.split("|")) if value else ()


def _read_content(element, paragraph, conditions=(), author=""):
    def add_text(text):
        paragraph.positions += [Position(c, None, conditions, author) for c in text or ""]

    add_text(element.text)
    for child in element:
        if child.tag == "c":
            _read_content(child, paragraph, _conditions(child), child.get("author", ""))
        elif child.tag in ITEM_TAGS:
            paragraph.positions.append(Position(
                item=child.tag, conditions=_conditions(child) or conditions,
                author=child.get("author", author), marker_text=child.get("text", "")))
            if child.tag == "footnote-anchor":
                paragraph.positions[-1].shows = child.get("ref")  # its footnote's key, for now
        else:
            raise ValueError("unexpected element <%s> in a paragraph" % child.tag)
        add_text(child.tail)


def read_document(path):
    """The paragraphs of the document, by unique number, in file order."""
    root = ET.parse(path).getroot()
    if root.tag != "document":
        raise ValueError("%s: not a document file" % path)
    paragraphs = {}

    def walk(element, container):
        for child in element:
            if child.tag == "p":
                name, unique = child.get("format", ""), int(child.get("unique"))
                heading = name == "Title" or name.startswith("Heading")
                place = ("heading" if heading else "body") if container == "flow" else container
                paragraphs[unique] = Paragraph(unique, place)
                _read_content(child, paragraphs[unique])
            elif child.tag in CONTAINERS:
                walk(child, CONTAINERS[child.tag] or container)

    walk(root, "document")
    numbers = {f.get("key"): f.get("number", "") for f in root.iter("footnote")}
    for paragraph in paragraphs.values():
        for p in paragraph.positions:
            if p.item == "footnote-anchor":
                number = numbers.get(p.shows, "")
                p.shows = number if len(number) == 1 else None
    return paragraphs


class Changes:
    """What the changes of one author did to a saved document, in the source document's
    offsets: the positions the author added (text and markers) are left out of the count."""

    def __init__(self):
        self.added = []  # (paragraph, offset, text) for each run of added characters
        self.markers = []  # (paragraph, offset, marker text)
        self.deleted = set()  # (paragraph, offset) that gained the condition in the import
        self.conditioned = set()  # (paragraph, offset) of the marks the scoring gives it

    def changed_text(self):
        return bool(self.added or self.deleted or self.conditioned)


def changes_by_author(saved, source, authors):
    """(changes, marks): the Changes of each of the authors in the saved document, and the
    (paragraph, offset) that gained a condition other than the tracked changes' (highlights,
    underlines), which carry no change author, as a mark is no change of the text."""
    changes, marks = {author: Changes() for author in authors}, set()
    for unique, paragraph in saved.items():
        before = source[unique].positions if unique in source else []
        offset, run = 0, None  # run: the author of the run of added characters being read
        for position in paragraph.positions:
            change = changes.get(position.author)
            if change is not None and ADDED in position.conditions:
                if position.item == "marker":
                    change.markers.append((unique, offset, position.marker_text))
                    run = None
                elif position.item is None:
                    if run != position.author:
                        run = position.author
                        change.added.append([unique, offset, ""])
                    change.added[-1][2] += position.char
                continue  # an added position has no offset in the source document
            run = None
            if position.item is None:
                had = set(before[offset].conditions) if offset < len(before) else set()
                gained = set(position.conditions) - had
                if change is not None and DELETED in gained:
                    change.deleted.add((unique, offset))
                if gained - {ADDED, DELETED}:
                    marks.add((unique, offset))
            offset += 1
    for change in changes.values():
        change.added = [tuple(run) for run in change.added]
    return changes, marks
