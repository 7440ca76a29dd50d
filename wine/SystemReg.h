#pragma once

#include <cstdint>
#include <istream>
#include <map>
#include <set>
#include <string>
#include <string_view>
#include <vector>

#include "platform/AsciiCase.h"  // FoldCase: keys and value names are compared by it

namespace velquin {

// One value as Wine keeps it: string data as UTF-16 code units, other data as raw bytes.
struct RegValue {
  std::uint32_t type = 0;
  std::u16string text;              // REG_SZ, REG_EXPAND_SZ, REG_MULTI_SZ, with the terminator
  std::vector<std::uint8_t> bytes;  // every other type
};

// Value names in lower case ("" for the default value).
using RegValues = std::map<std::string, RegValue>;

struct RegKeyData {
  RegValues values;
  bool isLink = false;  // "#link": the key stands for the one its SymbolicLinkValue names
};

// The contents of a Wine prefix's system.reg (HKEY_LOCAL_MACHINE).
struct SystemReg {
  bool win64 = false;                      // "#arch=win64": 32-bit programs see Wow6432Node
  std::map<std::string, RegKeyData> keys;  // key paths in lower case, "\"-separated
};

// Reads the text Wine writes; lines it does not understand are passed over.
SystemReg ParseSystemReg(std::istream& in);

// The same, keeping only the wanted keys (lower-case paths) and the keys above them, where a
// link on the way to a wanted key may sit. The value lines of every other key are passed over
// unparsed, so a lookup does not pay for the thousands of keys a prefix holds.
SystemReg ParseSystemReg(std::string_view text, const std::set<std::string>& wantedKeys);

// The key a path names once Wine's registry links are followed (Wow6432Node keys that are
// shared with the 64-bit view are such links), in lower case.
std::string FollowLinks(const SystemReg& reg, std::string foldedPath);

}  // namespace velquin
