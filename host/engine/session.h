// The host session: product, version, directories, view and formatting settings.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "host/engine/document_lock.h"

#include "tolvane/numbers.h"

namespace tlhost {

struct Session {
  std::string productName = "Tolvane";
  int32_t versionMajor = 17;
  int32_t versionMinor = 0;
  int32_t language = tolvane::LANG_JAPANESE;
  std::string hostDir;
  std::string userDir;
  std::string currentView = "WYSIWYG View";
  int32_t displaying = 1;
  int32_t reformatting = 1;
  int32_t trackDeletedTest = 1;
  int32_t standardMenus = 1;
  std::string pdfLibraryInit = "1";
  std::string pdfLibraryPath;
  tolvane::ObjectId activeDocument = 0;
  tolvane::ObjectId activeBook = 0;
  // A document opened from a file the user may not write (MayWriteFile) is read-only. Off for a
  // session that saves what it opens somewhere else.
  bool protectUnwritableFiles = true;
  // Set for a session that saves what it opens in place: each document or book file is locked
  // (DocumentLock) before it is read, and the lock held until it is saved or closed.
  std::optional<LockWait> lockFiles;
};

}  // namespace tlhost
