#include "apply/shown_paragraph.h"

#include <map>

#include "hostlink/host_ops.h"

namespace osprevan::apply {
namespace {

using tolvane::ObjectId;

constexpr const char* kFootnoteMark = "\x05";

int32_t CharacterCount(const std::string& utf8) {
  int32_t count = 0;
  for (unsigned char c : utf8) count += (c & 0xC0) != 0x80;
  return count;
}

// Whether the text at `position` (its first character) is under a condition that is not shown.
bool UnderHiddenCondition(ObjectId document, ObjectId paragraph, int32_t position,
                          std::map<ObjectId, bool>& shownByCondition) {
  const HostValue conditions =
      HostGetTextPropVal(document, {paragraph, position + 1}, tolvane::P_TEXT_CONDITIONS);
  for (ObjectId condition : conditions.ids) {
    auto found = shownByCondition.find(condition);
    if (found == shownByCondition.end()) {
      const bool shown = HostGetInt(document, condition, tolvane::P_COND_SHOWN) != 0;
      found = shownByCondition.emplace(condition, shown).first;
    }
    if (!found->second) return true;
  }
  return false;
}

void AppendShown(ShownParagraph& out, const std::string& character, int32_t start, int32_t end) {
  out.text += character;
  out.start.push_back(start);
  out.end.push_back(end);
}

}  // namespace

int32_t ShownParagraph::HostOffset(size_t shown, bool passing) const {
  if (shown == 0) return passing && !start.empty() ? start.front() : 0;
  if (shown >= count()) return passing ? length : end.back();
  return passing ? start[shown] : end[shown - 1];
}

ShownParagraph ReadShownParagraph(ObjectId document, ObjectId paragraph) {
  ShownParagraph out;
  if (HostGetInt(document, paragraph, tolvane::P_PGF_AUTONUMBER_NOT_IN_PDF) == 0) {
    out.numberLength =
        CharacterCount(HostGetString(document, paragraph, tolvane::P_PGF_AUTONUMBER));
  }
  const HostTextItems items =
      HostGetTextEx(document, paragraph, tolvane::TI_ALL, tolvane::TIO_INCLUDE_HIDDEN_TEXT);
  std::map<ObjectId, bool> shownByCondition;
  int hiddenDepth = 0;
  for (const auto& item : items) {
    switch (item.kind) {
      case tolvane::TI_STRING: {
        if (hiddenDepth > 0 ||
            UnderHiddenCondition(document, paragraph, item.offset, shownByCondition)) {
          break;
        }
        int32_t position = item.offset;
        for (size_t i = 0; i < item.text.size();) {
          size_t next = i + 1;
          while (next < item.text.size() && (item.text[next] & 0xC0) == 0x80) ++next;
          AppendShown(out, item.text.substr(i, next - i), position, position + 1);
          i = next;
          ++position;
        }
        break;
      }
      case tolvane::TI_HIDDEN_BEGIN:
        ++hiddenDepth;
        break;
      case tolvane::TI_HIDDEN_END:
        if (hiddenDepth > 0) --hiddenDepth;
        break;
      case tolvane::TI_FOOTNOTE_ANCHOR:
        if (hiddenDepth == 0) {
          const int32_t digits =
              CharacterCount(HostGetString(document, item.id, tolvane::P_FN_NUMBER));
          for (int32_t i = 0; i < digits; ++i)
            AppendShown(out, kFootnoteMark, item.offset, item.offset + 1);
        }
        break;
      default:
        break;
    }
  }
  out.length = HostGetInt(document, paragraph, tolvane::P_PGF_TEXT_LENGTH) - 1;
  if (out.length < 0) out.length = 0;
  return out;
}

}  // namespace osprevan::apply
