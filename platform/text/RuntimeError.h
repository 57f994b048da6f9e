#pragma once

#include <stdexcept>
#include <string>

namespace xel {

// The one error type of the run time: a number and a description, the description being the text
// a handler shows to the user. Handlers that report failures catch this (and the standard
// exceptions) and nothing else.
class RuntimeError : public std::runtime_error {
 public:
  RuntimeError(long number, const std::string& description)
      : std::runtime_error(description), number_(number) {}

  long Number() const { return number_; }
  std::string Description() const { return what(); }

 private:
  long number_;
};

// Numbers of the errors the platform itself raises; they follow the numbering administrators know
// from the original run time, so that a number seen in a message can be looked up.
namespace err {
inline constexpr long InvalidProcedureCall = 5;
inline constexpr long Overflow = 6;
inline constexpr long TypeMismatch = 13;
inline constexpr long PermissionDenied = 70;
inline constexpr long PathFileAccessError = 75;
inline constexpr long ObjectVariableNotSet = 91;
inline constexpr long InvalidPropertyValue = 380;
inline constexpr long ObjectRequired = 424;
inline constexpr long IndexOutOfBounds = 35600;
inline constexpr long ElementNotFound = 35601;
inline constexpr long KeyNotUnique = 35602;
inline constexpr long InvalidKey = 35603;
inline constexpr long NodeRemoved = 35605;
inline constexpr long ImageListNotInitialized = 35613;
inline constexpr long IntroducesCycle = 35614;
// Failures reported by the database (the provider's "errors occurred" code).
inline constexpr long DatabaseError = -2147217900;
// Failures of the data-access objects themselves.
inline constexpr long NoCurrentRecord = 3021;
inline constexpr long ItemNotFound = 3265;
inline constexpr long ObjectClosed = 3704;
inline constexpr long ProviderNotFound = 3706;
inline constexpr long NoTransaction = -2147168242;
}  // namespace err

// The description of any failure a handler caught: the run-time error's own text, or the text of
// a standard exception.
inline long ErrorNumber(const std::exception& e) {
  if (auto* rt = dynamic_cast<const RuntimeError*>(&e)) {
    return rt->Number();
  }
  return err::InvalidProcedureCall;
}

}  // namespace xel
