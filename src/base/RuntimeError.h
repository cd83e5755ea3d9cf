// A run-time error of the program: a number and a description, raised as a C++ exception.
#pragma once

#include <stdexcept>
#include <string>

namespace base {

class RuntimeError : public std::runtime_error {
 public:
  RuntimeError(int number, const std::string& description) : std::runtime_error(description), number_(number) {}
  int Number() const { return number_; }

 private:
  int number_;
};

// The error numbers the program and its run-time raise.
enum ErrorNumber : int {
  kInvalidProcedureCall = 5,
  kOverflow = 6,
  kTypeMismatch = 13,
  kFileNotFound = 53,
  kObjectNotSet = 91,
  kInvalidPropertyValue = 380,
  kCannotCreateObject = 429,
  kFunctionNotAvailable = 453,
};

}  // namespace base
