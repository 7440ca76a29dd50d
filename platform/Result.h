#pragma once

#include <cstdint>
#include <utility>
#include <variant>

namespace velquin {

// The system's error code of a failed operation: errno on POSIX, GetLastError() on Windows.
struct OsError {
  std::uint32_t code = 0;
};

// Outcome of an operation that gives nothing back but may fail.
class [[nodiscard]] Status {
 public:
  static Status Ok() { return Status(); }
  static Status Failed(std::uint32_t code) { return Status(OsError{code == 0 ? 1u : code}); }
  Status(OsError error) : error_(error.code == 0 ? 1u : error.code) {}

  bool ok() const { return error_ == 0; }
  std::uint32_t code() const { return error_; }

 private:
  Status() = default;
  std::uint32_t error_ = 0;
};

// A value, or the error code of the operation that could not give it.
template <class T>
class [[nodiscard]] Result {
 public:
  Result(T value) : state_(std::move(value)) {}
  Result(OsError error) : state_(OsError{error.code == 0 ? 1u : error.code}) {}

  bool ok() const { return std::holds_alternative<T>(state_); }
  T& value() { return std::get<T>(state_); }
  const T& value() const { return std::get<T>(state_); }
  std::uint32_t code() const { return ok() ? 0 : std::get<OsError>(state_).code; }

 private:
  std::variant<T, OsError> state_;
};

}  // namespace velquin
