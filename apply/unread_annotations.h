// The notice that counts the annotations an import could not read, after the summary's counts,
// and names each with its page and why in the report.
#pragma once

#include <optional>
#include <vector>

#include "apply/import_notices.h"
#include "pdf/unread_annotation.h"

namespace osprevan::apply {

// None when every annotation was read.
std::optional<ImportNotice> UnreadAnnotationsNotice(
    const std::vector<pdf::UnreadAnnotation>& unread);

}  // namespace osprevan::apply
