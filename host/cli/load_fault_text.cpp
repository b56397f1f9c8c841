#include "host/cli/load_fault_text.h"

#include "host/cli/cli_texts.h"

namespace tlhost {
namespace {

using Code = LoadFaultCode;
using Entry = TextEntry<LoadFaultCode>;

// {cause} is the loader's own text, which no table words.
constexpr Entry kEnglish[] = {
    {Code::None, "no fault"},
    {Code::CannotLoad, "tolvane: cannot load client library {path}: {cause}"},
    {Code::NoEntryPoint, "tolvane: client library {path} does not export {symbol}"},
};

constexpr Entry kJapanese[] = {
    {Code::None, "問題はありません"},
    {Code::CannotLoad, "tolvane: クライアントライブラリ {path} を読み込めません : {cause}"},
    {Code::NoEntryPoint,
     "tolvane: クライアントライブラリ {path} は {symbol} をエクスポートしていません"},
};

}  // namespace

const char* LoadFaultTextOf(UiLanguage language, LoadFaultCode code) {
  return language == UiLanguage::Japanese ? TextIn(kJapanese, code) : TextIn(kEnglish, code);
}

std::string LoadFaultText(UiLanguage language, const LoadFault& fault) {
  return SaidFrom(LoadFaultTextOf, language, fault.code, fault.values);
}

}  // namespace tlhost
