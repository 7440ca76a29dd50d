#pragma once

#include <cstdint>

namespace velquin {

// Why a file or folder from outside was not read, as an outcome: the windows and the listing
// put it into words.
struct ReadProblem {
  enum class Kind : std::uint8_t {
    None,
    Folder,  // where a file should be
    Fifo,
    Device,
    Socket,
    NotRegular,
    TooBig,        // size and limit say how big
    System,        // error is the errno
    NotAnswering,  // its file system did not answer in time
    NotKeyValues,  // the launchers' formats
    NotYaml,
    NotJson,
  };
  Kind kind = Kind::None;
  int error = 0;
  std::int64_t size = 0, limit = 0;

  explicit operator bool() const { return kind != Kind::None; }
  bool operator==(const ReadProblem&) const = default;
};

inline ReadProblem SystemProblem(int error) {
  return {ReadProblem::Kind::System, error};
}

}  // namespace velquin
