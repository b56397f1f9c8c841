#include "host/engine/file_problem.h"

#include <cstring>

namespace tlhost {

FileProblem ProblemOf(FileCause cause, const std::string& path) {
  FileProblem problem;
  problem.cause = cause;
  problem.path = path;
  return problem;
}

std::string Diagnostic(const FileProblem& problem) {
  if (!problem) return "";
  std::string out = problem.path + ": cause " + std::to_string(static_cast<int>(problem.cause));
  if (problem.cause == FileCause::System)
    out += " errno " + std::to_string(problem.systemError) + " (" +
           std::strerror(problem.systemError) + ")";
  if (problem.holder > 0) out += " holder " + std::to_string(problem.holder);
  if (!problem.other.empty()) out += " other " + problem.other;
  if (problem.cause == FileCause::Malformed) out += " " + Diagnostic(problem.format);
  return out;
}

}  // namespace tlhost
