#pragma once

#include <optional>
#include <string>
#include <vector>

#include "platform/CodePage.h"

namespace velquin::testing {

// One save command and the start-up load after it, over an in-memory player file.
struct SaveCase {
  bool names = true;               // Save Names, else Save Macros
  std::string gamePath = "G:";     // "" when the registry has no game entry
  std::optional<Bytes> before;     // the file before the save; nothing when there is none
  std::vector<std::string> texts;  // 5 names or 10 macros, UTF-8 (or not)
  bool refuseOpen = false;
  bool diskFull = false;  // no room for a byte past the file's end
  int failingWrite = -1;
  bool failClose = false;
};

// Runs the case and holds the outcome against a model of the file layout written from its
// own literal numbers: the file holds exactly the fields that were written (no byte outside
// a field's slot changes), a refused save or one without room on the disk writes nothing, a
// failed write leaves the fields before it inside the file's old length and nothing past it
// (no file, if there was none), the message says what happened, and the load reads back
// what is there. Empty when every property holds, else what broke.
std::string CheckSaveAndLoad(const SaveCase& c);

}  // namespace velquin::testing
