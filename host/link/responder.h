// Plays the user for the host's alerts and file chooser: answers from a script when one is
// given, else asks on the terminal, else takes the default answer.
#pragma once

#include <cstdint>
#include <deque>
#include <iosfwd>
#include <optional>
#include <string>

namespace tlhost {

class Responder {
 public:
  // Scripted answers are used in order: alerts take "yes", "no" or "ok"; the file chooser takes
  // a path or "cancel".
  void QueueAlertAnswer(const std::string& answer) { alertAnswers_.push_back(answer); }
  void QueueChosenFile(const std::string& pathOrCancel) { fileAnswers_.push_back(pathOrCancel); }
  // With a terminal, questions nobody scripted are asked on it.
  void UseTerminal(std::istream* in, std::ostream* out) {
    in_ = in;
    out_ = out;
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
};

}  // namespace tlhost
