// What an operation of the plug-in answers: done, or not done, of which kind and why. The reason
// is for the developer and for the report; what a user is told comes from the string table: the
// step that finds the failure may name the message (support/message_ids.h) that says it. Host and
// PDF library calls keep their own conventions inside hostlink/ and pdf/; everything the plug-in's
// layers answer each other is a Status.
#pragma once

#include <optional>
#include <string>
#include <utility>

namespace osprevan::support {

// Why an operation was not done, as far as its caller acts on it.
enum class StatusCode {
  kDone,
  kRefused,      // the user, the host or a rule said no; nothing was changed
  kFailed,       // tried and did not succeed
  kNotFound,     // what it was asked to work on is not there
  kOutOfMemory,  // an allocation failed; the operation left things as they were
};

class [[nodiscard]] Status {
 public:
  static Status Done() { return Status(); }
  static Status Failed(std::string reason) {
    return Status(StatusCode::kFailed, std::move(reason));
  }
  static Status Refused(std::string reason) {
    return Status(StatusCode::kRefused, std::move(reason));
  }
  static Status NotFound(std::string reason) {
    return Status(StatusCode::kNotFound, std::move(reason));
  }
  static Status OutOfMemory(std::string reason) {
    return Status(StatusCode::kOutOfMemory, std::move(reason));
  }

  bool ok() const { return code_ == StatusCode::kDone; }
  StatusCode code() const { return code_; }
  // Empty for a status that is ok.
  const std::string& reason() const { return reason_; }
  // The string-table message that tells the user why; none when only the reason says it.
  std::optional<int> message() const { return message_; }

  // This status, with `message` telling the user why.
  Status Telling(int message) const {
    Status told = *this;
    told.message_ = message;
    return told;
  }

 private:
  Status() = default;
  Status(StatusCode code, std::string reason) : code_(code), reason_(std::move(reason)) {}

  StatusCode code_ = StatusCode::kDone;
  std::string reason_;
  std::optional<int> message_;
};

}  // namespace osprevan::support
