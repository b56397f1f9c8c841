// Interprets one page's content stream (annotations left out) with Poppler, reporting what it
// shows to a sink. The same code serves the document's own thread and the read-ahead thread, so
// that what each builds from a page is the same.
#pragma once

#include "src/content_sink.h"

class PDFDoc;

namespace ondrelkit {

struct TreePage;

// `fromTree` is the page as read from the page tree when Poppler could not give it (null
// otherwise); `index` counts from 0. False when the page has no content that can be read
// (nothing is reported then).
bool InterpretPage(PDFDoc* pdf, int index, const TreePage* fromTree, int rotation,
                   ContentSink& sink);

}  // namespace ondrelkit
