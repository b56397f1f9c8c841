#include "apply/import_notices.h"

#include "hostlink/host_ops.h"

namespace osprevan::apply {

void PrintNotices(const ImportNotices& notices) {
  for (const ImportNotice& notice : notices) {
    if (!notice.shown.empty()) HostPrintConsole("\n" + notice.shown);
  }
}

std::string ShownLines(const ImportNotices& notices) {
  std::string lines;
  for (const ImportNotice& notice : notices) {
    if (!notice.shown.empty()) lines += notice.shown + "\n";
  }
  return lines;
}

}  // namespace osprevan::apply
