// Finding a loaded module from its file path, as GetModuleHandle does.
#pragma once

#include <string>

#include "platform/win/module.h"

namespace win {

// The handle of the loaded module whose file is `path` (UTF-16; the same file by any path
// counts), or null when no loaded module has that file.
HMODULE GetModuleHandle(const std::u16string& path);

}  // namespace win
