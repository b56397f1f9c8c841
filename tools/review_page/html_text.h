// Text made safe for an HTML page, and bytes made into a data: address.
#pragma once

#include <string>
#include <string_view>

namespace osprevan::review {

// `text` for an element's content or a quoted attribute: & < > " ' become references, each
// control character but line feed becomes its visible picture (U+2400 onwards), and bytes that
// are no UTF-8 become U+FFFD, so that nothing from a PDF or a report can open markup.
std::string HtmlEscaped(std::string_view text);

// "data:TYPE;base64,..." for `bytes`.
std::string DataUri(std::string_view type, std::string_view bytes);

}  // namespace osprevan::review
