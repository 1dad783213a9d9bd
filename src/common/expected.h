#pragma once

#include <optional>
#include <string>
#include <utility>

namespace portprobe {

// Why an operation failed, in words that can be shown to the user.
struct Failure {
  std::string reason;
};

// The value of an operation that can fail, or its Failure: the one way the Qt-free
// libraries report failures that a caller shows. Converts to false on failure.
template <typename T>
class Expected {
 public:
  Expected(T value) : value_(std::move(value)) {}
  Expected(Failure failure) : reason_(std::move(failure.reason)) {}

  explicit operator bool() const { return value_.has_value(); }
  bool has_value() const { return value_.has_value(); }
  T& operator*() { return *value_; }
  const T& operator*() const { return *value_; }
  T* operator->() { return &*value_; }
  const T* operator->() const { return &*value_; }
  // Empty while there is a value.
  const std::string& Reason() const { return reason_; }

  friend bool operator==(const Expected& expected, const T& value) { return expected.value_ == value; }

 private:
  std::optional<T> value_;
  std::string reason_;
};

// What an operation without a value gives back on success.
struct Done {};
using Outcome = Expected<Done>;

}  // namespace portprobe
