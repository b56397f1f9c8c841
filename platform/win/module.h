// Module handles, file names and dynamic loading, in the manner of the Windows loader.
// A module handle is the base address at which a shared library is mapped.
#pragma once

#include <string>

namespace win {

using HMODULE = void*;

// The module that contains the given address (code or data), or null.
HMODULE ModuleFromAddress(const void* address);

// The file path of a loaded module; false when the handle names no loaded module.
bool GetModuleFileName(HMODULE module, std::string& path);

// Loads a shared library (dlopen, immediate binding, local symbols); null on failure.
HMODULE LoadLibrary(const std::string& path);

// The address of an exported symbol, or null.
void* GetProcAddress(HMODULE module, const char* name);

// Drops one load reference taken by LoadLibrary.
bool FreeLibrary(HMODULE module);

// The loader's text for the last failure of LoadLibrary or GetProcAddress on this thread.
std::string LastLoaderError();

}  // namespace win
