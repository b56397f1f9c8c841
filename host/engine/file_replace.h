// Replacing a file whole, so that the writer's file is never left short: the new content goes
// to a temporary file beside it, which gets the old file's permission bits, owner and group and
// is flushed to disk before it is renamed over the old one; then the folder is flushed. A crash
// or power cut at any step leaves the old file or the new one.
#pragma once

#include <cstdint>
#include <functional>
#include <string>

namespace tlhost {

// The steps a test may stop the process after.
enum class ReplaceStep {
  TemporaryWritten,  // the temporary file is complete and on disk; the old file is untouched
  Renamed,           // the new file has taken the old one's name; the folder is not yet flushed
};
using ReplaceStepHook = std::function<void(ReplaceStep)>;

// Answer 0; ERR_READ_ONLY when `path` is a file the user may not write (MayWriteFile), which is
// left alone; ERR_FILE_WRITE when the content could not be written or renamed into place, with
// the old file whole and no temporary file left. A new file gets the permissions the process's
// file-creation mask gives. The owner and group are kept where the process may set them.
int32_t WriteFileReplacing(const std::string& path, const std::string& content, std::string& error,
                           const ReplaceStepHook& afterStep = nullptr);

}  // namespace tlhost
