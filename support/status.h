// What an operation of the plug-in answers: done, or not done and why. The reason is for the
// developer and for another client's console; what a user is told comes from the string table,
// where the failure is found. Host and PDF library calls keep their own conventions inside
// hostlink/ and pdf/; everything the plug-in's layers answer each other is a Status.
#pragma once

#include <string>
#include <utility>

namespace osprevan::support {

class [[nodiscard]] Status {
 public:
  static Status Done() { return Status(); }
  static Status Failed(std::string reason) { return Status(std::move(reason)); }

  bool ok() const { return ok_; }
  // Empty for a status that is ok.
  const std::string& reason() const { return reason_; }

 private:
  Status() = default;
  explicit Status(std::string reason) : ok_(false), reason_(std::move(reason)) {}

  bool ok_ = true;
  std::string reason_;
};

}  // namespace osprevan::support
