#include "host/cli/cli_texts.h"

namespace tlhost {
namespace {

struct Entry {
  CliText key;
  const char* text;
};

constexpr Entry kEnglish[] = {
    {CliText::CannotOpen, "tolvane: cannot open {path}: {why}"},
    {CliText::ImportDidNotRun, "tolvane: the import did not run"},
    {CliText::ImportDidNotRunBecause, "tolvane: the import did not run: {why}"},
    {CliText::CannotWrite, "tolvane: cannot write {path}: {why}"},
    {CliText::CannotWriteOutput, "tolvane: cannot write {path} ({option}): {why}"},
    {CliText::CannotSave, "tolvane: cannot save {path}: {why}"},
    {CliText::IsTheInput, "is the input {path}"},
    {CliText::IsAlso, "is also {option}"},
    {CliText::NothingSaved, "Nothing was saved: {why}"},
    {CliText::PartlySaved, "Not everything was saved: {why}"},
    {CliText::WaitingForProcess,
     "tolvane: {path} is being imported into by process {pid}; waiting up to {seconds} s"},
    {CliText::WaitingForAnother,
     "tolvane: {path} is being imported into by another process; waiting up to {seconds} s"},
    {CliText::NoReviewPage, "tolvane: no review page: {why}"},
    {CliText::NoReportWritten, "no report was written"},
    {CliText::HandshakeRefused, "tolvane: the client refused the handshake ({code})"},
    {CliText::NoImportCommand, "tolvane: no client defined the command \"{command}\""},
    {CliText::CannotBeRead, "cannot be read"},
    {CliText::RoundRefused, "tolvane: a round was refused or left blocks behind"},
    {CliText::NoCommandGiven, "no command given"},
    {CliText::LangTakes, "--lang takes ja or en"},
    {CliText::ShowNeedsOneFile, "show needs one FILE"},
    {CliText::ExportNeedsFile, "export-pdf needs FILE"},
    {CliText::ExportTakesOneFile, "export-pdf takes one FILE"},
    {CliText::ExportNeedsOut, "export-pdf needs -o OUT.pdf"},
    {CliText::MenusTakesNoArguments, "menus takes no arguments"},
    {CliText::RunNeedsOneFile, "run needs one FILE"},
    {CliText::RunNeedsTerminal, "run needs a terminal to ask on, or --dialogs SCRIPT"},
    {CliText::ImportNeedsFiles, "import needs FILE and PDF"},
    {CliText::ImportTakesOneEach, "import takes one FILE and one PDF"},
    {CliText::RepeatNeeds, "--repeat needs a number of rounds from 1 to {most}"},
    {CliText::WaitNeeds, "--wait needs a number of seconds from 0 to {most}"},
    {CliText::UnknownCommand, "unknown command {word}"},
    {CliText::UnknownOption, "unknown option {option}"},
    {CliText::NotAnOptionOf, "{option} is not an option of {command}"},
    {CliText::Needs, "{option} needs {what}"},
    {CliText::TakesOne, "{command} takes one {option}"},
};

constexpr Entry kJapanese[] = {
    {CliText::CannotOpen, "tolvane: {path} を開けません : {why}"},
    {CliText::ImportDidNotRun, "tolvane: 読み込みを実行できませんでした"},
    {CliText::ImportDidNotRunBecause, "tolvane: 読み込みを実行できませんでした : {why}"},
    {CliText::CannotWrite, "tolvane: {path} に書き込めません : {why}"},
    {CliText::CannotWriteOutput, "tolvane: {path} ({option}) に書き込めません : {why}"},
    {CliText::CannotSave, "tolvane: {path} に保存できません : {why}"},
    {CliText::IsTheInput, "入力ファイル {path} と同じです"},
    {CliText::IsAlso, "{option} と同じです"},
    {CliText::NothingSaved, "何も保存していません : {why}"},
    {CliText::PartlySaved, "一部を保存できませんでした : {why}"},
    {CliText::WaitingForProcess,
     "tolvane: {path} にはプロセス {pid} が読み込み中です。最大 {seconds} 秒待ちます"},
    {CliText::WaitingForAnother,
     "tolvane: {path} には別のプロセスが読み込み中です。最大 {seconds} 秒待ちます"},
    {CliText::NoReviewPage, "tolvane: レビューページを作成できません : {why}"},
    {CliText::NoReportWritten, "レポートが書き込まれていません"},
    {CliText::HandshakeRefused, "tolvane: クライアントが初期化を拒否しました ({code})"},
    {CliText::NoImportCommand,
     "tolvane: コマンド \"{command}\" を定義したクライアントがありません"},
    {CliText::CannotBeRead, "読み取れません"},
    {CliText::RoundRefused, "tolvane: 拒否された回、またはブロックを残した回があります"},
    {CliText::NoCommandGiven, "コマンドが指定されていません"},
    {CliText::LangTakes, "--lang には ja または en を指定してください"},
    {CliText::ShowNeedsOneFile, "show には FILE を 1 つ指定してください"},
    {CliText::ExportNeedsFile, "export-pdf には FILE を指定してください"},
    {CliText::ExportTakesOneFile, "export-pdf に指定できる FILE は 1 つです"},
    {CliText::ExportNeedsOut, "export-pdf には -o OUT.pdf を指定してください"},
    {CliText::MenusTakesNoArguments, "menus には引数を指定できません"},
    {CliText::RunNeedsOneFile, "run には FILE を 1 つ指定してください"},
    {CliText::RunNeedsTerminal, "run には問い合わせ用の端末か --dialogs SCRIPT が必要です"},
    {CliText::ImportNeedsFiles, "import には FILE と PDF を指定してください"},
    {CliText::ImportTakesOneEach, "import に指定できるのは FILE と PDF を 1 つずつです"},
    {CliText::RepeatNeeds, "--repeat には 1 から {most} までの回数を指定してください"},
    {CliText::WaitNeeds, "--wait には 0 から {most} までの秒数を指定してください"},
    {CliText::UnknownCommand, "不明なコマンド {word}"},
    {CliText::UnknownOption, "不明なオプション {option}"},
    {CliText::NotAnOptionOf, "{option} は {command} のオプションではありません"},
    {CliText::Needs, "{option} には {what} を指定してください"},
    {CliText::TakesOne, "{command} に指定できる {option} は 1 つです"},
};

template <size_t N>
const char* Find(const Entry (&table)[N], CliText key) {
  for (const Entry& entry : table)
    if (entry.key == key) return entry.text;
  return nullptr;
}

}  // namespace

const char* CliTextOf(UiLanguage language, CliText key) {
  return language == UiLanguage::Japanese ? Find(kJapanese, key) : Find(kEnglish, key);
}

std::string Filled(const std::string& text, const TextValues& values) {
  std::string out;
  for (size_t at = 0; at < text.size();) {
    bool replaced = false;
    for (const auto& [name, value] : values) {
      const std::string key = "{" + name + "}";
      if (text.compare(at, key.size(), key) == 0) {
        out += value;
        at += key.size();
        replaced = true;
        break;
      }
    }
    if (!replaced) out += text[at++];
  }
  return out;
}

std::string Said(UiLanguage language, CliText key, const TextValues& values) {
  const char* text = CliTextOf(language, key);
  if (!text) text = CliTextOf(UiLanguage::English, key);
  return Filled(text ? text : "", values);
}

}  // namespace tlhost
