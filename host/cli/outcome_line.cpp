#include "host/cli/outcome_line.h"

#include <nlohmann/json.hpp>

#include "host/cli/cli_texts.h"

namespace tlhost {
namespace {

// The words of the line, one table per language; "{name}" stands for a value.
struct LineTexts {
  const char* counts;
  const char* saved;
  const char* savedTo;
  const char* dryRun;
  const char* refused;
  const char* refusedBecause;
  const char* saveFailed;
  const char* report;
  const char* noReport;
};

constexpr LineTexts kEnglish = {
    "{placed} of {total} comments placed, {flagged} flagged for review, {failed} failed, "
    "{already} already imported",
    "saved",
    "saved to {path}",
    "nothing saved: dry run",
    "nothing saved: the import did not run",
    "nothing saved: the import did not run ({why})",
    "the document could not be saved (see the message above)",
    "report {path}",
    "no report",
};

constexpr LineTexts kJapanese = {
    "{total} 件中 {placed} 件の注釈を配置、{flagged} 件は要確認、{failed} 件は失敗、"
    "{already} 件は読み込み済み",
    "保存しました",
    "{path} に保存しました",
    "保存していません : ドライラン",
    "保存していません : 読み込みを実行できませんでした",
    "保存していません : 読み込みを実行できませんでした ({why})",
    "文書を保存できませんでした (上のメッセージを参照してください)",
    "レポート {path}",
    "レポートなし",
};

const LineTexts& TextsOf(UiLanguage language) {
  return language == UiLanguage::Japanese ? kJapanese : kEnglish;
}

std::string SavingText(const LineTexts& texts, const ImportEnd& end) {
  switch (end.saving) {
    case ImportEnd::Saving::Saved:
      return end.savedTo.empty() ? texts.saved : Filled(texts.savedTo, {{"path", end.savedTo}});
    case ImportEnd::Saving::DryRun:
      return texts.dryRun;
    case ImportEnd::Saving::ImportRefused:
      return end.refusal.empty() ? texts.refused
                                 : Filled(texts.refusedBecause, {{"why", end.refusal}});
    case ImportEnd::Saving::SaveFailed:
      return texts.saveFailed;
  }
  return "";
}

}  // namespace

std::optional<OutcomeCounts> CountOutcomes(const std::string& reportText) {
  const nlohmann::json report = nlohmann::json::parse(reportText, nullptr, false);
  if (report.is_discarded() || !report.is_object() || !report.contains("comments") ||
      !report["comments"].is_array()) {
    return std::nullopt;
  }
  OutcomeCounts counts;
  for (const nlohmann::json& comment : report["comments"]) {
    if (!comment.is_object() || !comment.contains("outcome") || !comment["outcome"].is_string())
      return std::nullopt;
    const std::string outcome = comment["outcome"].get<std::string>();
    if (outcome == "successful") ++counts.placed;
    if (outcome == "misplaced") ++counts.flagged;
    if (outcome == "failed") ++counts.failed;
    if (outcome == "alreadyImported") ++counts.alreadyImported;
  }
  return counts;
}

std::string OutcomeLine(UiLanguage language, const ImportEnd& end) {
  const LineTexts& texts = TextsOf(language);
  std::string line = end.document + ": ";
  if (end.counts) {
    const OutcomeCounts& c = *end.counts;
    line += Filled(texts.counts, {{"placed", std::to_string(c.placed)},
                                  {"total", std::to_string(c.placed + c.flagged + c.failed)},
                                  {"flagged", std::to_string(c.flagged)},
                                  {"failed", std::to_string(c.failed)},
                                  {"already", std::to_string(c.alreadyImported)}});
    line += "; ";
  }
  line += SavingText(texts, end);
  line += "; ";
  line += end.report.empty() ? texts.noReport : Filled(texts.report, {{"path", end.report}});
  return line;
}

}  // namespace tlhost
