#include "tools/review_page/tool_texts.h"

namespace osprevan::review {
namespace {

using Entry = tlhost::TextEntry<ToolText>;

constexpr Entry kEnglish[] = {
    {ToolText::Usage,
     "usage: tolvane-review-page REPORT.json REVIEW.pdf DOC -o PAGE.html [--components FOLDER]\n"
     "       [--lang ja|en]\n"},
    {ToolText::About,
     "Writes one HTML file that shows what became of each comment of an import: the part\n"
     "of the PDF page it was drawn on, outlined; what the reviewer wrote and the replies;\n"
     "the outcome and its reason; and DOC's text at its place, with the change shown.\n"
     "DOC is the document or book as saved after the import; --components names the folder\n"
     "a book's changed components were saved into (import -o FOLDER).\n"},
    {ToolText::NeedsPath, "{option} needs a path"},
    {ToolText::LangTakes, "--lang takes ja or en"},
    {ToolText::UnexpectedArgument, "unexpected argument: {word}"},
    {ToolText::NeedsInputs, "REPORT, PDF and DOC are needed"},
    {ToolText::NeedsPage, "-o PAGE.html is needed"},
    {ToolText::CannotOpenDocument, "cannot open {path}"},
    {ToolText::CannotOpenComponent, "cannot open the book's component {path}"},
    {ToolText::NotAnOpenDocument, "not an open document or book"},
    {ToolText::CannotOpenPdf, "cannot open the PDF {path}"},
    {ToolText::CannotWrite, "cannot write {path}"},
    {ToolText::CannotWriteBecause, "cannot write {path}: {why}"},
    {ToolText::CannotOpenReport, "cannot open the report {path}"},
    {ToolText::ReportNotAnObject, "the report is not a JSON object"},
    {ToolText::ReportHasNoComments, "the report has no list of comments"},
    {ToolText::CommentNotAnObject, "a comment of the report is not an object"},
    {ToolText::ReportUnreadable, "the report cannot be read: {why}"},
};

constexpr Entry kJapanese[] = {
    {ToolText::Usage,
     "使い方: tolvane-review-page REPORT.json REVIEW.pdf DOC -o PAGE.html\n"
     "        [--components FOLDER] [--lang ja|en]\n"},
    {ToolText::About,
     "読み込みの各注釈がどうなったかを示す HTML ファイルを 1 つ書きます : 注釈を\n"
     "描いた PDF ページの部分 (注釈を枠で囲みます)、校閲者が書いた内容と返信、\n"
     "結果とその理由、その位置の DOC のテキスト (変更を示します) です。\n"
     "DOC は読み込み後に保存した文書またはブックです。--components には、ブックの\n"
     "変更したコンポーネントを保存したフォルダー (import -o FOLDER) を指定します。\n"},
    {ToolText::NeedsPath, "{option} にはパスを指定してください"},
    {ToolText::LangTakes, "--lang には ja または en を指定してください"},
    {ToolText::UnexpectedArgument, "予期しない引数です : {word}"},
    {ToolText::NeedsInputs, "REPORT、PDF、DOC を指定してください"},
    {ToolText::NeedsPage, "-o PAGE.html を指定してください"},
    {ToolText::CannotOpenDocument, "{path} を開けません"},
    {ToolText::CannotOpenComponent, "ブックのコンポーネント {path} を開けません"},
    {ToolText::NotAnOpenDocument, "開いている文書またはブックではありません"},
    {ToolText::CannotOpenPdf, "PDF {path} を開けません"},
    {ToolText::CannotWrite, "{path} に書き込めません"},
    {ToolText::CannotWriteBecause, "{path} に書き込めません : {why}"},
    {ToolText::CannotOpenReport, "レポート {path} を開けません"},
    {ToolText::ReportNotAnObject, "レポートが JSON オブジェクトではありません"},
    {ToolText::ReportHasNoComments, "レポートに注釈の一覧がありません"},
    {ToolText::CommentNotAnObject, "レポートにオブジェクトではない注釈があります"},
    {ToolText::ReportUnreadable, "レポートを読み取れません : {why}"},
};

}  // namespace

const char* ToolTextOf(tlhost::UiLanguage language, ToolText key) {
  return language == tlhost::UiLanguage::Japanese ? tlhost::TextIn(kJapanese, key)
                                                  : tlhost::TextIn(kEnglish, key);
}

std::string ToolSaid(tlhost::UiLanguage language, ToolText key, const tlhost::TextValues& values) {
  return tlhost::SaidFrom(ToolTextOf, language, key, values);
}

}  // namespace osprevan::review
