// What an import could not read, over a whole import (a book's components together): the pages
// of the PDF the library could not read, and comments of kinds the import does not take; and
// the notices that name them after the summary's counts.
#pragma once

#include <cstdint>
#include <map>
#include <optional>
#include <set>
#include <string>

#include "apply/import_notices.h"

namespace osprevan::apply {

struct UnreadablePages {
  // Pages (from 0) whose annotations were read but whose text was not: their comments fail.
  std::set<int32_t> textUnread;
  // Pages the library could not give at all: whatever comments they hold are not known.
  std::set<int32_t> notHad;

  bool empty() const { return textUnread.empty() && notHad.empty(); }
};

// The pages as the user counts them, from 1, runs of three or more joined: "2, 5-9, 12".
std::string PageList(const std::set<int32_t>& pages);

// One line naming every unreadable page; for the report, those whose annotations were not read
// are named apart. None when every page was read.
std::optional<ImportNotice> UnreadablePagesNotice(const UnreadablePages& pages);

// One line counting the comments of kinds the import does not take (`kinds`: by subtype name);
// for the report, each kind with its count. None when there were none.
std::optional<ImportNotice> UnreadKindsNotice(const std::map<std::string, int32_t>& kinds);

}  // namespace osprevan::apply
