// Both saves over an in-memory player file, as each failure of the file system leaves it: the
// outcome and the file's bytes afterwards, every expectation a literal.
#include <gtest/gtest.h>

#include <algorithm>

#include "core/Saves.h"
#include "support/MemoryFiles.h"
#include "wine/Windows1252.h"

namespace velquin {
namespace {

using namespace std::literals;

// Save Names or Save Macros over the stored file (nothing: there is none) with the first texts
// typed (the rest empty) and the fault; whether it saved; the file afterwards: the stored one grown
// with zero bytes to its length, these bytes at these offsets (no length: there is no file).
struct SaveRow {
  const char* what;
  bool names;
  std::optional<std::string> before;
  std::vector<std::string> texts;
  // "refuse open", "read fails", "write N fails" (0-based), "write N half" (stores half its
  // bytes, then fails), "flush fails", "commit fails", "disk full"
  std::string_view fault;
  bool saved;
  std::optional<std::size_t> length;
  std::vector<std::pair<std::size_t, std::string>> written;
};

const std::string kTwenty(20, 'x'), kMacroArea(640, 'x');
// clang-format off
const SaveRow kRows[] = {
    {"names past a short file's end: each in its field, cut to 15 characters, two zero bytes behind",
     true, kTwenty, {"Ann", "", "Sixteen letters!", "Bo", "Eve"}, "", true, 8449,
     {{12, "Ann\0\0"s}, {2120, "\0\0"s}, {4228, "Sixteen letters\0\0"s}, {6336, "Bo\0\0"s}, {8444, "Eve\0\0"s}}},
    {"a refused open writes nothing", true, kTwenty, {"Ann"}, "refuse open", false, 20, {}},
    {"a failing write removes the file the save made",
     true, {}, {"Ann"}, "write 2 fails", false, {}, {}},
    {"a failing write cuts the file back to its length",
     true, "eleven byte", {"Ann"}, "write 1 fails", false, 11, {}},
    {"a failing write puts back the macro written before it",
     false, kMacroArea, {"F1"}, "write 1 fails", false, 640, {}},
    {"a write that stored half its bytes before failing is put back too",
     false, kMacroArea, {"F1", "F2"}, "write 1 half", false, 640, {}},
    {"old bytes that cannot be read: nothing could be put back, so nothing is written",
     true, "eleven byte", {"Ann"}, "read fails", false, 11, {}},
    {"a failing flush puts back every name and the file's length",
     true, "eleven byte", {"Ann"}, "flush fails", false, 11, {}},
    {"a failing commit says so, though every name is written in place",
     true, "eleven byte", {"Ann"}, "commit fails", false, 8446,
     {{12, "Ann\0\0"s}, {2120, "\0\0"s}, {4228, "\0\0"s}, {6336, "\0\0"s}, {8444, "\0\0"s}}},
    {"a full disk writes nothing, not even the name that fits",
     true, kTwenty, {"Ann"}, "disk full", false, 20, {}},
    {"a full disk with room for every macro: saved, a 39-character one keeping one zero byte",
     false, kMacroArea, {"F1", "", "", "", "", "", "", "", "", "***Enemy sniper shooting at our base!**"},
     "disk full", true, 640,
     {{228, "F1\0\0"s}, {268, "\0\0"s}, {308, "\0\0"s}, {348, "\0\0"s}, {388, "\0\0"s}, {428, "\0\0"s},
      {468, "\0\0"s}, {508, "\0\0"s}, {548, "\0\0"s}, {588, "***Enemy sniper shooting at our base!**\0"s}}},
};
// clang-format on

TEST(Saves, EachFailureOfTheFileSystemSaysSoAndLeavesTheseBytes) {
  const Windows1252 cp;
  for (const SaveRow& row : kRows) {
    SCOPED_TRACE(row.what);
    testing::MemoryFiles files;
    if (row.before) files.content.emplace(row.before->begin(), row.before->end());
    files.refuseOpen = row.fault == "refuse open";
    files.failRead = row.fault == "read fails";
    if (row.fault.starts_with("write")) files.failingWrite = row.fault[6] - '0';
    files.halfWrite = row.fault.ends_with("half");
    files.failFlush = row.fault == "flush fails";
    files.failCommit = row.fault == "commit fails";
    files.diskFull = row.fault == "disk full";
    std::array<std::string, kMacroSlots> t;
    std::copy(row.texts.begin(), row.texts.end(), t.begin());
    EXPECT_EQ(row.names ? SaveNames("G:", {t[0], t[1], t[2], t[3], t[4]}, files, cp).saved
                        : SaveMacros("G:", t, files, cp).saved,
              row.saved);

    ASSERT_EQ(files.content.has_value(), row.length.has_value());
    if (!row.length) continue;
    std::string expected = row.before.value_or("");
    expected.resize(*row.length, '\0');
    for (const auto& [offset, bytes] : row.written) expected.replace(offset, bytes.size(), bytes);
    const std::string got(files.content->begin(), files.content->end());
    EXPECT_EQ(got.size(), expected.size());
    const auto differs = std::ranges::mismatch(got, expected).in1;
    EXPECT_TRUE(differs == got.end())
        << "the first byte that differs is at offset " << (differs - got.begin());
  }
}

}  // namespace
}  // namespace velquin
