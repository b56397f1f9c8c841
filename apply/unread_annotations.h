// The notice that counts the annotations an import could not read, after the summary's counts,
// and names each with its page and why in the report.
#pragma once

#include <optional>
#include <vector>

#include "pdf/unread_annotation.h"
#include "ui/import_notices.h"

namespace osprevan::apply {

// None when every annotation was read.
std::optional<ui::ImportNotice> UnreadAnnotationsNotice(
    const std::vector<pdf::UnreadAnnotation>& unread);

}  // namespace osprevan::apply
