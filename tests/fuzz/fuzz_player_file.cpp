// Both saves over an in-memory player file with failures injected, held to what needs no
// second encoder: no byte outside the fields changes, and a save writes every field or none.
// Input: one byte of choices, one byte naming the failing write, then per slot a length byte
// and that many text bytes (UTF-8 or not), and the rest is the file.
#include <algorithm>
#include <array>
#include <cstdint>
#include <optional>
#include <string>

#include "core/Saves.h"
#include "fuzz/FuzzCheck.h"
#include "support/MemoryFiles.h"
#include "wine/Windows1252.h"

namespace {

using velquin::Bytes;
using velquin::fuzz::Check;

// Where a save may write, in the layout's own numbers: name k from offset 12 + 2108k, at most
// 17 bytes; macro m from 228 + 40m, at most 40 bytes, a full one keeping one zero byte.
struct Fields {
  std::size_t count, first, distance, width;
  bool fullKeepsOneZero;
};
constexpr Fields kNames{5, 12, 2108, 17, false}, kMacros{10, 228, 40, 40, true};

bool InAField(const Fields& f, std::size_t offset) {
  return offset >= f.first && (offset - f.first) / f.distance < f.count &&
         (offset - f.first) % f.distance < f.width;
}

// Every field holds a written text: bytes other than zero, then two zero bytes.
bool EveryFieldWritten(const std::optional<Bytes>& file, const Fields& f) {
  for (std::size_t slot = 0; file && slot < f.count; ++slot) {
    const std::size_t start = f.first + f.distance * slot, end = std::min(start + f.width, file->size());
    if (start >= end) return false;
    const std::size_t zero = std::find(file->begin() + start, file->begin() + end, 0) - file->begin();
    const bool full = zero + 1 == start + f.width && f.fullKeepsOneZero;
    if (zero == end || !(zero + 1 < end ? (*file)[zero + 1] == 0 : full)) return false;
  }
  return file.has_value();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size < 2) return 0;
  const std::uint8_t choices = data[0];
  const bool names = (choices & 1) != 0;
  const std::string gamePath = (choices & 2) ? "" : "G:";
  velquin::testing::MemoryFiles files;
  files.refuseOpen = (choices & 4) != 0;
  files.failCommit = (choices & 8) != 0;
  files.failFlush = (choices & 128) != 0;
  if (choices & 16) files.failingWrite = data[1] % (names ? 5 : 10);
  files.diskFull = (choices & 64) != 0;
  std::array<std::string, 10> texts;
  std::size_t at = 2;
  for (std::size_t slot = 0; slot < (names ? 5u : 10u); ++slot) {
    const std::size_t length = at < size ? data[at++] % 64 : 0;
    const std::size_t end = std::min(size, at + length);
    texts[slot].assign(data + at, data + end);
    at = end;
  }
  if (!(choices & 32)) files.content.emplace(data + at, data + std::min(size, at + 12000));

  const std::optional<Bytes> before = files.content;
  const velquin::Windows1252 cp;
  std::array<std::string, velquin::kNameSlots> five;
  std::copy_n(texts.begin(), five.size(), five.begin());
  const bool saved = (names ? velquin::SaveNames(gamePath, five, files, cp)
                            : velquin::SaveMacros(gamePath, texts, files, cp))
                         .saved;
  const std::optional<Bytes>& after = files.content;
  const Fields& fields = names ? kNames : kMacros;

  for (std::size_t i = 0; after && i < after->size(); ++i) {
    const std::uint8_t old = before && i < before->size() ? (*before)[i] : 0;
    if (!InAField(fields, i)) Check((*after)[i] == old, "a byte outside the fields changed");
  }
  const bool all = EveryFieldWritten(after, fields);
  if (saved) Check(all, "a save that says it succeeded left a field unwritten");
  // A failed save leaves the file as it was, but for a close failing after the flush: the fields
  // are stored by then and the file can no longer be put back.
  if (!saved) Check(after == before || (all && files.failCommit), "a failed save left a change");
  return 0;
}
