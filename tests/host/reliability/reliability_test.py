#!/usr/bin/python3
"""The writer's files under "tolvane import" run as separate processes: imports at once into one
document, a document another program replaces meanwhile, outputs that name an input or
something that is no file, documents reached through symbolic links, a full file system and
imports killed at random points. Every case works in a temporary folder of its own.

Environment: TOLVANE (the program), REVIEWER (tools/reviewer/review.py), EXAMPLES (examples/),
BENCH_INPUT (scripts/bench_input.py). Prints the figures of the concurrent rounds, the kills
and the refusals.
"""

import fcntl
import glob
import hashlib
import json
import os
import random
import shutil
import signal
import stat
import subprocess
import sys
import tempfile
import time
import unittest

TOLVANE = os.environ["TOLVANE"]
REVIEWER = os.environ["REVIEWER"]
EXAMPLES = os.environ["EXAMPLES"]
BENCH_INPUT = os.environ["BENCH_INPUT"]
PYTHON = "/usr/bin/python3"
TEMPORARY_INFIX = ".tolvane-"  # the save's temporary files: ".NAME.tolvane-PID-N.tmp"


class Workspace:
    """A temporary folder for one case, removed afterwards. The program's settings and its own
    temporary files stay inside it too."""

    def __init__(self):
        self._folder = tempfile.TemporaryDirectory(prefix="reliability-")
        self.path = self._folder.name
        self.files = os.path.join(self.path, "files")
        os.mkdir(self.files)
        os.mkdir(os.path.join(self.path, "tmp"))
        self.env = dict(os.environ, TOLVANE_USER_DIR=os.path.join(self.path, "user"),
                        TMPDIR=os.path.join(self.path, "tmp"))

    def __enter__(self):
        return self

    def __exit__(self, *exc):
        self._folder.cleanup()

    def at(self, name):
        return os.path.join(self.files, name)

    def start(self, *args):
        return subprocess.Popen([TOLVANE, *args], cwd=self.files, env=self.env,
                                stdout=subprocess.PIPE, stderr=subprocess.PIPE, text=True)

    def run(self, *args):
        return subprocess.run([TOLVANE, *args], cwd=self.files, env=self.env,
                              capture_output=True, text=True)

    def snapshot(self):
        """Every entry under files/: its kind, and for a file its content's hash."""
        seen = {}
        for root, dirs, names in os.walk(self.files):
            for name in dirs + names:
                path = os.path.join(root, name)
                mode = os.lstat(path).st_mode
                if stat.S_ISREG(mode):
                    with open(path, "rb") as f:
                        seen[path] = hashlib.sha1(f.read()).hexdigest()
                elif stat.S_ISLNK(mode):
                    seen[path] = "-> " + os.readlink(path)
                else:
                    seen[path] = stat.S_IFMT(mode)
        return seen


def read(path):
    with open(path, "rb") as f:
        return f.read()


def write(path, data):
    with open(path, "wb") as f:
        f.write(data)


def temporaries(folder):
    return [n for n in os.listdir(folder) if TEMPORARY_INFIX in n and n.endswith(".tmp")]


def make_review(ws, pdf, comments, out):
    description = ws.at(out + ".json")
    with open(description, "w") as f:
        json.dump({"comments": comments}, f)
    subprocess.run([PYTHON, REVIEWER, ws.at(pdf), description, ws.at(out)], check=True,
                   stdout=subprocess.DEVNULL, env=ws.env)
    os.remove(description)


