#include "host/cli/cli_texts.h"

namespace tlhost {
namespace {

using Entry = TextEntry<CliText>;

constexpr Entry kEnglish[] = {
    {CliText::CannotOpen, "tolvane: cannot open {path}: {why}"},
    {CliText::ImportDidNotRun, "tolvane: the import did not run"},
    {CliText::ImportDidNotRunBecause, "tolvane: the import did not run: {why}"},
    {CliText::NotRun, "the import did not run"},
    {CliText::CannotWrite, "tolvane: cannot write {path}: {why}"},
    {CliText::CannotWriteOutput, "tolvane: cannot write {path} ({option}): {why}"},
    {CliText::CannotSave, "tolvane: cannot save {path}: {why}"},
    {CliText::CannotSaveInto, "tolvane: cannot save into {folder}: not a folder"},
    {CliText::CannotSaveComponent,
     "tolvane: cannot save {path} into {folder}: another component of that name is saved there"},
    {CliText::IsTheInput, "is the input {path}"},
    {CliText::IsAlso, "is also {option}"},
    {CliText::TheSummaryFile, "the summary file"},
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
    {CliText::HelpHeading, "Usage: tolvane COMMAND [ARGUMENTS]\n\nCommands:\n"},
    {CliText::HelpOptions,
     "\n"
     "Options:\n"
     "  --client PATH        the plug-in library (default: ../lib/libosprevan.so beside this "
     "program)\n"
     "  --lang ja|en         the language of the plug-in's messages and of import's last line\n"
     "                       (default: Japanese when LC_ALL, LC_MESSAGES or LANG starts with\n"
     "                       \"ja\", English otherwise)\n"
     "  --help               show this text; after a command, that command's usage\n"
     "  --version            show the program's version\n"},
    {CliText::HelpExitStatus,
     "\n"
     "Exit status:\n"
     "  0  success: for import, the document was saved and every report and summary written\n"
     "  1  the command failed or was refused, and nothing was saved: run and import answer 1\n"
     "     when the import was cancelled, refused or failed (with its cause: \"no such file\",\n"
     "     \"not tagged\", \"needs a password\", ...), when the document is locked by another\n"
     "     import past --wait, changed on disk while importing, or cannot be saved (\"no space\n"
     "     left on device\", ...); the old file is then left as it was\n"
     "  2  wrong usage\n"
     "  3  import: imported and saved, but the report or the summary file was not written\n"},
    {CliText::UsageLine, "usage: tolvane {synopsis}"},
    {CliText::AboutShow,
     "print a document readably: paragraphs, tracked changes, conditions, markers"},
    {CliText::AboutMenus, "load the plug-in and list the import menus with its command"},
    {CliText::AboutRun,
     "open FILE, make it active and run the import command from its menu;\n"
     "alerts and dialogs are answered by SCRIPT, else asked on the terminal\n"
     "(without either, run refuses at once). FILE is locked as by import.\n"
     "run never saves FILE: it shows what the import does and says, and\n"
     "the changes end with the program (import saves them)"},
    {CliText::AboutImport,
     "run the same import as a call from another client (no dialogs), then\n"
     "save FILE in place, or to OUT with -o (for a book: its changed documents\n"
     "into the folder OUT). A FILE the user may not write is refused unless\n"
     "-o names another place. The plug-in's summary file beside PDF (its\n"
     "extension made .smry) is printed when the import wrote it, and the\n"
     "path of its per-comment report (beside PDF, or PATH with --report).\n"
     "--dry-run saves nothing and writes no file beside PDF: it prints the\n"
     "summary and writes the report only to --report PATH.\n"
     "--review-page PAGE writes an HTML page after the import that shows\n"
     "each comment: its part of the PDF page, what became of it and the\n"
     "document's text at its place.\n"
     "--repeat N imports N times in this process, each into a fresh copy of\n"
     "the document FILE, saves nothing, and prints per round its time and\n"
     "the blocks the task allocator and the PDF library still hold.\n"
     "--phases prints the seconds each phase took: the host's load, call and\n"
     "save, and within the call the plug-in's own phases.\n"
     "One import at a time writes a document: FILE (and each document of a\n"
     "book) is locked from before it is read until it is saved. Another\n"
     "import of it waits, saying for which process, at most --wait SECONDS\n"
     "(default 30; 0 refuses at once), then refuses with exit status 1.\n"
     "A document another program saved meanwhile is not overwritten.\n"
     "No output replaces one of the command's inputs, nor anything that is\n"
     "not a regular file. A document reached through a symbolic link is\n"
     "saved into the file the link names; the link stays"},
    {CliText::AboutExportPdf,
     "write a tagged PDF of a document or book; --rotate turns page N\n"
     "or pages A-B (from 1) by 0, 90, 180 or 270 degrees (repeatable).\n"
     "An existing OUT.pdf that is not a PDF is replaced only with --force;\n"
     "FILE itself, and anything not a regular file, never"},
    {CliText::AboutHelp, "show this text, or the usage of COMMAND"},
    {CliText::VersionLine, "tolvane {host} (stand-in host), plug-in Osprevan {version}"},
    {CliText::RotateGivePages,
     "tolvane: --rotate \"{value}\": give PAGES=DEGREES, PAGES a page N or pages A-B from 1"},
    {CliText::RotateDegrees, "tolvane: --rotate \"{value}\": DEGREES must be 0, 90, 180 or 270"},
    {CliText::ExportIsAFolder, "is a folder"},
    {CliText::ExportNotARegularFile, "not a regular file"},
    {CliText::ExportNotAPdf, "an existing file that is not a PDF (--force replaces it)"},
    {CliText::ExportFailed, "tolvane: cannot export {path}: {why}"},
    {CliText::EngineNoError, "no error"},
    {CliText::EngineFailed, "failed"},
    {CliText::EngineNotOpenDocument, "not an open document"},
    {CliText::EngineNoSuchObject, "no such object"},
    {CliText::EngineNoSuchProperty, "no such property"},
    {CliText::EngineWrongType, "wrong type of value"},
    {CliText::EngineValueNotAllowed, "value not allowed"},
    {CliText::EngineNotFound, "not found"},
    {CliText::EngineBadName, "bad name"},
    {CliText::EngineNameInUse, "name in use"},
    {CliText::EngineReadOnly, "read-only"},
    {CliText::EngineBadLocation, "bad text location"},
    {CliText::EngineCannotBeRead, "cannot be read"},
    {CliText::EngineMalformed, "malformed"},
    {CliText::EngineCannotBeWritten, "cannot be written"},
    {CliText::EngineNotSupported, "not supported"},
    {CliText::EngineCancelled, "cancelled"},
    {CliText::EngineBusy, "host busy"},
    {CliText::EngineErrorNumber, "error {number}"},
    {CliText::RefusalNoSuchFile, "no such file"},
    {CliText::RefusalIsAFolder, "is a folder"},
    {CliText::RefusalEmptyFile, "empty file"},
    {CliText::RefusalCannotBeRead, "cannot be read"},
    {CliText::RefusalNotAPdf, "not a PDF"},
    {CliText::RefusalNotTagged, "not tagged"},
    {CliText::RefusalOtherCreator, "made by another program"},
    {CliText::RefusalBrokenStructure, "broken structure"},
    {CliText::RefusalReadOnly, "read-only document"},
    {CliText::RefusalNoDocument, "no active document"},
    {CliText::RefusalMap, "a map, not a document"},
    {CliText::RefusalNeedsPassword, "needs a password"},
    {CliText::CauseNoSuchFile, "no such file"},
    {CliText::CauseNoSuchFolder, "no such folder"},
    {CliText::CauseIsAFolder, "is a folder"},
    {CliText::CauseNotARegularFile, "not a regular file"},
    {CliText::CauseReadOnlyFile, "read-only file"},
    {CliText::CausePermissionDenied, "permission denied"},
    {CliText::CauseCannotBeRead, "cannot be read"},
    {CliText::CauseSecondNameUnreadable, "cannot be read, nor its second name {other}"},
    {CliText::CauseChangedOnDisk, "changed on disk while importing; nothing saved"},
    {CliText::CauseLocked, "locked by another import"},
    {CliText::CauseLockedByProcess, "locked by another import (process {pid})"},
    {CliText::SystemError, "{words} (error {number})"},
    {CliText::OnLine, "line {line}: {what}"},
    {CliText::MalformedDetail, "{what}: {detail}"},
    {CliText::RepeatSummary,
     "[repeat] {rounds} rounds, first {first} s, last {last} s, last/first {ratio}"},
    {CliText::CannotHoldPdfLibrary, "tolvane: cannot hold the PDF library {path}"},
};

constexpr Entry kJapanese[] = {
    {CliText::CannotOpen, "tolvane: {path} を開けません : {why}"},
    {CliText::ImportDidNotRun, "tolvane: 読み込みを実行できませんでした"},
    {CliText::ImportDidNotRunBecause, "tolvane: 読み込みを実行できませんでした : {why}"},
    {CliText::NotRun, "読み込みを実行できませんでした"},
    {CliText::CannotWrite, "tolvane: {path} に書き込めません : {why}"},
    {CliText::CannotWriteOutput, "tolvane: {path} ({option}) に書き込めません : {why}"},
    {CliText::CannotSave, "tolvane: {path} に保存できません : {why}"},
    {CliText::CannotSaveInto, "tolvane: {folder} に保存できません : フォルダーではありません"},
    {CliText::CannotSaveComponent,
     "tolvane: {path} を {folder} に保存できません : "
     "同じ名前の別のコンポーネントがそこに保存されます"},
    {CliText::IsTheInput, "入力ファイル {path} と同じです"},
    {CliText::IsAlso, "{option} と同じです"},
    {CliText::TheSummaryFile, "概要ファイル"},
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
    {CliText::HelpHeading, "使い方: tolvane COMMAND [ARGUMENTS]\n\nコマンド:\n"},
    {CliText::HelpOptions,
     "\n"
     "オプション:\n"
     "  --client PATH        プラグインのライブラリ (既定: このプログラムの横の\n"
     "                       ../lib/libosprevan.so)\n"
     "  --lang ja|en         プラグインのメッセージと import の最後の行の言語\n"
     "                       (既定: LC_ALL、LC_MESSAGES または LANG が \"ja\" で始まる\n"
     "                       ときは日本語、それ以外は英語)\n"
     "  --help               このテキストを表示します。コマンドの後では、そのコマンドの\n"
     "                       使い方を表示します\n"
     "  --version            プログラムのバージョンを表示します\n"},
    {CliText::HelpExitStatus,
     "\n"
     "終了ステータス:\n"
     "  0  成功 : import では、文書を保存し、レポートと概要をすべて書き込みました\n"
     "  1  コマンドが失敗したか拒否され、何も保存していません : run と import\n"
     "     は、読み込みがキャンセル、拒否、失敗したとき (原因を示します :\n"
     "     \"ファイルがありません\"、\"タグ付き PDF ではありません\"、\"パスワードが\n"
     "     必要です\" など)、文書が --wait を過ぎても別の読み込みにロックされている\n"
     "     とき、読み込み中にディスク上で変更されたとき、保存できないとき (\"ディス\n"
     "     クの空き容量が不足しています\" など) に 1 を返します。このとき元のファイ\n"
     "     ルはそのままです\n"
     "  2  使い方の誤り\n"
     "  3  import : 読み込んで保存しましたが、レポートまたは概要ファイルを書き込め\n"
     "     ませんでした\n"},
    {CliText::UsageLine, "使い方: tolvane {synopsis}"},
    {CliText::AboutShow, "文書を読みやすく表示します : 段落、変更履歴、条件、マーカー"},
    {CliText::AboutMenus,
     "プラグインを読み込み、読み込みメニューとそのコマンドを一\n"
     "覧表示します"},
    {CliText::AboutRun,
     "FILE を開いてアクティブにし、メニューから読み込みコマンド\n"
     "を実行します。警告とダイアログには SCRIPT が答え、SCRIPT\n"
     "がなければ端末で問い合わせます (どちらもなければ run はす\n"
     "ぐに拒否します)。FILE は import と同じくロックします。\n"
     "run は FILE を保存しません。読み込みの動作とメッセージを\n"
     "示すだけで、変更はプログラムの終了とともに消えます (保存\n"
     "するのは import です)"},
    {CliText::AboutImport,
     "別のクライアントからの呼び出しと同じ読み込みを (ダイアロ\n"
     "グなしで) 実行し、FILE をその場に、または -o で OUT に保\n"
     "存します (ブックでは、変更した文書をフォルダー OUT に保存\n"
     "します)。ユーザーが書き込めない FILE は、-o で別の場所を\n"
     "指定しない限り拒否します。読み込みが PDF の横に書いたプラ\n"
     "グインの概要ファイル (拡張子 .smry) を表示し、注釈ごとの\n"
     "レポートのパス (PDF の横、または --report の PATH) を表示\n"
     "します。\n"
     "--dry-run は何も保存せず、PDF の横にファイルを書きません。\n"
     "概要を表示し、レポートは --report PATH にだけ書きます。\n"
     "--review-page PAGE は読み込みの後に HTML ページを書きます。\n"
     "ページは注釈ごとに、PDF ページの該当部分、注釈の結果、そ\n"
     "の位置の文書のテキストを示します。\n"
     "--repeat N はこのプロセスで N 回読み込みます。毎回文書\n"
     "FILE の新しいコピーに読み込み、何も保存せず、回ごとにその\n"
     "時間と、タスクアロケーターと PDF ライブラリがまだ保持して\n"
     "いるブロックを表示します。\n"
     "--phases は各段階にかかった秒数を表示します : ホストの読\n"
     "み込み、呼び出し、保存、および呼び出しの中のプラグイン自\n"
     "身の各段階です。\n"
     "文書に書き込む読み込みは一度に 1 つだけです : FILE (とブッ\n"
     "クの各文書) は読み取る前から保存するまでロックします。同\n"
     "じ文書の別の読み込みは、どのプロセスを待つかを表示して最\n"
     "大 --wait SECONDS 秒 (既定 30、0 ではすぐに拒否します) 待\n"
     "ち、その後、終了ステータス 1 で拒否します。\n"
     "その間に別のプログラムが保存した文書は上書きしません。\n"
     "出力がコマンドの入力や通常のファイル以外のものを置き換え\n"
     "ることはありません。シンボリックリンクを通して開いた文書\n"
     "はリンク先のファイルに保存し、リンクはそのまま残します"},
    {CliText::AboutExportPdf,
     "文書またはブックのタグ付き PDF を書き出します。--rotate\n"
     "はページ N またはページ A-B (1 から数えます) を 0、90、\n"
     "180、270 度回転します (繰り返し指定できます)。\n"
     "PDF ではない既存の OUT.pdf は --force を指定したときだけ\n"
     "置き換えます。FILE 自体と通常のファイル以外のものは置き\n"
     "換えません"},
    {CliText::AboutHelp, "このテキスト、または COMMAND の使い方を表示します"},
    {CliText::VersionLine, "tolvane {host} (代替ホスト)、プラグイン Osprevan {version}"},
    {CliText::RotateGivePages,
     "tolvane: --rotate \"{value}\": PAGES=DEGREES の形で指定してください。PAGES はページ N "
     "またはページ A-B (1 から数えます) です"},
    {CliText::RotateDegrees,
     "tolvane: --rotate \"{value}\": DEGREES には 0、90、180、270 のいずれかを指定してください"},
    {CliText::ExportIsAFolder, "フォルダーです"},
    {CliText::ExportNotARegularFile, "通常のファイルではありません"},
    {CliText::ExportNotAPdf, "PDF ではない既存のファイルです (--force で置き換えます)"},
    {CliText::ExportFailed, "tolvane: {path} を書き出せません : {why}"},
    {CliText::EngineNoError, "エラーはありません"},
    {CliText::EngineFailed, "失敗しました"},
    {CliText::EngineNotOpenDocument, "開いている文書ではありません"},
    {CliText::EngineNoSuchObject, "オブジェクトがありません"},
    {CliText::EngineNoSuchProperty, "プロパティがありません"},
    {CliText::EngineWrongType, "値の型が違います"},
    {CliText::EngineValueNotAllowed, "使用できない値です"},
    {CliText::EngineNotFound, "見つかりません"},
    {CliText::EngineBadName, "名前が無効です"},
    {CliText::EngineNameInUse, "名前は使用中です"},
    {CliText::EngineReadOnly, "読み取り専用です"},
    {CliText::EngineBadLocation, "テキストの位置が無効です"},
    {CliText::EngineCannotBeRead, "読み取れません"},
    {CliText::EngineMalformed, "形式が正しくありません"},
    {CliText::EngineCannotBeWritten, "書き込めません"},
    {CliText::EngineNotSupported, "サポートされていません"},
    {CliText::EngineCancelled, "キャンセルされました"},
    {CliText::EngineBusy, "ホストが処理中です"},
    {CliText::EngineErrorNumber, "エラー {number}"},
    {CliText::RefusalNoSuchFile, "ファイルがありません"},
    {CliText::RefusalIsAFolder, "フォルダーです"},
    {CliText::RefusalEmptyFile, "空のファイルです"},
    {CliText::RefusalCannotBeRead, "読み取れません"},
    {CliText::RefusalNotAPdf, "PDF ではありません"},
    {CliText::RefusalNotTagged, "タグ付き PDF ではありません"},
    {CliText::RefusalOtherCreator, "別のプログラムで作成されています"},
    {CliText::RefusalBrokenStructure, "タグ構造が破損しています"},
    {CliText::RefusalReadOnly, "上書き禁止文書です"},
    {CliText::RefusalNoDocument, "アクティブな文書がありません"},
    {CliText::RefusalMap, "文書ではなくマップです"},
    {CliText::RefusalNeedsPassword, "パスワードが必要です"},
    {CliText::CauseNoSuchFile, "ファイルがありません"},
    {CliText::CauseNoSuchFolder, "フォルダーがありません"},
    {CliText::CauseIsAFolder, "フォルダーです"},
    {CliText::CauseNotARegularFile, "通常のファイルではありません"},
    {CliText::CauseReadOnlyFile, "読み取り専用のファイルです"},
    {CliText::CausePermissionDenied, "アクセスが拒否されました"},
    {CliText::CauseCannotBeRead, "読み取れません"},
    {CliText::CauseSecondNameUnreadable, "読み取れません。別名の {other} も読み取れません"},
    {CliText::CauseChangedOnDisk, "読み込み中にディスク上で変更されたため、何も保存していません"},
    {CliText::CauseLocked, "別の読み込みがロックしています"},
    {CliText::CauseLockedByProcess, "別の読み込みがロックしています (プロセス {pid})"},
    {CliText::SystemError, "システムエラー {number} ({words})"},
    {CliText::OnLine, "{line} 行目 : {what}"},
    {CliText::MalformedDetail, "{what} : {detail}"},
    {CliText::RepeatSummary,
     "[repeat] {rounds} 回、最初 {first} 秒、最後 {last} 秒、最後/最初 {ratio}"},
    {CliText::CannotHoldPdfLibrary, "tolvane: PDF ライブラリ {path} を読み込めません"},
};

}  // namespace

const char* CliTextOf(UiLanguage language, CliText key) {
  return language == UiLanguage::Japanese ? TextIn(kJapanese, key) : TextIn(kEnglish, key);
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
  return SaidFrom(CliTextOf, language, key, values);
}

}  // namespace tlhost
