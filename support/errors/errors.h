#pragma once
// Every kind of error Nimbra raises, with its fixed texts. A front end catches
// NimbraError at the command boundary and shows what() to the user; whatever was
// written before the error stays.

#include <stdexcept>
#include <string>

namespace nimbra {

class NimbraError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// An index outside a fixed-capacity array, or an integer out of its range.
class RangeError : public NimbraError {
 public:
  using NimbraError::NimbraError;
};

// Division by zero, an invalid operation or an overflow in real arithmetic.
class FloatingPointError : public NimbraError {
 public:
  using NimbraError::NimbraError;
};

// Text that should have been a number.
class InputError : public NimbraError {
 public:
  InputError() : NimbraError("Invalid numeric input") {}
  using NimbraError::NimbraError;
};

// A routine called with arguments outside its domain.
class InvalidArgument : public NimbraError {
 public:
  using NimbraError::NimbraError;
};

// A failed read or write of a file or stream.
class InOutError : public NimbraError {
 public:
  using NimbraError::NimbraError;
};

// Work ended early because its caller asked it to stop.
class Stopped : public NimbraError {
 public:
  Stopped() : NimbraError("Stopped") {}
};

// Misuse detected by a library routine: message, unit and source line.
class AssertionFailure : public NimbraError {
 public:
  AssertionFailure(const std::string& message, const std::string& unit, int line)
      : NimbraError(message + " (" + unit + ", line " + std::to_string(line) + ")"),
        message_(message),
        unit_(unit),
        line_(line) {}

  const std::string& message() const { return message_; }
  const std::string& unit() const { return unit_; }
  int line() const { return line_; }

 private:
  std::string message_;
  std::string unit_;
  int line_;
};

inline constexpr const char* kDivisionByZero = "Floating point division by zero";
inline constexpr const char* kInvalidOperation = "Invalid floating point operation";
inline constexpr const char* kOverflow = "Floating point overflow";
inline constexpr const char* kRangeCheck = "Range check error";

}  // namespace nimbra
