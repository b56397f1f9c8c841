#include "host/link/responder.h"

#include <istream>
#include <ostream>

#include "tolvane/numbers.h"

namespace tlhost {
namespace {

bool IsNo(const std::string& answer) {
  return answer == "no" || answer == "n" || answer == "No";
}

}  // namespace

int32_t Responder::AnswerAlert(const std::string& text, int32_t kind) {
  const bool question = kind == tolvane::ALERT_YES_NO;
  if (!alertAnswers_.empty()) {
    const std::string answer = alertAnswers_.front();
    alertAnswers_.pop_front();
    return question && IsNo(answer) ? 1 : 0;
  }
  if (in_ && out_ && wording_) {
    *out_ << "\n" << wording_(ResponderSaying::Alert, {{"text", text}}) << "\n";
    if (!question) {
      *out_ << wording_(ResponderSaying::PressEnter, {}) << " " << std::flush;
      std::string line;
      std::getline(*in_, line);
      return 0;
    }
    for (;;) {
      *out_ << wording_(ResponderSaying::YesOrNo, {}) << " " << std::flush;
      std::string line;
      if (!std::getline(*in_, line)) return 1;
      if (line == "y" || line == "yes" || line == "Y") return 0;
      if (IsNo(line)) return 1;
    }
  }
  return 0;  // nobody to ask: OK, or the default button Yes
}

std::optional<std::string> Responder::ChooseFile(const std::string& title,
                                                 const std::string& directory,
                                                 const std::string& defaultName) {
  if (!fileAnswers_.empty()) {
    const std::string answer = fileAnswers_.front();
    fileAnswers_.pop_front();
    if (answer == "cancel") return std::nullopt;
    return answer;
  }
  if (in_ && out_ && wording_) {
    *out_ << "\n"
          << wording_(ResponderSaying::ChooseFile,
                      {{"title", title}, {"folder", directory}, {"name", defaultName}})
          << "\n"
          << wording_(ResponderSaying::PathPrompt, {}) << " " << std::flush;
    std::string line;
    if (!std::getline(*in_, line) || line.empty()) return std::nullopt;
    return line;
  }
  return std::nullopt;
}

}  // namespace tlhost
