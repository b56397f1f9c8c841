#include "ui/default_pdf_path.h"

#include "hostlink/host_ops.h"
#include "platform/netlib/net_lib.h"
#include "support/paths.h"

namespace osprevan::ui {

ProposedPdf ProposePdfPath(const std::string& sourcePath) {
  ProposedPdf proposal;
  if (sourcePath.empty()) return proposal;
  std::string name;
  support::SplitPath(sourcePath, proposal.directory, name);
  if (!name.empty()) proposal.name = support::ReplaceLastExtension(name, ".pdf");
  if (proposal.directory.empty() && proposal.name.empty()) return proposal;
  const char separator = netlib::IsNetworkPath(proposal.directory) ? '/' : support::kPathSeparator;
  proposal.path =
      proposal.directory.empty() ? proposal.name : proposal.directory + separator + proposal.name;
  return proposal;
}

ProposedPdf DefaultPdfPath() {
  tolvane::ObjectId target = HostGetId(0, 0, tolvane::P_SESSION_ACTIVE_DOC);
  int32_t nameProperty = tolvane::P_DOC_NAME;
  if (!target) {
    target = HostGetId(0, 0, tolvane::P_SESSION_ACTIVE_BOOK);
    nameProperty = tolvane::P_BOOK_NAME;
  }
  if (!target) return {};
  return ProposePdfPath(HostGetString(target, target, nameProperty));
}

std::string ResolveNetworkPath(const std::string& path) {
  if (!netlib::IsNetworkPath(path)) return path;
  std::string local;
  if (netlib::FetchLocalCopy(path, local) || netlib::CachedLocalCopy(path, local)) return local;
  return path;
}

}  // namespace osprevan::ui
