#include "wine/IconvCodePage.h"

#include <iconv.h>

#include <algorithm>
#include <optional>

#include "platform/UniqueHandle.h"
#include "platform/Utf8.h"

namespace velquin {

namespace {

struct Definition {
  int number;
  const char* iconvName;
  // Where Windows puts the bytes above 0x9F that the code page leaves undefined: on consecutive
  // private-use characters from this one on, in byte order; 0 where it has no such bytes.
  char32_t firstPrivateUse;
};

constexpr Definition kDefinitions[] = {
    {874, "CP874", U'\uF8C1'},   {1250, "CP1250", 0}, {1251, "CP1251", 0},         {1252, "CP1252", 0},
    {1253, "CP1253", U'\uF8F9'}, {1254, "CP1254", 0}, {1255, "CP1255", U'\uF88D'}, {1256, "CP1256", 0},
    {1257, "CP1257", U'\uF8FC'}, {1258, "CP1258", 0},
};

// Bytes that Windows has given a character since glibc's table was written.
struct Addition {
  int number;
  std::uint8_t byte;
  char32_t ch;
};

constexpr Addition kWindowsAdditions[] = {
    {1255, 0xCA, U'\u05BA'},  // Hebrew point holam haser for vav
};

// -1: what iconv_open gives when it cannot convert.
using Conversion = UniqueHandle<iconv_t, iconv_close, -1>;

// The one character iconv makes of the byte alone; nothing where it refuses the byte. Each
// byte starts afresh, so glibc's CP1258 never composes a letter with a following tone mark,
// which Windows keeps as two characters.
std::optional<char32_t> ConvertByte(const Conversion& toUtf32, std::uint8_t byte) {
  iconv(toUtf32.get(), nullptr, nullptr, nullptr, nullptr);
  char in = static_cast<char>(byte);
  char* inPtr = &in;
  std::size_t inLeft = 1;
  unsigned char out[16] = {};
  char* outPtr = reinterpret_cast<char*>(out);
  std::size_t outLeft = sizeof out;
  const auto failed = static_cast<std::size_t>(-1);
  if (iconv(toUtf32.get(), &inPtr, &inLeft, &outPtr, &outLeft) == failed) return std::nullopt;
  // CP1258 holds a letter back until it knows no tone mark follows; this hands it out.
  if (iconv(toUtf32.get(), nullptr, nullptr, &outPtr, &outLeft) == failed) return std::nullopt;
  if (inLeft != 0 || sizeof out - outLeft != 4) return std::nullopt;
  return static_cast<char32_t>(out[0] | out[1] << 8 | out[2] << 16 | static_cast<char32_t>(out[3]) << 24);
}

const Definition* FindDefinition(int number) {
  const auto found = std::find_if(std::begin(kDefinitions), std::end(kDefinitions),
                                  [number](const Definition& d) { return d.number == number; });
  return found == std::end(kDefinitions) ? nullptr : found;
}

std::optional<char32_t> WindowsAddition(int number, std::uint8_t byte) {
  for (const Addition& addition : kWindowsAdditions) {
    if (addition.number == number && addition.byte == byte) return addition.ch;
  }
  return std::nullopt;
}

}  // namespace

bool IconvCodePage::Knows(int number) {
  return FindDefinition(number) != nullptr;
}

std::vector<int> IconvCodePage::Known() {
  std::vector<int> numbers;
  for (const Definition& definition : kDefinitions) numbers.push_back(definition.number);
  return numbers;
}

std::unique_ptr<IconvCodePage> IconvCodePage::Open(int number) {
  const Definition* definition = FindDefinition(number);
  if (!definition) return nullptr;
  const Conversion toUtf32(iconv_open("UTF-32LE", definition->iconvName));
  if (!toUtf32.valid()) return nullptr;

  std::array<char32_t, 256> chars{};
  char32_t nextPrivateUse = definition->firstPrivateUse;
  for (int byte = 0; byte < 256; ++byte) {
    const auto b = static_cast<std::uint8_t>(byte);
    std::optional<char32_t> ch = ConvertByte(toUtf32, b);
    if (!ch || *ch == kReplacementChar) ch = WindowsAddition(number, b);
    // Windows reads an undefined byte from 0x80 to 0x9F as the C1 control of the same number.
    if (!ch && b >= 0x80 && b <= 0x9F) ch = b;
    if (!ch && b > 0x9F && nextPrivateUse != 0) ch = nextPrivateUse++;
    chars[b] = ch.value_or(kReplacementChar);
  }
  return std::unique_ptr<IconvCodePage>(new IconvCodePage(chars));
}

}  // namespace velquin
