// A tagged PDF with a small structure tree, made with cairo and pango and finished with qpdf
// (element identifiers, a role map and a rotated page, which cairo cannot write).
#pragma once

#include <string>

namespace ondrelkit::testing {

// Page 0: a heading "Review notes" (H1) and a paragraph whose middle words lie in a Span;
// page 1, rotated by 90 degrees: a paragraph of several lines. The paragraphs' types are
// "Body" and "Quote", mapped by the role map Quote -> Body -> P. Every element but the
// Document and the Span carries an /ID: "P10#0#0#11#12", "P11#0#10#12#0", "P12#10#11#0#0".
void WriteStructuredPdf(const std::string& path);

// The same text without tags, repeated over `pages` pages, for the benchmark.
void WriteLongPdf(const std::string& path, int pages);

extern const char* const kHeadingText;
extern const char* const kBeforeSpan;
extern const char* const kSpanText;
extern const char* const kAfterSpan;
extern const char* const kSecondPageText;

}  // namespace ondrelkit::testing
