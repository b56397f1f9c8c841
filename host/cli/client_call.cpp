#include "host/cli/client_call.h"

#include "host/cli/cli_texts.h"

namespace tlhost {
namespace {

struct Refusal {
  int32_t answer;
  CliText words;
  bool aboutPdf;
};

// The plug-in's answers, as README.md lists them.
constexpr Refusal kRefusals[] = {
    {1, CliText::RefusalNoSuchFile, true},   {2, CliText::RefusalIsAFolder, true},
    {3, CliText::RefusalEmptyFile, true},    {4, CliText::RefusalCannotBeRead, true},
    {5, CliText::RefusalNotAPdf, true},      {6, CliText::RefusalNotTagged, true},
    {7, CliText::RefusalOtherCreator, true}, {8, CliText::RefusalBrokenStructure, true},
    {9, CliText::RefusalReadOnly, false},    {10, CliText::RefusalNoDocument, false},
    {11, CliText::RefusalMap, false},        {12, CliText::RefusalNeedsPassword, true},
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

std::string RefusalWords(UiLanguage language, int32_t answer) {
  const Refusal* refusal = Find(answer);
  return refusal ? Said(language, refusal->words) : "";
}

bool RefusalIsAboutPdf(int32_t answer) {
  const Refusal* refusal = Find(answer);
  return refusal && refusal->aboutPdf;
}

}  // namespace tlhost
