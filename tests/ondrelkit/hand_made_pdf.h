// Small PDFs written byte by byte, for cases no producer writes: damage, odd structure trees.
#pragma once

#include <string>
#include <vector>

namespace ondrelkit::testing {

// Writes objects 1..n (1 is the catalog) with a correct cross-reference table, unless
// `breakXref`, which points every entry at the wrong offset.
void WriteHandMadePdf(const std::string& path, const std::vector<std::string>& objects,
                      bool breakXref = false);

// A stream object holding `data`.
std::string Stream(const std::string& data);

// A Type1 Helvetica font dictionary.
extern const char* const kHelvetica;

}  // namespace ondrelkit::testing
