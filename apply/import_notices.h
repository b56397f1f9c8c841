// What an import has to tell beyond the counts of its summary, a line each: shown after the
// counts in the summary dialog and the summary file, printed on the host console, and listed
// among the warnings of the per-comment report.
#pragma once

#include <string>
#include <vector>

namespace osprevan::apply {

struct ImportNotice {
  std::string shown;     // the user's words, from the string table; empty: the report only
  std::string reported;  // the report's words, in English as its reasons are; empty: none
};

using ImportNotices = std::vector<ImportNotice>;

// Prints each shown line on the host console, each on a line of its own.
void PrintNotices(const ImportNotices& notices);

// The shown lines, one after the other, each ended by a line feed.
std::string ShownLines(const ImportNotices& notices);

}  // namespace osprevan::apply
