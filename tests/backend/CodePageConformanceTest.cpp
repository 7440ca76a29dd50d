#include <algorithm>
#include <fstream>
#include <sstream>
#include <vector>

#include "backend/BackendFixture.h"

namespace velquin {
namespace {

// A code page both ways, one line each, in hexadecimal: "b BYTE CHAR" for every byte, then
// "c CHAR BYTE" for every character of the Basic Multilingual Plane that has a byte.
std::vector<std::string> TableOf(const CodePage& cp) {
  std::vector<std::string> lines;
  const auto add = [&](const char* kind, std::uint32_t from, std::uint32_t to) {
    std::ostringstream line;
    line << std::hex << kind << ' ' << from << ' ' << to;
    lines.push_back(line.str());
  };
  for (int byte = 0; byte < 256; ++byte) add("b", byte, cp.ByteToChar(static_cast<std::uint8_t>(byte)));
  for (char32_t ch = 0; ch <= 0xFFFF; ++ch) {
    if (const auto byte = cp.CharToByte(ch)) add("c", ch, *byte);
  }
  return lines;
}

// The script runs the Windows exe under a locale of each code page to write what Windows does.
// Every byte of a single-byte code page must read as a character that is written back as that
// byte, or a stored name would not survive a load and a save.
TEST(CodePageTableOfThisBackend, IsWrittenForTheOtherToCompare) {
  const char* file = std::getenv("VELQUIN_CODE_PAGE_TABLE_OUT");
  if (!file) GTEST_SKIP() << "VELQUIN_CODE_PAGE_TABLE_OUT not set";
  const std::unique_ptr<CodePage> cp = std::move(MakePlatformServices().codePage);
  for (int byte = 0; byte < 256; ++byte)
    EXPECT_EQ(cp->CharToByte(cp->ByteToChar(static_cast<std::uint8_t>(byte))), byte) << "byte " << byte;
  std::ofstream out(file, std::ios::binary);
  for (const std::string& line : TableOf(*cp)) out << line << '\n';
  ASSERT_TRUE(out.good()) << file;
}

// ...and then this backend, in the same prefix whose registry Wine has meanwhile given that
// code page, must convert every byte and every character as Windows does.
TEST(CodePageTableOfThisBackend, IsTheTableWindowsWrote) {
  const char* file = std::getenv("VELQUIN_WINDOWS_CODE_PAGE_TABLE");
  if (!file) GTEST_SKIP() << "VELQUIN_WINDOWS_CODE_PAGE_TABLE not set";
  std::ifstream in(file);
  std::vector<std::string> windows;
  for (std::string line; std::getline(in, line);) windows.push_back(line);
  ASSERT_GT(windows.size(), 256u) << file;
  const std::vector<std::string> ours = TableOf(*MakePlatformServices().codePage);
  const auto [theirs, mine] = std::mismatch(windows.begin(), windows.end(), ours.begin(), ours.end());
  EXPECT_EQ(theirs == windows.end() ? "" : *theirs, mine == ours.end() ? "" : *mine)
      << "the first line that differs: Windows', this backend's (b BYTE CHAR, c CHAR BYTE)";
}

}  // namespace
}  // namespace velquin
