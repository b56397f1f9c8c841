// A private folder for what one command writes before it knows where it goes (the plug-in's
// summary and report, moved to their places after the save). Its name, "tolvane-PID-XXXXXX"
// under the system's temporary folder, names the process that made it, so that a later command
// removes the folders of processes that were killed before they could remove their own.
#pragma once

#include <string>

namespace tlhost {

class ScratchFolder {
 public:
  ScratchFolder();
  ~ScratchFolder();
  ScratchFolder(const ScratchFolder&) = delete;
  ScratchFolder& operator=(const ScratchFolder&) = delete;

  // Empty when the folder could not be made.
  const std::string& path() const { return path_; }

 private:
  std::string path_;
};

// Removes, in `temporary`, the scratch folders this user's processes left behind when they no
// longer run. A folder of a running process, of another user, or that is a link stays.
void RemoveAbandonedScratchFolders(const std::string& temporary);

}  // namespace tlhost
