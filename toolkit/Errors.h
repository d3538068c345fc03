#pragma once
// The error classes of the runtime. Every error the program raises carries one
// message text, which the application object shows in a message box before the
// program goes on.

#include <initializer_list>
#include <stdexcept>
#include <string>

namespace tk {

// Base of every error the program raises on purpose.
class Exception : public std::runtime_error {
 public:
  explicit Exception(const std::string& message) : std::runtime_error(message) {}
  std::string Message() const { return what(); }
};

// A list was asked for an element it does not have.
class EListError : public Exception {
 public:
  explicit EListError(long long index);
  long long Index() const { return index_; }

 private:
  long long index_;
};

class EDivByZero : public Exception {
 public:
  EDivByZero() : Exception("Division by zero") {}
};

// Replaces each "%d" and "%s" of a message template, in order, with the given
// texts. Used for the engine's fixed message texts; unmatched markers stay.
std::string FormatMessage(const std::string& pattern, std::initializer_list<std::string> args);

}  // namespace tk
