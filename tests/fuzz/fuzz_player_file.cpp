// The start-up load and both saves over an in-memory player file with failures injected.
// Input: one byte of choices, one byte naming the failing write, then per slot a length byte
// and that many text bytes (UTF-8 or not), and the rest is the file.
#include <cstdint>

#include "fuzz/FuzzCheck.h"
#include "support/SaveModel.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size < 2) return 0;
  velquin::testing::SaveCase c;
  const std::uint8_t choices = data[0];
  c.names = (choices & 1) != 0;
  if (choices & 2) c.gamePath.clear();
  c.refuseOpen = (choices & 4) != 0;
  c.failClose = (choices & 8) != 0;
  if (choices & 16) c.failingWrite = data[1] % (c.names ? 5 : 10);
  c.diskFull = (choices & 64) != 0;
  std::size_t at = 2;
  c.texts.resize(c.names ? 5 : 10);
  for (std::string& text : c.texts) {
    const std::size_t length = at < size ? data[at++] % 64 : 0;
    const std::size_t end = std::min(size, at + length);
    text.assign(data + at, data + end);
    at = end;
  }
  if (!(choices & 32)) c.before.emplace(data + at, data + std::min(size, at + 12000));
  const std::string broken = velquin::testing::CheckSaveAndLoad(c);
  velquin::fuzz::Check(broken.empty(), broken);
  return 0;
}
