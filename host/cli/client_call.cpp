#include "host/cli/client_call.h"

namespace tlhost {
namespace {

struct Refusal {
  int32_t answer;
  const char* words;
  bool aboutPdf;
};

// The plug-in's answers, as README.md lists them.
constexpr Refusal kRefusals[] = {
    {1, "no such file", true},
    {2, "is a folder", true},
    {3, "empty file", true},
    {4, "cannot be read", true},
    {5, "not a PDF", true},
    {6, "not tagged", true},
    {7, "made by another program", true},
    {8, "broken structure", true},
    {9, "read-only document", false},
    {10, "no active document", false},
    {11, "a map, not a document", false},
    {12, "needs a password", true},
};

const Refusal* Find(int32_t answer) {
  for (const Refusal& refusal : kRefusals) {
    if (refusal.answer == answer) return &refusal;
  }
  return nullptr;
}

}  // namespace

std::string ImportCallText(const std::string& pdfPath, const CallOutputs& outputs) {
  std::string text = pdfPath;
  if (outputs.summary) text += "\x1Esummary=" + *outputs.summary;
  if (outputs.report) text += "\x1Ereport=" + *outputs.report;
  if (outputs.phases) text += "\x1Ephases=yes";
  return text;
}

std::string RefusalWords(int32_t answer) {
  const Refusal* refusal = Find(answer);
  return refusal ? refusal->words : "";
}

bool RefusalIsAboutPdf(int32_t answer) {
  const Refusal* refusal = Find(answer);
  return refusal && refusal->aboutPdf;
}

}  // namespace tlhost
