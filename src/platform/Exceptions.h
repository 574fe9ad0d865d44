#pragma once
#include <stdexcept>
#include <string>

// Base of the program's exceptions; what() is the message shown to the user.
class Exception : public std::runtime_error {
public:
  explicit Exception(const std::string& message) : std::runtime_error(message) {}
  std::string Message() const { return what(); }
};

class EConvertError : public Exception {
public:
  using Exception::Exception;
};
