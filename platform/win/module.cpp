#include "platform/win/module.h"

#include <dlfcn.h>
#include <link.h>
#include <unistd.h>

#include <map>
#include <mutex>

namespace win {
namespace {

thread_local std::string t_lastError;

// dlopen handles by module base, so a module handle can be freed and searched by name.
std::map<HMODULE, std::pair<void*, int>>& Loaded() {
  static std::map<HMODULE, std::pair<void*, int>> loaded;
  return loaded;
}
std::mutex g_mutex;

void* HandleFor(HMODULE module) {
  auto found = Loaded().find(module);
  return found == Loaded().end() ? nullptr : found->second.first;
}

}  // namespace

HMODULE ModuleFromAddress(const void* address) {
  Dl_info info{};
  if (!address || dladdr(address, &info) == 0) return nullptr;
  return info.dli_fbase;
}

bool GetModuleFileName(HMODULE module, std::string& path) {
  if (!module) return false;
  struct Search {
    HMODULE module;
    std::string path;
    bool found;
  } search{module, {}, false};
  dl_iterate_phdr(
      [](dl_phdr_info* info, size_t, void* data) {
        auto* s = static_cast<Search*>(data);
        // The first loadable segment starts at the module's base address.
        for (int i = 0; i < info->dlpi_phnum; ++i) {
          if (info->dlpi_phdr[i].p_type != PT_LOAD) continue;
          const auto base =
              reinterpret_cast<HMODULE>(info->dlpi_addr + (info->dlpi_phdr[i].p_vaddr & ~0xFFFULL));
          if (base == s->module && info->dlpi_name) {
            s->path = info->dlpi_name;
            s->found = true;
            return 1;
          }
          break;
        }
        return 0;
      },
      &search);
  if (!search.found) return false;
  // The program itself is listed without a name.
  if (search.path.empty()) {
    char buffer[4096];
    const ssize_t n = readlink("/proc/self/exe", buffer, sizeof buffer - 1);
    if (n <= 0) return false;
    search.path.assign(buffer, static_cast<size_t>(n));
  }
  path = search.path;
  return true;
}

HMODULE LoadLibrary(const std::string& path) {
  void* handle = dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
  if (!handle) {
    const char* error = dlerror();
    t_lastError = error ? error : "cannot load " + path;
    return nullptr;
  }
  link_map* map = nullptr;
  if (dlinfo(handle, RTLD_DI_LINKMAP, &map) != 0 || !map) {
    t_lastError = "cannot find the base of " + path;
    dlclose(handle);
    return nullptr;
  }
  // The module's dynamic section lies inside it, so it leads to the module's base.
  HMODULE base = ModuleFromAddress(map->l_ld);
  if (!base) {
    t_lastError = "cannot find the base of " + path;
    dlclose(handle);
    return nullptr;
  }
  std::lock_guard<std::mutex> lock(g_mutex);
  auto& entry = Loaded()[base];
  if (entry.first) {
    dlclose(handle);  // already loaded: one more reference on the first handle
  } else {
    entry.first = handle;
  }
  ++entry.second;
  return base;
}

void* GetProcAddress(HMODULE module, const char* name) {
  void* handle = nullptr;
  {
    std::lock_guard<std::mutex> lock(g_mutex);
    handle = HandleFor(module);
  }
  if (!handle) {
    t_lastError = "not a module loaded by LoadLibrary";
    return nullptr;
  }
  dlerror();
  void* symbol = dlsym(handle, name);
  if (!symbol) {
    const char* error = dlerror();
    t_lastError = error ? error : std::string("no symbol ") + name;
  }
  return symbol;
}

bool FreeLibrary(HMODULE module) {
  void* handle = nullptr;
  {
    std::lock_guard<std::mutex> lock(g_mutex);
    auto found = Loaded().find(module);
    if (found == Loaded().end()) return false;
    if (--found->second.second > 0) return true;
    handle = found->second.first;
    Loaded().erase(found);
  }
  return dlclose(handle) == 0;
}

std::string LastLoaderError() {
  return t_lastError;
}

}  // namespace win
