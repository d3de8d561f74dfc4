// The errors that end a run through the last-resort report.
#pragma once

#include <string>
#include <utility>

/// The code address this call returns to: where an error is raised.
[[gnu::noinline]] const void* CallerAddress();

class Exception {
 public:
  Exception(const char* class_name, std::string message, const void* raised_at)
      : class_name_(class_name),
        message_(std::move(message)),
        raised_at_(raised_at) {}

  const char* ClassName() const { return class_name_; }
  const std::string& Message() const { return message_; }
  /// The code address the error was raised from.
  const void* RaisedAt() const { return raised_at_; }

 private:
  const char* class_name_;
  std::string message_;
  const void* raised_at_;
};

/// A delay line that is not an integer.
class EConvertError : public Exception {
 public:
  EConvertError(std::string message, const void* raised_at)
      : Exception("EConvertError", std::move(message), raised_at) {}
};

class EOutOfMemory : public Exception {
 public:
  explicit EOutOfMemory(const void* raised_at)
      : Exception("EOutOfMemory", "Out of memory", raised_at) {}
};
