#include "platform/win/module_handle.h"

#include <link.h>
#include <sys/stat.h>

#include "platform/win/utf16.h"

namespace win {

HMODULE GetModuleHandle(const std::u16string& path) {
  // The same file, by device and inode, whatever path the module was loaded by.
  struct stat wanted {};
  if (path.empty() || stat(WideToUtf8(path).c_str(), &wanted) != 0) return nullptr;
  struct Search {
    struct stat wanted;
    HMODULE base;
  } search{wanted, nullptr};
  dl_iterate_phdr(
      [](dl_phdr_info* info, size_t, void* data) {
        auto* s = static_cast<Search*>(data);
        struct stat found {};
        // The program itself is listed without a name.
        const char* name = info->dlpi_name && *info->dlpi_name ? info->dlpi_name : "/proc/self/exe";
        if (stat(name, &found) != 0 || found.st_dev != s->wanted.st_dev ||
            found.st_ino != s->wanted.st_ino) {
          return 0;
        }
        // The module's base is where its first loadable segment starts (see module.cpp).
        for (int i = 0; i < info->dlpi_phnum; ++i) {
          if (info->dlpi_phdr[i].p_type != PT_LOAD) continue;
          s->base =
              reinterpret_cast<HMODULE>(info->dlpi_addr + (info->dlpi_phdr[i].p_vaddr & ~0xFFFULL));
          return 1;
        }
        return 0;
      },
      &search);
  return search.base;
}

}  // namespace win
