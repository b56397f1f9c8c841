// Annotation titles and contents as the plug-in keeps them: UTF-8, with tabs turned into code 8
// (so that a tab never splits an author or a note) and carriage returns into line feeds.
#pragma once

#include <string>

#include "ondrelkit/ondrelkit.h"

namespace osprevan::pdf {

std::string AnnotationTextToUtf8(const OkText* text);

}  // namespace osprevan::pdf
