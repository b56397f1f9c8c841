// Annotation titles and contents as the plug-in keeps them: UTF-8 as the reviewer wrote them,
// carriage returns turned into line feeds. What the host cannot hold is replaced only where the
// text goes into the document (hostlink/held_text.h).
#pragma once

#include <string>

#include "ondrelkit/ondrelkit.h"

namespace osprevan::pdf {

std::string AnnotationTextToUtf8(const OkText* text);

}  // namespace osprevan::pdf
