#include "tools/review_page/review_report.h"

#include <fstream>
#include <nlohmann/json.hpp>
#include <sstream>

#include "tools/review_page/tool_texts.h"

namespace osprevan::review {
namespace {

using nlohmann::json;

// A field's value, or `fallback` when the field is absent; a field of another type is an error
// (the library throws json::type_error).
template <typename T>
T Field(const json& object, const char* key, T fallback) {
  const auto found = object.find(key);
  if (found == object.end() || found->is_null()) return fallback;
  return found->get<T>();
}

ReportComment CommentOf(const json& object) {
  ReportComment c;
  c.page = Field(object, "page", 0);
  c.subtype = Field<std::string>(object, "subtype", "");
  c.author = Field<std::string>(object, "author", "");
  c.date = Field<std::string>(object, "date", "");
  c.contents = Field<std::string>(object, "contents", "");
  c.markedText = Field<std::string>(object, "markedText", "");
  c.replies = Field(object, "replies", 0);
  c.placement = Field<std::string>(object, "placement", "");
  c.outcome = Field<std::string>(object, "outcome", "");
  c.flow = Field<std::string>(object, "flow", "");
  c.paragraph = Field(object, "paragraph", 0);
  c.begin = Field(object, "begin", -1);
  c.end = Field(object, "end", -1);
  c.beginParagraph = Field(object, "beginParagraph", c.paragraph);
  c.reason = Field<std::string>(object, "reason", "");
  c.document = Field<std::string>(object, "document", "");
  return c;
}

}  // namespace

bool ParseReviewReport(const std::string& text, PageLanguage language, ReviewReport& out,
                       std::string& error) {
  out = ReviewReport{};
  try {
    const json root = json::parse(text);
    if (!root.is_object()) return error = ToolSaid(language, ToolText::ReportNotAnObject), false;
    out.pdf = Field<std::string>(root, "pdf", "");
    const auto comments = root.find("comments");
    if (comments == root.end() || !comments->is_array())
      return error = ToolSaid(language, ToolText::ReportHasNoComments), false;
    for (const json& comment : *comments) {
      if (!comment.is_object())
        return error = ToolSaid(language, ToolText::CommentNotAnObject), false;
      out.comments.push_back(CommentOf(comment));
    }
    const auto warnings = root.find("warnings");
    if (warnings != root.end()) out.warnings = warnings->get<std::vector<std::string>>();
  } catch (const json::exception& e) {
    error = ToolSaid(language, ToolText::ReportUnreadable, {{"why", e.what()}});
    return false;
  }
  return true;
}

bool ReadReviewReport(const std::string& path, PageLanguage language, ReviewReport& out,
                      std::string& error) {
  std::ifstream in(path, std::ios::binary);
  if (!in) return error = ToolSaid(language, ToolText::CannotOpenReport, {{"path", path}}), false;
  std::ostringstream text;
  text << in.rdbuf();
  return ParseReviewReport(text.str(), language, out, error);
}

}  // namespace osprevan::review
