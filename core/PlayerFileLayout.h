#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

namespace velquin {

// Where names and macros lie in plyr.sav. Positions are 1-based (file offset + 1).
inline constexpr int kNameSlots = 5;
inline constexpr std::uint64_t kFirstNamePosition = 13;
inline constexpr std::uint64_t kNameDistance = 2108;  // one character record
inline constexpr std::size_t kNameLimit = 15;

// One set of ten macros, inside the first character record (offsets 228 to 627).
inline constexpr int kMacroSlots = 10;
inline constexpr std::uint64_t kFirstMacroPosition = 229;
inline constexpr std::uint64_t kMacroDistance = 40;
inline constexpr std::size_t kMacroLimit = 39;

inline constexpr std::size_t kTerminatorBytes = 2;  // a 16-bit zero behind the text

constexpr std::uint64_t NamePosition(int slot) {
  return kFirstNamePosition + kNameDistance * slot;
}
constexpr std::uint64_t MacroPosition(int slot) {
  return kFirstMacroPosition + kMacroDistance * slot;
}

// What one field may take when it is written: characters, and bytes with the terminator.
struct FieldLimit {
  std::size_t maxChars;
  std::size_t maxBytes;
};

inline constexpr FieldLimit kNameField{kNameLimit, kNameLimit + kTerminatorBytes};
// A 39-character macro keeps only the first zero byte: the second would land in the next slot.
inline constexpr FieldLimit kMacroField{kMacroLimit, kMacroDistance};

inline std::string PlayerFilePath(const std::string& gamePath) {
  return gamePath + "\\plyr.sav";
}

}  // namespace velquin
