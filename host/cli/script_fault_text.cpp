#include "host/cli/script_fault_text.h"

#include "host/cli/cli_texts.h"

namespace tlhost {
namespace {

using Code = ScriptFaultCode;
using Entry = TextEntry<ScriptFaultCode>;

constexpr Entry kEnglish[] = {
    {Code::None, "no fault"},
    {Code::AlertNeedsAnswer, "alert needs yes, no or ok"},
    {Code::FileNeedsPath, "file needs a path or cancel"},
    {Code::DialogNeedsName, "dialog needs a name"},
    {Code::EndWithoutDialog, "end without dialog"},
    {Code::OutsideDialog, "\"{word}\" outside a dialog"},
    {Code::NeedsItem, "{word} needs an item number"},
    {Code::NeedsListId, "{word} needs a list id"},
    {Code::NeedsEntryText, "{word} needs an entry text"},
    {Code::DateNeedsValue, "date needs a picker id and YYYY-MM-DD or none"},
    {Code::NoSuchDate, "no such date {value}"},
    {Code::TakesNothing, "{word} takes nothing after it"},
    {Code::UnknownAction, "unknown action {word}"},
    {Code::DialogHasNoEnd, "dialog {name} has no end"},
};

constexpr Entry kJapanese[] = {
    {Code::None, "問題はありません"},
    {Code::AlertNeedsAnswer, "alert には yes、no、ok のいずれかを指定してください"},
    {Code::FileNeedsPath, "file にはパスか cancel を指定してください"},
    {Code::DialogNeedsName, "dialog には名前を指定してください"},
    {Code::EndWithoutDialog, "dialog のない end です"},
    {Code::OutsideDialog, "\"{word}\" が dialog の外にあります"},
    {Code::NeedsItem, "{word} には項目番号を指定してください"},
    {Code::NeedsListId, "{word} にはリストの ID を指定してください"},
    {Code::NeedsEntryText, "{word} には項目のテキストを指定してください"},
    {Code::DateNeedsValue,
     "date には日付ピッカーの ID と YYYY-MM-DD または none を指定してください"},
    {Code::NoSuchDate, "{value} という日付はありません"},
    {Code::TakesNothing, "{word} の後には何も指定できません"},
    {Code::UnknownAction, "不明な操作 {word}"},
    {Code::DialogHasNoEnd, "dialog {name} に end がありません"},
};

}  // namespace

const char* ScriptFaultTextOf(UiLanguage language, ScriptFaultCode code) {
  return language == UiLanguage::Japanese ? TextIn(kJapanese, code) : TextIn(kEnglish, code);
}

std::string ScriptFaultText(UiLanguage language, const ScriptFault& fault) {
  const std::string what = SaidFrom(ScriptFaultTextOf, language, fault.code, fault.values);
  return Said(language, CliText::OnLine, {{"line", std::to_string(fault.line)}, {"what", what}});
}

}  // namespace tlhost
