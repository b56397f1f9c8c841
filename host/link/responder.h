// Plays the user for the host's alerts and file chooser: answers from a script when one is
// given, else asks on the terminal, else takes the default answer.
#pragma once

#include <cstdint>
#include <deque>
#include <functional>
#include <iosfwd>
#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace tlhost {

// What the responder says on the terminal; each names in braces the values it carries. The
// answers it takes (y, n, a path) are the same in every language.
enum class ResponderSaying {
  Alert,       // {text}: an alert's heading and text
  PressEnter,  // the prompt under an alert with only OK
  YesOrNo,     // the prompt under a question
  ChooseFile,  // {title} {folder} {name}: the file chooser's heading
  PathPrompt,  // the prompt for the chosen path
  Count        // not a saying: the number of sayings
};

using ResponderValues = std::vector<std::pair<std::string, std::string>>;
// Words a saying in the user's language; the command line hands it over with the terminal.
using ResponderWording = std::function<std::string(ResponderSaying, const ResponderValues&)>;

class Responder {
 public:
  // Scripted answers are used in order: alerts take "yes", "no" or "ok"; the file chooser takes
  // a path or "cancel".
  void QueueAlertAnswer(const std::string& answer) { alertAnswers_.push_back(answer); }
  void QueueChosenFile(const std::string& pathOrCancel) { fileAnswers_.push_back(pathOrCancel); }
  // With a terminal, questions nobody scripted are asked on it, in `wording`'s words.
  void UseTerminal(std::istream* in, std::ostream* out, ResponderWording wording) {
    in_ = in;
    out_ = out;
    wording_ = std::move(wording);
  }
  size_t PendingAlertAnswers() const { return alertAnswers_.size(); }

  // 0 for OK or Yes, 1 for No.
  int32_t AnswerAlert(const std::string& text, int32_t kind);
  // The chosen path, or nothing for cancel.
  std::optional<std::string> ChooseFile(const std::string& title, const std::string& directory,
                                        const std::string& defaultName);

 private:
  std::deque<std::string> alertAnswers_;
  std::deque<std::string> fileAnswers_;
  std::istream* in_ = nullptr;
  std::ostream* out_ = nullptr;
  ResponderWording wording_;
};

}  // namespace tlhost
