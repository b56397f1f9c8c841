"""The real PDF viewer that runs in a web browser as a writer (docs/accuracy.md): its own
pages in headless Chromium, driven by browser/driver.mjs to select each target in the text
layer and highlight it with the viewer's editor (some with a comment), to type text boxes in
the margin with its free-text editor, and to save. The viewer writes no author, and the
harness knows its comments by /T: the only change made to what the viewer saved is a /T on
each annotation it added, found by where it lies.
"""
import atexit
import functools
import json
import os
import selectors
import shutil
import subprocess
import tempfile

import fitz

import pdf_pages
import shapes

HERE = os.path.join(os.path.dirname(os.path.abspath(__file__)), "browser")
CHROMIUM = os.environ.get("CHROMIUM", "/usr/bin/chromium")
# Where the viewer puts a text box typed after a click at (x, y), measured in its free-text
# editor at 100 %: the box's left edge 6.75 pt left of the click, its middle 6.5 pt above it
# for one line of its default 10 pt text. A reader aims so that the box stands beside the line.
CLICK_INSIDE, CLICK_BELOW_MIDDLE = 6.75, 6.5


def available():
    return bool(shutil.which("node")) and os.access(CHROMIUM, os.X_OK)


def _installed():
    """Whether node_modules holds exactly the packages the lock file pins."""
    def packages(path):
        try:
            with open(path, encoding="utf-8") as f:
                listed = json.load(f).get("packages", {})
        except (OSError, ValueError):
            return None
        return {name: entry.get("version") for name, entry in listed.items() if name}

    wanted = packages(os.path.join(HERE, "package-lock.json"))
    return wanted is not None and wanted == packages(
        os.path.join(HERE, "node_modules", ".package-lock.json"))


def ensure_modules():
    """Installs the pinned viewer and browser driver once (npm ci), not again while they match."""
    if _installed():
        return
    done = subprocess.run(["npm", "ci", "--no-audit", "--no-fund"], cwd=HERE, capture_output=True,
                          text=True, timeout=600)
    if done.returncode != 0:
        raise RuntimeError("npm ci: " + done.stderr.strip()[-400:])


def _request(comment):
    target = comment.target
    if comment.kind == "highlight":
        inked = [g for g in target.glyphs if not g.blank]
        return {"kind": "highlight", "page": target.page.number,
                "text": "".join(g.char for g in target.glyphs), "x": inked[0].x0,
                "y": inked[0].centre[1],
                "comment": comment.contents if comment.variant.get("comment") else None}
    if comment.kind == "freetext" and comment.margin:
        box = shapes.free_box(comment)
        return {"kind": "freetext", "page": target.page.number, "x": box.x0 + CLICK_INSIDE,
                "y": (box.y0 + box.y1) / 2 - CLICK_BELOW_MIDDLE, "contents": comment.contents}
    raise ValueError("the viewer writes no %s here" % comment.kind)


def _contains(numbers, x, y):
    for i in range(0, len(numbers) - 7, 8):
        box = shapes.outline(numbers[i:i + 8])
        if box.x0 <= x <= box.x1 and box.y0 <= y <= box.y1:
            return True
    return False


def _owner(doc, xref, comments, taken):
    """The comment an annotation the viewer added was made for."""
    subtype = doc.xref_get_key(xref, "Subtype")[1]
    for comment in comments:
        if comment.author in taken:
            continue
        if subtype == "/Highlight" and comment.kind == "highlight":
            kind, value = doc.xref_get_key(xref, "QuadPoints")
            numbers = [float(n) for n in shapes.NUMBER.findall(value)] if kind == "array" else []
            inked = [g for g in comment.target.glyphs if not g.blank]
            if _contains(numbers, *inked[0].centre):
                return comment
        if subtype == "/FreeText" and comment.kind == "freetext" and \
                doc.xref_get_key(xref, "Contents") == ("string", comment.contents):
            return comment
    return None


def _name_authors(source, saved, out, comments):
    with fitz.open(source) as before:
        old = {page.number: set(pdf_pages.annotations(before, page)) for page in before}
    doc = fitz.open(saved)
    taken = set()
    for page in doc:
        on_page = [c for c in comments if c.target.page.number == page.number]
        for xref in pdf_pages.annotations(doc, page):
            if xref in old.get(page.number, ()) or doc.xref_get_key(xref, "Subtype")[1] == "/Popup":
                continue
            comment = _owner(doc, xref, on_page, taken)
            if comment is None:
                raise RuntimeError("the viewer saved an annotation on page %d that is no "
                                   "comment it was asked for: %s" % (
                                       page.number + 1, " ".join(doc.xref_object(xref).split())))
            taken.add(comment.author)
            doc.xref_set_key(xref, "T", fitz.get_pdf_str(comment.author))
    missing = [c.author for c in comments if c.author not in taken]
    if missing:
        raise RuntimeError("the viewer saved nothing for %s" % ", ".join(missing))
    doc.save(out)
    doc.close()


class ViewerSession:
    """One headless browser with the viewer's driver, for every PDF of a run: its jobs go in
    and its answers come out one JSON line each."""

    def __init__(self):
        self.profile = tempfile.TemporaryDirectory(prefix="pdfjs-profile-")
        self.process = subprocess.Popen(
            ["node", os.path.join(HERE, "driver.mjs"), self.profile.name], stdin=subprocess.PIPE,
            stdout=subprocess.PIPE, stderr=subprocess.PIPE, text=True,
            env=dict(os.environ, CHROMIUM=CHROMIUM))

    def write(self, job, seconds=180):
        self.process.stdin.write(json.dumps(job, ensure_ascii=False) + "\n")
        self.process.stdin.flush()
        with selectors.DefaultSelector() as waiting:
            waiting.register(self.process.stdout, selectors.EVENT_READ)
            line = self.process.stdout.readline() if waiting.select(seconds) else ""
        if not line:
            self.close()
            raise RuntimeError("the viewer gave no answer: " + self.process.stderr.read()[-600:])
        answer = json.loads(line)
        if "error" in answer:
            raise RuntimeError("the viewer: " + answer["error"][-600:])
        return answer["made"]

    def close(self):
        if self.process.poll() is None:
            self.process.stdin.close()
            try:
                self.process.wait(timeout=30)
            except subprocess.TimeoutExpired:
                self.process.kill()
                self.process.wait()
        self.profile.cleanup()


@functools.lru_cache(maxsize=None)
def _session():
    ensure_modules()
    session = ViewerSession()
    atexit.register(session.close)
    return session


def write_pdfjs(source, out, comments, tools):
    with tempfile.TemporaryDirectory(prefix="pdfjs-writer-") as work:
        saved = os.path.join(work, "saved.pdf")
        _session().write({"pdf": os.path.abspath(source), "out": saved,
                          "comments": [_request(c) for c in comments]})
        _name_authors(source, saved, out, comments)
