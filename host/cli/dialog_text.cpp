#include "host/cli/dialog_text.h"

#include "host/cli/cli_texts.h"

namespace tlhost {
namespace {

using Saying = DialogSaying;
using Code = ActionFaultCode;

// The help lines keep the action keywords and their operands as the script language spells them.
constexpr TextEntry<Saying> kEnglishSayings[] = {
    {Saying::ScriptActionNotDone, "tolvane: dialog {dialog}: {what}"},
    {Saying::NotUnderstood, "Not understood: {line}"},
    {Saying::NotDone, "Not done: {what}"},
    {Saying::HostActions, "Actions: text N TEXT | check N | choose N | press N | close"},
    {Saying::NativeActions,
     "Actions: only|select|deselect ID TEXT | check ID | choose ID | press ID | text ID TEXT\n"
     "         date ID YYYY-MM-DD|none | escape | enter | close"},
    {Saying::Disabled, "(disabled)"},
    {Saying::NoEntries, "(no entries)"},
    {Saying::NoDate, "no date"},
};

constexpr TextEntry<Saying> kJapaneseSayings[] = {
    {Saying::ScriptActionNotDone, "tolvane: ダイアログ {dialog} : {what}"},
    {Saying::NotUnderstood, "解釈できません : {line}"},
    {Saying::NotDone, "実行できません : {what}"},
    {Saying::HostActions, "操作: text N TEXT | check N | choose N | press N | close"},
    {Saying::NativeActions,
     "操作: only|select|deselect ID TEXT | check ID | choose ID | press ID | text ID TEXT\n"
     "      date ID YYYY-MM-DD|none | escape | enter | close"},
    {Saying::Disabled, "(使用不可)"},
    {Saying::NoEntries, "(項目なし)"},
    {Saying::NoDate, "日付なし"},
};

constexpr TextEntry<Code> kEnglishFaults[] = {
    {Code::None, "no fault"},
    {Code::NoControl, "no control {id}"},
    {Code::NotATextBox, "control {id} is no text box"},
    {Code::NotAButton, "control {id} is no button"},
    {Code::NotACheckBox, "control {id} is no check box"},
    {Code::NotARadioButton, "control {id} is no radio button"},
    {Code::NotAList, "control {id} is no list"},
    {Code::NotADatePicker, "control {id} is no date picker"},
    {Code::ButtonCannotBeClicked, "button {id} cannot be clicked"},
    {Code::NoListEntry, "no entry \"{entry}\" in list {id}"},
    {Code::ListCannotBeClicked, "list {id} cannot be clicked"},
    {Code::DateNotTaken, "date picker {id} does not take that date"},
    {Code::UnknownAction, "unknown action"},
};

constexpr TextEntry<Code> kJapaneseFaults[] = {
    {Code::None, "問題はありません"},
    {Code::NoControl, "コントロール {id} がありません"},
    {Code::NotATextBox, "コントロール {id} はテキストボックスではありません"},
    {Code::NotAButton, "コントロール {id} はボタンではありません"},
    {Code::NotACheckBox, "コントロール {id} はチェックボックスではありません"},
    {Code::NotARadioButton, "コントロール {id} はラジオボタンではありません"},
    {Code::NotAList, "コントロール {id} はリストではありません"},
    {Code::NotADatePicker, "コントロール {id} は日付ピッカーではありません"},
    {Code::ButtonCannotBeClicked, "ボタン {id} をクリックできません"},
    {Code::NoListEntry, "リスト {id} に \"{entry}\" という項目はありません"},
    {Code::ListCannotBeClicked, "リスト {id} をクリックできません"},
    {Code::DateNotTaken, "日付ピッカー {id} はその日付を受け付けません"},
    {Code::UnknownAction, "不明な操作です"},
};

// The answers stay y and n in every language: the prompt says so.
constexpr TextEntry<ResponderSaying> kEnglishResponder[] = {
    {ResponderSaying::Alert, "[alert] {text}"},
    {ResponderSaying::PressEnter, "(press Enter)"},
    {ResponderSaying::YesOrNo, "Yes or No? [y/n]"},
    {ResponderSaying::ChooseFile, "[{title}] folder: {folder}, proposed: {name}"},
    {ResponderSaying::PathPrompt, "Path (empty to cancel):"},
};

constexpr TextEntry<ResponderSaying> kJapaneseResponder[] = {
    {ResponderSaying::Alert, "[警告] {text}"},
    {ResponderSaying::PressEnter, "(Enter キーを押してください)"},
    {ResponderSaying::YesOrNo, "はい／いいえ [y/n]"},
    {ResponderSaying::ChooseFile, "[{title}] フォルダー: {folder}、候補: {name}"},
    {ResponderSaying::PathPrompt, "パス (空でキャンセル):"},
};

}  // namespace

const char* ResponderSayingTextOf(UiLanguage language, ResponderSaying saying) {
  return language == UiLanguage::Japanese ? TextIn(kJapaneseResponder, saying)
                                          : TextIn(kEnglishResponder, saying);
}

ResponderWording ResponderWords(UiLanguage language) {
  return [language](ResponderSaying saying, const ResponderValues& values) {
    return SaidFrom(ResponderSayingTextOf, language, saying, values);
  };
}

const char* DialogSayingTextOf(UiLanguage language, DialogSaying saying) {
  return language == UiLanguage::Japanese ? TextIn(kJapaneseSayings, saying)
                                          : TextIn(kEnglishSayings, saying);
}

const char* ActionFaultTextOf(UiLanguage language, ActionFaultCode code) {
  return language == UiLanguage::Japanese ? TextIn(kJapaneseFaults, code)
                                          : TextIn(kEnglishFaults, code);
}

std::string DialogWords::Say(DialogSaying saying, const DialogValues& values) const {
  return SaidFrom(DialogSayingTextOf, language_, saying, values);
}

std::string DialogWords::Say(const ActionFault& fault) const {
  return SaidFrom(ActionFaultTextOf, language_, fault.code, fault.values);
}

}  // namespace tlhost
