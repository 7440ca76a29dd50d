// Both saves over an in-memory player file, as each failure of the file system leaves it: the
// status message and the file's bytes afterwards, every expectation a literal.
#include <gtest/gtest.h>

#include <algorithm>

#include "core/Saves.h"
#include "platform/posix/Windows1252.h"
#include "support/MemoryFiles.h"

namespace velquin {
namespace {

using namespace std::literals;

struct SaveRow {
  const char* what;
  bool names;                              // Save Names, else Save Macros
  std::optional<std::string> before = {};  // the stored file; nothing when there is none
  std::vector<std::string> texts;          // the first names or macros; the rest are empty
  bool refuseOpen = false;
  int failingWrite = -1;  // 0-based
  bool failClose = false;
  bool diskFull = false;  // no room for a byte past the file's end
  std::string_view message;
  // The file afterwards: the stored one grown with zero bytes to this length, and these bytes
  // at these offsets; nothing when there is no file.
  std::optional<std::size_t> length = {};
  std::vector<std::pair<std::size_t, std::string>> written = {};
};

const std::string kMacroArea(640, 'x');

const SaveRow kRows[] = {
    {.what = "names past a short file's end: each in its field, cut to 15 characters, two zero bytes behind",
     .names = true,
     .before = "xxxxxxxxxxxxxxxxxxxx",
     .texts = {"Ann", "", "Sixteen letters!", "Bo", "Eve"},
     .message = "Names saved!",
     .length = 8449,
     .written = {{12, "Ann\0\0"s},
                 {2120, "\0\0"s},
                 {4228, "Sixteen letters\0\0"s},
                 {6336, "Bo\0\0"s},
                 {8444, "Eve\0\0"s}}},
    {.what = "a refused open writes nothing",
     .names = true,
     .before = "xxxxxxxxxxxxxxxxxxxx",
     .texts = {"Ann"},
     .refuseOpen = true,
     .message = "Can't save names!",
     .length = 20},
    {.what = "a failing third write removes the file the save made",
     .names = true,
     .texts = {"Ann"},
     .failingWrite = 2,
     .message = "Can't save names!"},
    {.what = "a failing second write cuts the file back to its length",
     .names = true,
     .before = "eleven byte",
     .texts = {"Ann"},
     .failingWrite = 1,
     .message = "Can't save names!",
     .length = 11},
    {.what = "a failing second write leaves the first macro, which lay inside the file",
     .names = false,
     .before = kMacroArea,
     .texts = {"F1"},
     .failingWrite = 1,
     .message = "Can't save messages!",
     .length = 640,
     .written = {{228, "F1\0\0"s}}},
    {.what = "a failing close says so, though every name is written",
     .names = true,
     .before = "eleven byte",
     .texts = {"Ann"},
     .failClose = true,
     .message = "Can't save names!",
     .length = 8446,
     .written = {{12, "Ann\0\0"s}, {2120, "\0\0"s}, {4228, "\0\0"s}, {6336, "\0\0"s}, {8444, "\0\0"s}}},
    {.what = "a full disk writes nothing, not even the name that fits",
     .names = true,
     .before = "xxxxxxxxxxxxxxxxxxxx",
     .texts = {"Ann"},
     .diskFull = true,
     .message = "Can't save names!",
     .length = 20},
    {.what = "a full disk with room for every macro: saved, a 39-character one keeping one zero byte",
     .names = false,
     .before = kMacroArea,
     .texts = {"F1", "", "", "", "", "", "", "", "", "***Enemy sniper shooting at our base!**"},
     .diskFull = true,
     .message = "Messages saved!",
     .length = 640,
     .written = {{228, "F1\0\0"s},
                 {268, "\0\0"s},
                 {308, "\0\0"s},
                 {348, "\0\0"s},
                 {388, "\0\0"s},
                 {428, "\0\0"s},
                 {468, "\0\0"s},
                 {508, "\0\0"s},
                 {548, "\0\0"s},
                 {588, "***Enemy sniper shooting at our base!**\0"s}}},
};

TEST(Saves, EachFailureOfTheFileSystemSaysSoAndLeavesTheseBytes) {
  const Windows1252 cp;
  for (const SaveRow& row : kRows) {
    SCOPED_TRACE(row.what);
    testing::MemoryFiles files;
    if (row.before) files.content.emplace(row.before->begin(), row.before->end());
    files.refuseOpen = row.refuseOpen;
    files.failingWrite = row.failingWrite;
    files.failClose = row.failClose;
    files.diskFull = row.diskFull;
    std::array<std::string, kMacroSlots> texts;
    std::copy(row.texts.begin(), row.texts.end(), texts.begin());
    const SaveOutcome outcome =
        row.names ? SaveNames("G:", {texts[0], texts[1], texts[2], texts[3], texts[4]}, files, cp)
                  : SaveMacros("G:", texts, files, cp);
    EXPECT_EQ(outcome.message, row.message);

    ASSERT_EQ(files.content.has_value(), row.length.has_value());
    if (!row.length) continue;
    std::string expected = row.before.value_or("");
    expected.resize(*row.length, '\0');
    for (const auto& [offset, bytes] : row.written) expected.replace(offset, bytes.size(), bytes);
    const std::string got(files.content->begin(), files.content->end());
    const auto differs = std::ranges::mismatch(got, expected).in1;
    EXPECT_EQ(got.size(), expected.size());
    EXPECT_TRUE(differs == got.end())
        << "the first byte that differs is at offset " << (differs - got.begin());
  }
}

}  // namespace
}  // namespace velquin
