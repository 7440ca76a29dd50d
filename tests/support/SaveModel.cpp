#include "support/SaveModel.h"

#include <array>

#include "core/Saves.h"
#include "core/StartupLoad.h"
#include "platform/Utf8.h"
#include "support/MemoryFiles.h"
#include "wine/Windows1252.h"

namespace velquin::testing {

namespace {

struct Slots {
  std::size_t count, firstOffset, distance, maxChars, slotBytes;
};
constexpr Slots kNames{5, 12, 2108, 15, 17};
constexpr Slots kMacros{10, 228, 40, 39, 40};

// A field as the game must find it: the characters cut to the limit, two zero bytes, all
// inside the slot. Nothing when a character has no byte of its own.
std::optional<Bytes> ModelField(const std::string& text, const Slots& slots, const CodePage& cp) {
  std::u32string chars = DecodeUtf8(text);
  if (chars.size() > slots.maxChars) chars.resize(slots.maxChars);
  Bytes field;
  for (char32_t ch : chars) {
    const auto byte = cp.CharToByte(ch);
    if (!byte || *byte == 0) return std::nullopt;
    field.push_back(*byte);
  }
  field.insert(field.end(), {0, 0});
  if (field.size() > slots.slotBytes) field.resize(slots.slotBytes);
  return field;
}

void Patch(Bytes& file, std::size_t offset, const Bytes& field) {
  if (file.size() < offset + field.size()) file.resize(offset + field.size(), 0);
  std::copy(field.begin(), field.end(), file.begin() + static_cast<std::ptrdiff_t>(offset));
}

std::string ModelRead(const std::optional<Bytes>& file, std::size_t offset, const CodePage& cp) {
  std::string text;
  for (std::size_t i = offset; file && i < file->size() && (*file)[i] != 0; ++i) {
    AppendUtf8(text, cp.ByteToChar((*file)[i]));
  }
  return text;
}

template <std::size_t N>
std::array<std::string, N> Fixed(const std::vector<std::string>& texts) {
  std::array<std::string, N> fixed;
  std::copy(texts.begin(), texts.end(), fixed.begin());
  return fixed;
}

}  // namespace

std::string CheckSaveAndLoad(const SaveCase& c) {
  const Windows1252 cp;
  const Slots& slots = c.names ? kNames : kMacros;

  std::vector<Bytes> fields;
  bool representable = true;
  for (const std::string& text : c.texts) {
    const auto field = ModelField(text, slots, cp);
    representable = representable && field.has_value();
    fields.push_back(field.value_or(Bytes()));
  }

  // What the file must hold afterwards: nothing written unless the save got as far as the
  // open and found room for every field; then every field before the failing write, inside
  // the file's old length.
  std::optional<Bytes> expected = c.before;
  const bool opens = !c.gamePath.empty() && representable;
  bool room = !c.diskFull;
  for (std::size_t slot = 0; c.diskFull && slot < slots.count; ++slot) {
    room = c.before && slots.firstOffset + slots.distance * slot + fields[slot].size() <= c.before->size();
    if (!room) break;
  }
  if (opens && !c.refuseOpen && room) {
    if (!expected) expected.emplace();
    for (std::size_t slot = 0; slot < slots.count; ++slot) {
      if (static_cast<int>(slot) == c.failingWrite) break;
      Patch(*expected, slots.firstOffset + slots.distance * slot, fields[slot]);
    }
    if (c.failingWrite >= 0 && !c.before) expected.reset();
    if (c.failingWrite >= 0 && c.before) expected->resize(c.before->size());
  }
  const bool saved = opens && !c.refuseOpen && room && c.failingWrite < 0 && !c.failClose;

  MemoryFiles files;
  files.content = c.before;
  files.refuseOpen = c.refuseOpen;
  files.diskFull = c.diskFull;
  files.failingWrite = c.failingWrite;
  files.failClose = c.failClose;
  const SaveOutcome outcome = c.names ? SaveNames(c.gamePath, Fixed<5>(c.texts), files, cp)
                                      : SaveMacros(c.gamePath, Fixed<10>(c.texts), files, cp);

  const std::string message(outcome.message);
  const std::string wanted = c.names ? (saved ? "Names saved!" : "Can't save names!")
                                     : (saved ? "Messages saved!" : "Can't save messages!");
  if (outcome.saved != saved || message != wanted)
    return "the message is \"" + message + "\", not \"" + wanted + "\"";
  if (files.opens != (opens ? 1 : 0)) return "the file was opened " + std::to_string(files.opens) + " times";
  if (files.content != expected) return "the file's bytes are not what the save may write";

  if (c.gamePath.empty()) return "";  // no game folder: nothing is read either
  const NamesAndMacros loaded = LoadNamesAndMacros(c.gamePath, files, cp);
  for (std::size_t k = 0; k < kNames.count; ++k) {
    if (loaded.names[k] != ModelRead(files.content, kNames.firstOffset + kNames.distance * k, cp))
      return "name " + std::to_string(k) + " reads back wrong";
  }
  for (std::size_t m = 0; m < kMacros.count; ++m) {
    if (loaded.macros[m] != ModelRead(files.content, kMacros.firstOffset + kMacros.distance * m, cp))
      return "macro " + std::to_string(m) + " reads back wrong";
  }
  return "";
}

}  // namespace velquin::testing
