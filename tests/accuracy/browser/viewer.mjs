// The viewer page the driver opens: the PDF viewer component with its annotation editors
// enabled, showing /doc.pdf at 100 %. It publishes what the driver needs on window.viewerApp
// and sets window.viewerReady (or window.viewerFailed) when the document is shown.
import * as pdfjsLib from "/pdfjs/build/pdf.mjs";
import * as editing from "/editing.mjs";

async function open() {
  pdfjsLib.GlobalWorkerOptions.workerSrc = "/pdfjs/build/pdf.worker.mjs";
  // The viewer component reads the library from the global scope.
  globalThis.pdfjsLib = pdfjsLib;
  const { EventBus, PDFLinkService, PDFViewer } = await import("/pdfjs/web/pdf_viewer.mjs");
  const eventBus = new EventBus();
  const app = { lib: pdfjsLib, eventBus, uiManager: null, rendered: new Set() };
  eventBus.on("annotationeditoruimanager", ({ uiManager }) => { app.uiManager = uiManager; });
  eventBus.on("annotationeditorlayerrendered", ({ pageNumber }) => app.rendered.add(pageNumber));
  const linkService = new PDFLinkService({ eventBus });
  const viewer = new PDFViewer({
    container: document.getElementById("container"),
    viewer: document.getElementById("viewer"),
    eventBus,
    linkService,
    annotationEditorMode: pdfjsLib.AnnotationEditorType.NONE,
    // The highlight colours the full viewer offers by default; the editor needs a palette.
    annotationEditorHighlightColors: "yellow=#FFFF98,green=#53FFBC,blue=#80EBFF,pink=#FFCBE6," +
      "red=#FF4F5F",
  });
  linkService.setViewer(viewer);
  const pagesInit = new Promise((resolve) => eventBus.on("pagesinit", resolve));
  const pdf = await pdfjsLib.getDocument({
    url: "/doc.pdf",
    cMapUrl: "/pdfjs/cmaps/",
    cMapPacked: true,
    standardFontDataUrl: "/pdfjs/standard_fonts/",
    wasmUrl: "/pdfjs/wasm/",
    iccUrl: "/pdfjs/iccs/",
  }).promise;
  viewer.setDocument(pdf);
  linkService.setDocument(pdf);
  await pagesInit;
  viewer.currentScaleValue = "1";
  Object.assign(app, { pdf, viewer, editing });
  window.viewerApp = app;
  window.viewerReady = true;
}

open().catch((e) => { window.viewerFailed = String(e && e.stack || e); });
