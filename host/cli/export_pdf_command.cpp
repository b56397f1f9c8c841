#include "host/cli/export_pdf_command.h"

#include <cctype>
#include <map>

#include "host/cli/cli_texts.h"
#include "host/cli/error_text.h"
#include "host/cli/file_cause_text.h"
#include "host/engine/file_access.h"
#include "host/export/pdf_export.h"

namespace tlhost {
namespace {

using pdfexport::OutputCheck;
using pdfexport::OutputRefusal;

// A page number or degrees: digits only, small enough that no page count reaches it.
bool ParseCount(const std::string& text, int& value) {
  if (text.empty() || text.size() > 6) return false;
  value = 0;
  for (char c : text) {
    if (!std::isdigit(static_cast<unsigned char>(c))) return false;
    value = value * 10 + (c - '0');
  }
  return true;
}

// "N=DEGREES" or "A-B=DEGREES" into `rotation` by page index from 0; else the problem's text.
std::optional<CliText> ParseRotation(const std::string& text, std::map<int, int>& rotation) {
  const size_t equals = text.find('=');
  const std::string pages = text.substr(0, equals);
  const size_t dash = pages.find('-');
  const std::string from = pages.substr(0, dash);
  const std::string to = dash == std::string::npos ? from : pages.substr(dash + 1);
  int first = 0, last = 0, degrees = 0;
  if (equals == std::string::npos || !ParseCount(from, first) || !ParseCount(to, last) ||
      first < 1 || last < first)
    return CliText::RotateGivePages;
  if (!ParseCount(text.substr(equals + 1), degrees) || degrees % 90 != 0 || degrees >= 360)
    return CliText::RotateDegrees;
  for (int page = first; page <= last; ++page) rotation[page - 1] = degrees;
  return std::nullopt;
}

std::string RefusalText(UiLanguage language, const OutputCheck& check) {
  switch (check.refusal) {
    case OutputRefusal::kNone:
      return "";
    case OutputRefusal::kIsAnInput:
      return IsTheInputText(language, check.input);
    case OutputRefusal::kIsAFolder:
      return Said(language, CliText::ExportIsAFolder);
    case OutputRefusal::kNotARegularFile:
      return Said(language, CliText::ExportNotARegularFile);
    case OutputRefusal::kNotAPdf:
      return Said(language, CliText::ExportNotAPdf);
  }
  return "";
}

}  // namespace

int RunExportPdf(UiLanguage language, const std::string& file, const std::string& out,
                 const std::optional<std::string>& creator,
                 const std::vector<std::string>& rotations, bool force, std::ostream& err) {
  // A PDF that cannot be written is said with the user's path, before anything is drawn.
  if (const std::string cause = CauseText(language, WriteCause(out)); !cause.empty()) {
    err << Said(language, CliText::CannotWrite, {{"path", out}, {"why", cause}}) << "\n";
    return 1;
  }
  pdfexport::ExportOptions options;
  options.creator = creator;
  for (const std::string& rotation : rotations) {
    if (const std::optional<CliText> problem = ParseRotation(rotation, options.pageRotation)) {
      err << Said(language, *problem, {{"value", rotation}}) << "\n";
      return 1;
    }
  }
  Engine engine;
  ObjectId id = 0;
  std::vector<PropValue> returned;
  if (const int32_t error = engine.OpenFile(file, {}, id, returned); error != 0 || id == 0) {
    err << Said(language, CliText::CannotOpen,
                {{"path", file}, {"why", OpenProblem(language, engine, file, error)}})
        << "\n";
    return 1;
  }
  if (const std::string refusal =
          RefusalText(language, pdfexport::CheckOutput(engine, id, file, out, !force));
      !refusal.empty()) {
    err << Said(language, CliText::CannotWrite, {{"path", out}, {"why", refusal}}) << "\n";
    return 1;
  }
  // What fails past here is the drawing or the finishing of the file; the engine's own words
  // say which.
  std::string error;
  if (pdfexport::ExportPdf(engine, id, options, out, error) != 0) {
    // A book's component that did not open is said as the engine noted it.
    if (const FileProblem& problem = engine.lastProblem(); problem) {
      err << Said(language, CliText::CannotOpen,
                  {{"path", problem.path}, {"why", ProblemText(language, problem)}})
          << "\n";
      return 1;
    }
    err << Said(language, CliText::ExportFailed, {{"path", out}, {"why", error}}) << "\n";
    return 1;
  }
  return 0;
}

}  // namespace tlhost
