// Drives the PDF viewer in a headless browser to write review comments into a PDF as a reader
// would: highlights of selections in its text layer (some with a comment) and text boxes typed
// with its free-text editor, then the viewer's own save.
//
//   node driver.mjs PROFILE   (an empty folder for the browser's profile)
//
// reads jobs from standard input, one JSON line each, and answers each with one line:
// {"made": [what the viewer selected or typed for each comment]} or {"error": why}.
// A job: {"pdf": in, "out": out, "comments": [
//   {"kind": "highlight", "page": index, "text": ..., "x": ..., "y": ...,
//    "comment": text or null} |
//   {"kind": "freetext", "page": index, "x": ..., "y": ..., "contents": ...}]}
// (x, y: PDF user space; a highlight's first glyph, where a text box is clicked.)
import { writeFileSync, createReadStream, statSync } from "node:fs";
import { createServer } from "node:http";
import { dirname, join, normalize, extname } from "node:path";
import { createInterface } from "node:readline";
import { fileURLToPath } from "node:url";
import { chromium } from "playwright-core";

const HERE = dirname(fileURLToPath(import.meta.url));
const PDFJS = join(HERE, "node_modules", "pdfjs-dist");
const TYPES = { ".html": "text/html", ".mjs": "text/javascript", ".css": "text/css",
                ".pdf": "application/pdf", ".svg": "image/svg+xml", ".wasm": "application/wasm" };
const FLAGS = ["--headless", "--no-sandbox", "--disable-gpu", "--disable-quic", "--no-first-run",
               "--disable-background-networking", "--disable-component-update", "--disable-sync"];

// Serves the viewer's files, the library and the document of the job at hand
// (document.pdf), on 127.0.0.1 only.
function serve(document) {
  const files = Object.fromEntries(["viewer.html", "viewer.mjs", "editing.mjs"].map(
    (name) => ["/" + name, join(HERE, name)]));
  const server = createServer((request, response) => {
    const path = normalize(decodeURIComponent(new URL(request.url, "http://x").pathname));
    const file = path === "/doc.pdf" ? document.pdf :
      files[path] ?? (path.startsWith("/pdfjs/") ? join(PDFJS, path.slice(7)) : null);
    let size = -1;
    try {
      size = file && (file.startsWith(HERE) || file === document.pdf) ? statSync(file).size : -1;
    } catch {
      size = -1;
    }
    if (size < 0) {
      response.writeHead(404).end();
      return;
    }
    // Every job's document has the same address: the browser must not keep one.
    response.writeHead(200, { "Content-Type": TYPES[extname(file)] ?? "application/octet-stream",
                              "Content-Length": size, "Cache-Control": "no-store" });
    createReadStream(file).pipe(response);
  });
  return new Promise((resolve) => server.listen(0, "127.0.0.1", () => resolve(server)));
}

async function typeTextBox(page, comment) {
  const count = () => page.evaluate(
    (i) => window.viewerApp.editing.editorCount(window.viewerApp, i), comment.page);
  const before = await count();
  await page.evaluate(() => window.viewerApp.editing.setMode(window.viewerApp, "FREETEXT"));
  const at = await page.evaluate(({ i, x, y }) =>
    window.viewerApp.editing.clientPoint(window.viewerApp, i, x, y),
    { i: comment.page, x: comment.x, y: comment.y });
  // A click that lands while the viewer is still switching modes makes no box: it is clicked
  // again, as a reader would, a few times before the writer gives up.
  for (let attempt = 0; ; attempt++) {
    await page.mouse.click(at.x, at.y);
    try {
      await page.waitForFunction(({ i, n }) =>
        window.viewerApp.editing.editorCount(window.viewerApp, i) > n,
        { i: comment.page, n: before }, { timeout: 10000 });
      break;
    } catch (error) {
      if (attempt >= 2) throw error;
    }
  }
  // The new box takes the keyboard's focus a moment after the click, and may set its caret
  // again after the first key: the text is checked, and typed again over itself when a key
  // went astray, as a reader would.
  await page.waitForFunction(() => document.activeElement?.isContentEditable &&
    document.activeElement.closest(".freeTextEditor"));
  for (let attempt = 0; ; attempt++) {
    await page.keyboard.type(comment.contents);
    const typed = await page.evaluate(() => document.activeElement.innerText.trim());
    if (typed === comment.contents) {
      break;
    }
    if (attempt === 3) {
      throw new Error(`the text box holds ${JSON.stringify(typed)}`);
    }
    await page.keyboard.press("Control+A");
    await page.keyboard.press("Delete");
  }
  await page.keyboard.press("Escape");
  await page.evaluate(() => window.viewerApp.editing.setMode(window.viewerApp, "NONE"));
  return { typed: comment.contents };
}

// Opens one PDF in a fresh tab, writes the job's comments, saves to job.out.
async function writeOne(context, port, job) {
  const problems = [];
  const page = await context.newPage();
  try {
    page.on("pageerror", (e) => problems.push(String(e.stack || e)));
    await page.goto(`http://127.0.0.1:${port}/viewer.html`);
    await page.waitForFunction(() => window.viewerReady || window.viewerFailed);
    const failed = await page.evaluate(() => window.viewerFailed);
    if (failed) {
      throw new Error("the viewer did not open the document: " + failed);
    }
    const made = [];
    for (const comment of job.comments) {
      if (comment.kind === "highlight") {
        made.push(await page.evaluate((c) =>
          window.viewerApp.editing.highlight(window.viewerApp, c), comment));
        await page.evaluate(() => window.viewerApp.editing.setMode(window.viewerApp, "NONE"));
      } else if (comment.kind === "freetext") {
        made.push(await typeTextBox(page, comment));
      } else {
        throw new Error("the viewer writes no " + comment.kind + " here");
      }
    }
    if (problems.length) {
      throw new Error("the viewer failed: " + problems.join("; "));
    }
    const saved = await page.evaluate(() => window.viewerApp.editing.save(window.viewerApp));
    writeFileSync(job.out, Buffer.from(saved, "base64"));
    return made;
  } finally {
    await page.close();
  }
}

// One browser for every job read from standard input, one line each; one answer line each.
async function main() {
  const document = { pdf: null };
  const server = await serve(document);
  const context = await chromium.launchPersistentContext(process.argv[2], {
    executablePath: process.env.CHROMIUM ?? "/usr/bin/chromium", headless: true, args: FLAGS,
    viewport: { width: 1000, height: 1300 },
  });
  try {
    for await (const line of createInterface({ input: process.stdin })) {
      if (!line.trim()) {
        continue;
      }
      let answer;
      try {
        const job = JSON.parse(line);
        document.pdf = job.pdf;
        answer = { made: await writeOne(context, server.address().port, job) };
      } catch (e) {
        answer = { error: String(e && e.stack || e) };
      }
      process.stdout.write(JSON.stringify(answer) + "\n");
    }
  } finally {
    await context.close();
    server.close();
  }
}

main().catch((e) => {
  process.stderr.write(String(e && e.stack || e) + "\n");
  process.exit(1);
});
