#pragma once
#include <stdexcept>
#include <string>

// Base of the program's exceptions; what() is the message shown to the user.
class Exception : public std::runtime_error {
public:
  explicit Exception(const std::string &message) : std::runtime_error(message) {}
  std::string Message() const { return what(); }
};

class EConvertError : public Exception {
public:
  using Exception::Exception;
};

// Misuse of a string list: index out of bounds, a forbidden duplicate, an
// operation that would break a sorted list's order.
class EStringListError : public Exception {
public:
  using Exception::Exception;
};

// A file could not be opened for reading, or not be written.
class EFOpenError : public Exception {
public:
  using Exception::Exception;
};

class EFCreateError : public Exception {
public:
  using Exception::Exception;
};