def note(text, index):
    """A note of its own text at its own place on the first page."""
    return {"kind": "note", "point": [60 + 40 * (index % 10), 100 + 30 * (index // 10)],
            "page": 0, "author": "R%d" % index, "modified": "D:20260101120000Z",
            "name": "review-note-%d" % index,
            "contents": text}


class SmallDocument:
    """chapter1.tlv exported once, and reviews of one note each, made once for all cases."""
    folder = None

    @classmethod
    def get(cls, reviews):
        if cls.folder is None:
            cls.ws = Workspace()
            shutil.copy(os.path.join(EXAMPLES, "chapter1.tlv"), cls.ws.at("doc.tlv"))
            assert cls.ws.run("export-pdf", "doc.tlv", "-o", "doc.pdf").returncode == 0
            for i in range(reviews):
                make_review(cls.ws, "doc.pdf", [note("review-%d" % i, i)], "r%d.pdf" % i)
            cls.folder = cls.ws.files
        return cls.folder


FIGURES = {}


# The sanitizer build runs every case, with fewer rounds and kills: each import there is several
# times slower, and the figures that count come from the normal build.
SCALE = float(os.environ.get("RELIABILITY_SCALE", "1"))


class ConcurrentImports(unittest.TestCase):
    ROUNDS = max(2, round(20 * SCALE))

    def rounds(self, processes):
        source = SmallDocument.get(8)
        refused = lost = 0
        with Workspace() as ws:
            for name in ["doc.tlv"] + ["r%d.pdf" % i for i in range(processes)]:
                shutil.copy(os.path.join(source, name), ws.at(name))
            original = read(ws.at("doc.tlv"))
            for round_ in range(self.ROUNDS):
                write(ws.at("doc.tlv"), original)
                # One import in four waits its turn; the others refuse at once when they
                # find the document locked, which keeps the rounds short.
                running = [ws.start("import", "doc.tlv", "r%d.pdf" % i, "--report",
                                    "r%d.json" % i, "--wait", "120" if i % 4 == 0 else "0")
                           for i in range(processes)]
                outcomes = [(p.wait(), *p.communicate()) for p in running]
                saved = read(ws.at("doc.tlv")).decode()
                for i, (status, out, err) in enumerate(outcomes):
                    mine = "review-%d" % i in saved
                    said = None
                    if os.path.exists(ws.at("r%d.json" % i)):
                        with open(ws.at("r%d.json" % i)) as f:
                            said = json.load(f)["saved"]
                        os.remove(ws.at("r%d.json" % i))
                    context = "round %d, import %d: %d\n%s%s" % (round_, i, status, out, err)
                    if status == 0:
                        self.assertTrue(mine, "a success not in the file: " + context)
                        self.assertIs(said, True, context)
                    else:
                        self.assertEqual(status, 1, context)
                        self.assertFalse(mine, "a refused import applied: " + context)
                        self.assertIn("locked by another import", err, context)
                        self.assertIsNot(said, True, context)
                        refused += 1
                    lost += status == 0 and not mine
                self.assertEqual(temporaries(ws.files), [])
        FIGURES["concurrent %d" % processes] = "%d rounds, %d imports, %d refused, %d lost" % (
            self.ROUNDS, self.ROUNDS * processes, refused, lost)

    def test_two_at_once(self):
        self.rounds(2)

    def test_eight_at_once(self):
        self.rounds(8)

    def test_a_waiting_import_names_the_holder(self):
        source = SmallDocument.get(8)
        with Workspace() as ws:
            shutil.copy(os.path.join(source, "doc.tlv"), ws.at("doc.tlv"))
            shutil.copy(os.path.join(source, "r0.pdf"), ws.at("r0.pdf"))
            # This process holds the lock the way an import does.
            with open(ws.at("doc.tlv"), "rb") as held:
                fcntl.flock(held, fcntl.LOCK_EX)
                before = ws.snapshot()
                result = ws.run("import", "doc.tlv", "r0.pdf", "--wait", "0.3")
                self.assertEqual(ws.snapshot(), before)
            self.assertEqual(result.returncode, 1, result.stderr)
            self.assertIn("being imported into by process %d" % os.getpid(), result.stderr)
            self.assertIn("doc.tlv: locked by another import (process %d)" % os.getpid(),
                          result.stderr)


class BigDocument:
    """A 200-page document and a review of a few comments of it, made once."""
    folder = None

    @classmethod
    def get(cls):
        if cls.folder is None:
            cls.ws = Workspace()
            ws = cls.ws
            subprocess.run([PYTHON, BENCH_INPUT, "document", "200", ws.at("big.tlv")], check=True)
            assert ws.run("export-pdf", "big.tlv", "-o", "big.pdf").returncode == 0
            subprocess.run([PYTHON, BENCH_INPUT, "review", ws.at("big.pdf"), ws.at("all.json")],
                           check=True)
            with open(ws.at("all.json")) as f:
                comments = json.load(f)["comments"]
            make_review(ws, "big.pdf", comments[:: max(1, len(comments) // 20)], "review.pdf")
            cls.folder = ws.files
        return cls.folder


class ChangedOnDisk(unittest.TestCase):
    def test_another_writers_file_stays(self):
        source = BigDocument.get()
        with Workspace() as ws:
            for name in ("big.tlv", "review.pdf"):
                shutil.copy(os.path.join(source, name), ws.at(name))
            import_ = ws.start("import", "big.tlv", "review.pdf")
            # Once the import holds its lock it has read, or is reading, the document.
            while import_.poll() is None:
                with open(ws.at("big.tlv"), "rb") as probe:
                    try:
                        fcntl.flock(probe, fcntl.LOCK_EX | fcntl.LOCK_NB)
                        fcntl.flock(probe, fcntl.LOCK_UN)
                    except BlockingIOError:
                        break
                time.sleep(0.005)
            theirs = read(ws.at("big.tlv")).replace(b"</document>", b"</document>\n\n")
            write(ws.at("other"), theirs)
            os.rename(ws.at("other"), ws.at("big.tlv"))
            out, err = import_.communicate()
            self.assertEqual(import_.returncode, 1, out + err)
            self.assertIn("changed on disk while importing; nothing saved", err)
            self.assertEqual(read(ws.at("big.tlv")), theirs)
            with open(ws.at("review.report.json")) as f:
                report = json.load(f)
            self.assertEqual((report["saved"], report["reason"]),
                             (False, "changed on disk while importing; nothing saved"))
            self.assertTrue(read(ws.at("review.smry")).startswith(b"Nothing was saved: "))


class Outputs(unittest.TestCase):
    """Each output pointed at an input, a link to one, a FIFO, a device and a folder."""

    def setUp(self):
        self.source = SmallDocument.get(8)

    def prepared(self, ws):
        shutil.copy(os.path.join(self.source, "doc.tlv"), ws.at("doc.tlv"))
        shutil.copy(os.path.join(self.source, "r0.pdf"), ws.at("r.pdf"))
        os.symlink("doc.tlv", ws.at("link-to-doc"))
        os.symlink("r.pdf", ws.at("link-to-pdf"))
        os.mkfifo(ws.at("fifo"))
        os.mkdir(ws.at("folder"))
        if os.geteuid() == 0:
            os.mknod(ws.at("device"), stat.S_IFCHR | 0o600, os.makedev(1, 3))

    def refused(self, ws, *args):
        before = ws.snapshot()
        result = ws.run(*args)
        self.assertNotEqual(result.returncode, 0, "%s\n%s" % (args, result.stderr))
        self.assertEqual(ws.snapshot(), before, args)
        return result

    def test_each_output_at_each_thing_it_must_not_replace(self):
        targets = ["doc.tlv", "r.pdf", "link-to-doc", "link-to-pdf", "fifo", "folder", "device"]
        with Workspace() as ws:
            self.prepared(ws)
            if not os.path.exists(ws.at("device")):
                print("reliability: not root, so no device node is made to write over")
                targets.remove("device")
            for target in targets:
                with self.subTest(target=target):
                    self.refused(ws, "import", "doc.tlv", "r.pdf", "-o", target)
                    self.refused(ws, "import", "doc.tlv", "r.pdf", "--report", target)
                    # The PDF is no input of export-pdf, which may replace it.
                    if "pdf" not in target:
                        self.refused(ws, "export-pdf", "doc.tlv", "-o", target)

    def test_the_summary_at_an_input_or_a_non_file(self):
        with Workspace() as ws:
            self.prepared(ws)
            # The summary is named after the PDF: notes.smry for notes.pdf.
            shutil.copy(ws.at("r.pdf"), ws.at("notes.smry"))
            self.refused(ws, "import", "doc.tlv", "notes.smry")  # the PDF itself
            shutil.copy(ws.at("doc.tlv"), ws.at("doc.smry"))
            shutil.copy(ws.at("r.pdf"), ws.at("doc.pdf"))
            self.refused(ws, "import", "doc.smry", "doc.pdf")  # the document
            for kind, make in (("fifo", os.mkfifo), ("folder", os.mkdir)):
                shutil.copy(ws.at("r.pdf"), ws.at(kind + "2.pdf"))
                make(ws.at(kind + "2.smry"))
                self.refused(ws, "import", "doc.tlv", kind + "2.pdf")

    def test_export_replaces_a_non_pdf_only_when_forced(self):
        with Workspace() as ws:
            self.prepared(ws)
            write(ws.at("notes.txt"), b"the writer's notes\n")
            result = self.refused(ws, "export-pdf", "doc.tlv", "-o", "notes.txt")
            self.assertIn("not a PDF", result.stderr)
            self.assertEqual(ws.run("export-pdf", "doc.tlv", "-o", "notes.txt", "--force")
                             .returncode, 0)
            self.assertTrue(read(ws.at("notes.txt")).startswith(b"%PDF-"))

    def test_export_of_a_book_never_replaces_a_component(self):
        with Workspace() as ws:
            for name in ("manual.tlb", "chapter1.tlv", "table-footnote.tlv", "structured.tlv"):
                shutil.copy(os.path.join(EXAMPLES, name), ws.at(name))
            self.refused(ws, "export-pdf", "manual.tlb", "-o", "structured.tlv", "--force")


class Links(unittest.TestCase):
    def check_links_stay(self, ws, links, target):
        for link in links:
            self.assertTrue(os.path.islink(ws.at(link)), link)
        self.assertIn(b"review-0", read(ws.at(target)))
        self.assertEqual(temporaries(ws.files) + temporaries(ws.at("real")), [])

    def test_a_document_through_one_and_two_links(self):
        source = SmallDocument.get(8)
        for chain in (["one"], ["two", "one"]):
            with self.subTest(links=len(chain)), Workspace() as ws:
                os.mkdir(ws.at("real"))
                shutil.copy(os.path.join(source, "doc.tlv"), ws.at("real/doc.tlv"))
                shutil.copy(os.path.join(source, "r0.pdf"), ws.at("r.pdf"))
                os.symlink("real/doc.tlv", ws.at("one"))
                if len(chain) == 2:
                    os.symlink("one", ws.at("two"))
                result = ws.run("import", chain[0], "r.pdf")
                self.assertEqual(result.returncode, 0, result.stderr)
                self.check_links_stay(ws, chain, "real/doc.tlv")

    def test_a_book_component_through_one_and_two_links(self):
        source = SmallDocument.get(8)
        for chain in (["chapter1.tlv"], ["chapter1.tlv", "hop.tlv"]):
            with self.subTest(links=len(chain)), Workspace() as ws:
                for name in ("manual.tlb", "table-footnote.tlv", "structured.tlv"):
                    shutil.copy(os.path.join(EXAMPLES, name), ws.at(name))
                os.mkdir(ws.at("real"))
                shutil.copy(os.path.join(EXAMPLES, "chapter1.tlv"), ws.at("real/chapter1.tlv"))
                os.symlink(chain[-1] if len(chain) == 2 else "real/chapter1.tlv",
                           ws.at("chapter1.tlv"))
                if len(chain) == 2:
                    os.symlink("real/chapter1.tlv", ws.at("hop.tlv"))
                assert ws.run("export-pdf", "manual.tlb", "-o", "book.pdf").returncode == 0
                make_review(ws, "book.pdf", [note("review-0", 0)], "r.pdf")
                result = ws.run("import", "manual.tlb", "r.pdf")
                self.assertEqual(result.returncode, 0, result.stderr)
                self.check_links_stay(ws, chain, "real/chapter1.tlv")
                with open(ws.at("r.report.json")) as f:
                    report = json.load(f)
                self.assertTrue(report["saved"])
                self.assertTrue(any(c["document"].endswith("chapter1.tlv") and c["saved"]
                                    for c in report["components"]), report["components"])


class Outcomes(unittest.TestCase):
    """The exit status, the report and the summary agree with what is in the document."""

    def test_saved_but_the_report_not_written(self):
        source = SmallDocument.get(8)
        with Workspace() as ws:
            shutil.copy(os.path.join(source, "doc.tlv"), ws.at("doc.tlv"))
            shutil.copy(os.path.join(source, "r0.pdf"), ws.at("r.pdf"))
            result = ws.run("import", "doc.tlv", "r.pdf", "--report", "nofolder/r.json")
            self.assertEqual(result.returncode, 3, result.stderr)
            self.assertIn("cannot write nofolder/r.json: no such file or directory", result.stderr)
            self.assertIn(b"review-0", read(ws.at("doc.tlv")))
            self.assertFalse(read(ws.at("r.smry")).startswith(b"Nothing was saved"))

    def test_a_refused_import_says_nothing_was_saved(self):
        source = SmallDocument.get(8)
        with Workspace() as ws:
            shutil.copy(os.path.join(source, "doc.tlv"), ws.at("doc.tlv"))
            shutil.copy(os.path.join(source, "r0.pdf"), ws.at("r.pdf"))
            os.chmod(ws.at("doc.tlv"), 0o444)
            before = read(ws.at("doc.tlv"))
            result = ws.run("import", "doc.tlv", "r.pdf", "--report", "r.json")
            self.assertEqual(result.returncode, 1, result.stderr)
            self.assertIn("\nNothing was saved: doc.tlv: read-only document\n", result.stdout)
            self.assertEqual(read(ws.at("doc.tlv")), before)
            if os.path.exists(ws.at("r.json")):
                with open(ws.at("r.json")) as f:
                    self.assertEqual(json.load(f)["saved"], False)


class FullFileSystem(unittest.TestCase):
    def test_no_space_left(self):
        source = SmallDocument.get(8)
        with Workspace() as ws:
            small = ws.at("small")
            os.mkdir(small)
            mounted = subprocess.run(["mount", "-t", "tmpfs", "-o", "size=256k", "tmpfs", small],
                                     capture_output=True)
            if mounted.returncode != 0:
                self.skipTest("cannot mount a small tmpfs here (not root, or not allowed): "
                              + mounted.stderr.decode().strip())
            try:
                shutil.copy(os.path.join(source, "doc.tlv"), os.path.join(small, "doc.tlv"))
                shutil.copy(os.path.join(source, "r0.pdf"), ws.at("r.pdf"))
                original = read(os.path.join(small, "doc.tlv"))
                # Fill what is left, so that the new document has no room.
                filler = os.open(os.path.join(small, "filler"), os.O_WRONLY | os.O_CREAT)
                try:
                    while os.write(filler, b"\0" * 4096):
                        pass
                except OSError:
                    pass
                finally:
                    os.close(filler)
                result = ws.run("import", "small/doc.tlv", "r.pdf")
                self.assertNotEqual(result.returncode, 0)
                self.assertIn("no space left on device", result.stderr)
                self.assertEqual(read(os.path.join(small, "doc.tlv")), original)
                self.assertEqual(temporaries(small), [])
                with open(ws.at("r.report.json")) as f:
                    report = json.load(f)
                self.assertEqual((report["saved"], report["reason"]),
                                 (False, "no space left on device"))
            finally:
                subprocess.run(["umount", small], check=True)


class KilledImports(unittest.TestCase):
    KILLS = max(3, round(30 * SCALE))

    def test_the_document_is_old_or_new_and_nothing_stays_behind(self):
        source = BigDocument.get()
        with Workspace() as ws:
            for name in ("big.tlv", "review.pdf"):
                shutil.copy(os.path.join(source, name), ws.at(name))
            old = read(ws.at("big.tlv"))
            started = time.monotonic()
            result = ws.run("import", "big.tlv", "review.pdf")
            whole = time.monotonic() - started
            self.assertEqual(result.returncode, 0, result.stderr)
            new = read(ws.at("big.tlv"))
            rng = random.Random(35)
            outcomes = {"old": 0, "new": 0}
            left = 0
            for kill in range(self.KILLS):
                write(ws.at("big.tlv"), old)
                import_ = ws.start("import", "big.tlv", "review.pdf")
                time.sleep(rng.uniform(0, whole * 1.1))
                import_.send_signal(signal.SIGKILL)
                import_.communicate()
                now = read(ws.at("big.tlv"))
                self.assertIn(now, (old, new), "kill %d left a document neither old nor new" % kill)
                outcomes["old" if now == old else "new"] += 1
                left = max(left, len(temporaries(ws.files)))
            result = ws.run("import", "big.tlv", "review.pdf")
            self.assertEqual(result.returncode, 0, result.stderr)
            self.assertEqual(temporaries(ws.files), [])
        FIGURES["killed"] = ("%d kills: %d left the old document, %d the new, none other; "
                             "at most %d temporary files left, none after the next import"
                             % (self.KILLS, outcomes["old"], outcomes["new"], left))


def tearDownModule():
    for fixture in (SmallDocument, BigDocument):
        if fixture.folder is not None:
            fixture.ws.__exit__()
    for name, figure in sorted(FIGURES.items()):
        print("reliability: %s: %s" % (name, figure))


if __name__ == "__main__":
    unittest.main(verbosity=2)
