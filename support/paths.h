// File paths as the plug-in builds them: joining, splitting off the directory, replacing the
// last extension.
#pragma once

#include <string>

namespace osprevan::support {

constexpr char kPathSeparator = '/';

// `directory` + separator + `name`; no doubled separator when `directory` already ends in one.
std::string JoinPath(const std::string& directory, const std::string& name);

// Splits at the last separator ('/' or '\\'); the directory is empty when there is none.
void SplitPath(const std::string& path, std::string& directory, std::string& name);

// Everything from the last "." of `text` on replaced by `extension` (".pdf"), or appended.
std::string ReplaceLastExtension(const std::string& text, const std::string& extension);

}  // namespace osprevan::support
