#include <array>
#include <fstream>
#include <map>
#include <sstream>

#include "backend/BackendFixture.h"

namespace velquin {
namespace {

using CodePageConformance = testing::BackendTest;

// A code page both ways: the character of every byte, and the byte of every character of the
// Basic Multilingual Plane that has one.
struct CodePageTable {
  std::array<char32_t, 256> chars{};
  std::map<char32_t, int> bytes;
};

CodePageTable TableOf(const CodePage& cp) {
  CodePageTable table;
  for (int byte = 0; byte < 256; ++byte) table.chars[byte] = cp.ByteToChar(static_cast<std::uint8_t>(byte));
  for (char32_t ch = 0; ch <= 0xFFFF; ++ch) {
    if (const auto byte = cp.CharToByte(ch)) table.bytes[ch] = *byte;
  }
  return table;
}

// Lines "b BYTE CHAR" and "c CHAR BYTE", in hexadecimal.
void WriteTable(std::ostream& out, const CodePageTable& table) {
  out << std::hex;
  for (int byte = 0; byte < 256; ++byte)
    out << "b " << byte << ' ' << std::uint32_t{table.chars[byte]} << '\n';
  for (const auto& [ch, byte] : table.bytes) out << "c " << std::uint32_t{ch} << ' ' << byte << '\n';
}

CodePageTable ReadTable(std::istream& in) {
  CodePageTable table;
  std::string kind;
  std::uint32_t first = 0, second = 0;
  while (in >> kind >> std::hex >> first >> second) {
    if (kind == "b" && first < 256) table.chars[first] = second;
    if (kind == "c") table.bytes[first] = static_cast<int>(second);
  }
  return table;
}

std::string U(char32_t ch) {
  std::ostringstream text;
  text << "U+" << std::hex << std::uppercase << std::uint32_t{ch};
  return text.str();
}

// The script runs the Windows exe under a locale of each code page to write what Windows does.
TEST(CodePageTableOfThisBackend, IsWrittenForTheOtherToCompare) {
  const char* file = std::getenv("VELQUIN_CODE_PAGE_TABLE_OUT");
  if (!file) GTEST_SKIP() << "VELQUIN_CODE_PAGE_TABLE_OUT not set";
  std::ofstream out(file);
  WriteTable(out, TableOf(*MakePlatformServices().codePage));
  ASSERT_TRUE(out.good()) << file;
}

// ...and then this backend, in the same prefix whose registry Wine has meanwhile given that
// code page, must convert every byte and every character as Windows does.
TEST(CodePageTableOfThisBackend, IsTheTableWindowsWrote) {
  const char* file = std::getenv("VELQUIN_WINDOWS_CODE_PAGE_TABLE");
  if (!file) GTEST_SKIP() << "VELQUIN_WINDOWS_CODE_PAGE_TABLE not set";
  std::ifstream in(file);
  ASSERT_TRUE(in) << file;
  const CodePageTable windows = ReadTable(in);
  ASSERT_FALSE(windows.bytes.empty()) << file;
  const PlatformServices os = MakePlatformServices();
  const CodePageTable ours = TableOf(*os.codePage);

  int failures = 0;
  for (char32_t ch = 0; ch <= 0xFFFF && failures < 10; ++ch) {
    const auto theirs = windows.bytes.find(ch);
    const auto mine = ours.bytes.find(ch);
    const int expected = theirs == windows.bytes.end() ? -1 : theirs->second;
    const int got = mine == ours.bytes.end() ? -1 : mine->second;
    if (got != expected) {
      ADD_FAILURE() << U(ch) << " is written as " << got << ", Windows writes " << expected
                    << " (-1: refused)";
      ++failures;
    }
  }
  for (int byte = 0; byte < 256; ++byte) {
    const char32_t expected = windows.chars[byte];
    EXPECT_EQ(U(ours.chars[byte]), U(expected)) << "byte " << byte;
    EXPECT_EQ(os.codePage->CharToByte(ours.chars[byte]), byte) << "byte " << byte << " does not come back";
  }
}

}  // namespace
}  // namespace velquin
