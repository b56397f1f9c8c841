#include "tools/review_page/page_words.h"

namespace osprevan::review {
namespace {

constexpr PageWords kEnglish = {
    "en",
    "failed",
    "flagged for review",
    "placed",
    "already imported",
    "filtered out",
    "other",
    "Review of {name}",
    "What became of each comment",
    "{n} comments",
    ", {n} {outcome}",
    "Show: ",
    "{what} on page {n}",
    "page {n}",
    "page {n} could not be drawn",
    ", the comment outlined",
    ", top (the comment was not found on it)",
    "by",
    "wrote",
    "new text",
    "marked",
    "why",
    "replies",
    "{n} (not found in the PDF)",
    "now",
    "no place in the document",
    " (placed by an earlier import)",
    "(no component of the book)",
};

constexpr PageWords kJapanese = {
    "ja",
    "失敗",
    "要確認",
    "配置",
    "読み込み済み",
    "除外",
    "その他",
    "{name} のレビュー",
    "各注釈の結果",
    "注釈 {n} 件",
    "、{outcome} {n} 件",
    "表示 : ",
    "{n} ページの {what}",
    "{n} ページ",
    "{n} ページを描画できませんでした",
    "、注釈を枠で表示",
    "、上部 (ページ上に注釈が見つかりませんでした)",
    "作成者",
    "内容",
    "新しいテキスト",
    "対象テキスト",
    "理由",
    "返信",
    "{n} (PDF に見つかりませんでした)",
    "読み込み後",
    "文書内に位置がありません",
    " (以前の読み込みで配置済み)",
    "(ブックのどのコンポーネントにも属さない)",
};

}  // namespace

const PageWords& WordsOf(PageLanguage language) {
  return language == PageLanguage::Japanese ? kJapanese : kEnglish;
}

std::string WithValue(const std::string& text, const std::string& name, const std::string& value) {
  const std::string key = "{" + name + "}";
  std::string out;
  size_t from = 0;
  for (size_t at = text.find(key); at != std::string::npos; at = text.find(key, from)) {
    out += text.substr(from, at - from) + value;
    from = at + key.size();
  }
  return out + text.substr(from);
}

}  // namespace osprevan::review
