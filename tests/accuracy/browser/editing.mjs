// What the driver does inside the viewer page, as a reader would with the mouse: show a page,
// select a target's characters in the page's text layer, turn the selection into a highlight
// with the viewer's own editor (with a comment when asked), and save the document.

const BLANK = /\s/u;

function waitFor(test, what, seconds = 20) {
  return new Promise((resolve, reject) => {
    const until = Date.now() + seconds * 1000;
    const poll = () => {
      const value = test();
      if (value) {
        resolve(value);
      } else if (Date.now() > until) {
        reject(new Error("no " + what + " after " + seconds + " s"));
      } else {
        setTimeout(poll, 20);
      }
    };
    poll();
  });
}

export function pageDiv(pageNumber) {
  return document.querySelector(`.page[data-page-number="${pageNumber}"]`);
}

// Scrolls the page into view and waits until its text layer and editor layer are there.
export async function showPage(app, pageNumber) {
  app.viewer.currentPageNumber = pageNumber;
  await waitFor(() => app.rendered.has(pageNumber) &&
                pageDiv(pageNumber)?.querySelector(".textLayer span"), "text layer on page " +
                pageNumber);
}

// The page's text layer as one string of its characters that are not blanks, each with the
// text node and offset it comes from and where the layer lays it out, in PDF user space.
function layerCharacters(app, pageNumber) {
  const div = pageDiv(pageNumber);
  const viewport = app.viewer.getPageView(pageNumber - 1).viewport;
  const origin = div.getBoundingClientRect();
  const range = document.createRange();
  const chars = [];
  for (const span of div.querySelectorAll(".textLayer span")) {
    const node = span.firstChild;
    if (!node || node.nodeType !== Node.TEXT_NODE) {
      continue;
    }
    for (let i = 0; i < node.data.length; i++) {
      if (BLANK.test(node.data[i])) {
        continue;
      }
      range.setStart(node, i);
      range.setEnd(node, i + 1);
      const box = range.getBoundingClientRect();
      const [x, y] = viewport.convertToPdfPoint(box.left - origin.left,
                                                (box.top + box.bottom) / 2 - origin.top);
      chars.push({ char: node.data[i], node, offset: i, x, y });
    }
  }
  return chars;
}

// A DOM range over exactly the target's characters: the occurrence of its text (blanks left
// out on both sides) nearest to where its first glyph lies.
function targetRange(app, target) {
  const chars = layerCharacters(app, target.page + 1);
  const wanted = target.text.replace(/\s+/gu, "");
  const text = chars.map((c) => c.char).join("");
  let best = null;
  for (let at = text.indexOf(wanted); at >= 0; at = text.indexOf(wanted, at + 1)) {
    const first = chars[at];
    const distance = Math.abs(first.x - target.x) + 4 * Math.abs(first.y - target.y);
    if (!best || distance < best.distance) {
      best = { at, distance };
    }
  }
  if (!best || best.distance > 40) {
    const near = chars.reduce((n, c, i) => Math.abs(c.x - target.x) + 4 * Math.abs(c.y - target.y) <
      Math.abs(chars[n].x - target.x) + 4 * Math.abs(chars[n].y - target.y) ? i : n, 0);
    throw new Error(`text ${JSON.stringify(target.text)} not found in the text layer of page ` +
                    `${target.page + 1} near (${target.x.toFixed(1)}, ${target.y.toFixed(1)}), ` +
                    "where it reads " +
                    JSON.stringify(text.slice(Math.max(0, near - 20), near + 20)) +
                    (best ? ` (nearest found ${best.distance.toFixed(1)} away)` : ""));
  }
  const first = chars[best.at], last = chars[best.at + wanted.length - 1];
  const range = document.createRange();
  range.setStart(first.node, first.offset);
  range.setEnd(last.node, last.offset + 1);
  return range;
}

function editorsOn(app, pageIndex) {
  return [...app.uiManager.getEditors(pageIndex)];
}

// Selects the target with the highlight tool chosen: the viewer's editor makes a highlight of
// the selection as soon as it ends, as it does when a reader lets go of the mouse.
export async function highlight(app, target) {
  await showPage(app, target.page + 1);
  await setMode(app, "HIGHLIGHT");
  const before = new Set(editorsOn(app, target.page));
  const range = targetRange(app, target);
  const selection = document.getSelection();
  selection.removeAllRanges();
  selection.addRange(range);
  const selected = range.toString();
  const editor = await waitFor(() => editorsOn(app, target.page).find((e) => !before.has(e)),
                               "highlight made of the selection");
  if (target.comment) {
    editor.comment = target.comment;
  }
  return { selected, id: editor.id };
}

// The point (x, y) of PDF user space on the page, in the window's coordinates.
export async function clientPoint(app, pageIndex, x, y) {
  await showPage(app, pageIndex + 1);
  const viewport = app.viewer.getPageView(pageIndex).viewport;
  const [px, py] = viewport.convertToViewportPoint(x, y);
  const origin = pageDiv(pageIndex + 1).getBoundingClientRect();
  return { x: origin.left + px, y: origin.top + py };
}

export async function setMode(app, name) {
  await app.uiManager.updateMode(app.lib.AnnotationEditorType[name]);
}

export function editorCount(app, pageIndex) {
  return editorsOn(app, pageIndex).length;
}

// The document as the viewer saves it, in base64.
export async function save(app) {
  const bytes = await app.pdf.saveDocument();
  let binary = "";
  for (let i = 0; i < bytes.length; i += 0x8000) {
    binary += String.fromCharCode(...bytes.subarray(i, i + 0x8000));
  }
  return btoa(binary);
}
