// Opening the files a book walk meets: component documents and nested books.
#pragma once

#include <string>

#include "tolvane/numbers.h"

namespace osprevan::session {

// Opens a component's file with the host's opening questions answered in advance; the second
// name is the component's own (used when the named file is missing). 0 when nothing opened.
tolvane::ObjectId OpenComponentDocument(const std::string& fileName, const std::string& secondName);

// The open document, else the open book, whose file name equals `fileName` without regard to
// letter case; 0 when none is open.
tolvane::ObjectId FindOpenFile(const std::string& fileName);

}  // namespace osprevan::session
