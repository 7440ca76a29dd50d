#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

#include "ZOVURFolder/ZOVURFolder.h"
#include "platform/posix/Windows1252.h"
#include "platform/posix/WinePrefixRegistry.h"
#include "unit/TempFolder.h"
#include "wine/SystemReg.h"

namespace velquin {
namespace {

const char kHandMade[] = R"(WINE REGISTRY Version 2
;; All keys relative to \\Machine

#arch=win32

[Software\\Microsoft\\Windows\\CurrentVersion\\App Paths\\zovur.exe] 1733400000
#time=1db47c3a0e1e3f2
@="C:\\Games\\DF\\zovur.exe"
"Path"="C:\\Games\\D\"F\" \x00e9\x20ac\\"
"Expand"=str(2):"%ProgramFiles%\\DF"
"Number"=dword:0000002a
"Blob"=hex:de,ad,be,\
  ef
"Wide"=hex(1):43,00,3a,00,5c,00,00,00
"Tabs\tName"="a\tb\nc\101"
garbage line that means nothing
"Unclosed="oops

[Software\\Other\]Key] 1733400000
"Path"="elsewhere"

[Software\\Caf\x00e9\\Wanted] 1733400000
)";

TEST(SystemRegTest, ReadsValuesOfEveryFormWithTheirEscapes) {
  std::istringstream in(kHandMade);
  const SystemReg reg = ParseSystemReg(in);

  EXPECT_FALSE(reg.win64);
  const auto key = reg.keys.find("software\\microsoft\\windows\\currentversion\\app paths\\zovur.exe");
  ASSERT_NE(key, reg.keys.end());
  const RegValues& values = key->second.values;

  EXPECT_EQ(values.at("path").type, 1u);
  EXPECT_EQ(values.at("path").text, std::u16string(u"C:\\Games\\D\"F\" \u00e9\u20ac\\") + u'\0');
  EXPECT_EQ(values.at("").text, std::u16string(u"C:\\Games\\DF\\zovur.exe") + u'\0');
  EXPECT_EQ(values.at("expand").type, 2u);
  EXPECT_EQ(values.at("number").type, 4u);
  EXPECT_EQ(values.at("number").bytes, (std::vector<std::uint8_t>{0x2a, 0, 0, 0}));
  EXPECT_EQ(values.at("blob").bytes, (std::vector<std::uint8_t>{0xde, 0xad, 0xbe, 0xef}));
  EXPECT_EQ(values.at("wide").type, 1u);
  EXPECT_EQ(values.at("wide").text, std::u16string(u"C:\\") + u'\0');
  EXPECT_EQ(values.at("tabs\tname").text, std::u16string(u"a\tb\ncA") + u'\0');
  EXPECT_EQ(values.count("unclosed"), 0u);
  EXPECT_EQ(reg.keys.count("software\\other]key"), 1u);
  EXPECT_EQ(reg.keys.count("software\\caf\u00e9\\wanted"), 1u);

  // CRLF line ends, as hand-edited files have them, keep continued values whole.
  std::istringstream crlf("[k]\r\n@=hex:01,\\\r\n  02\r\n\"s\"=\"x\"\r\n");
  const SystemReg fromCrlf = ParseSystemReg(crlf);
  EXPECT_EQ(fromCrlf.keys.at("k").values.at("").bytes, (std::vector<std::uint8_t>{1, 2}));
  EXPECT_EQ(fromCrlf.keys.at("k").values.at("s").text, std::u16string(u"x") + u'\0');
}

class WinePrefixRegistryTest : public testing::TempFolder {
 protected:
  void WriteSystemReg(const std::string& text) { Write("system.reg", text); }
  std::string GameFolder() {
    WinePrefixRegistry registry(folder_, codePage_);
    return LookUpGameFolder(registry, codePage_);
  }
  Windows1252 codePage_;
};

TEST_F(WinePrefixRegistryTest, AnswersTheLookupAsTheAnsiRegistryCallsWould) {
  WriteSystemReg(kHandMade);
  // é and € are in the code page; the lookup gives them back as text.
  EXPECT_EQ(GameFolder(), "C:\\Games\\D\"F\" \xC3\xA9\xE2\x82\xAC\\");

  WinePrefixRegistry registry(folder_, codePage_);
  RegistryKey key = 0;
  ASSERT_EQ(
      registry.OpenKey(kLocalMachine, "software\\MICROSOFT\\windows\\CurrentVersion\\App Paths\\ZOVUR.EXE",
                       kKeyRead, key),
      kRegOk);
  std::uint32_t type = 0;
  std::uint8_t small[2];
  std::uint32_t size = sizeof small;
  EXPECT_EQ(registry.QueryValue(key, "Path", type, small, size), kRegMoreData);
  EXPECT_EQ(registry.CloseKey(key), kRegOk);
  EXPECT_EQ(registry.QueryValue(key, "Path", type, nullptr, size), kRegInvalidHandle);
  EXPECT_NE(registry.OpenKey(0x80000001, kGameKeyName, kKeyRead, key), kRegOk);  // HKCU is not here
}

TEST_F(WinePrefixRegistryTest, ASixtyFourBitPrefixIsReadThroughWow6432Node) {
  WriteSystemReg(
      "WINE REGISTRY Version 2\n#arch=win64\n\n"
      "[Software\\\\Microsoft\\\\Windows\\\\CurrentVersion\\\\App Paths\\\\zovur.exe] 1\n"
      "\"Path\"=\"C:\\\\sixty-four\"\n\n"
      "[Software\\\\Wow6432Node\\\\Microsoft\\\\Windows\\\\CurrentVersion\\\\App Paths\\\\zovur.exe] 1\n"
      "\"Path\"=\"C:\\\\thirty-two \\x0416\"\n");
  // The 32-bit view; the Cyrillic letter has no byte in 1252 and comes as "?" like RegQueryValueExA.
  EXPECT_EQ(GameFolder(), "C:\\thirty-two ?");

  // Wine shares App Paths between the views: its Wow6432Node key is a link to the 64-bit one.
  WriteSystemReg(
      "WINE REGISTRY Version 2\n#arch=win64\n\n"
      "[Software\\\\Microsoft\\\\Windows\\\\CurrentVersion\\\\App Paths\\\\zovur.exe] 1\n"
      "\"Path\"=\"C:\\\\shared\"\n\n"
      "[Software\\\\Wow6432Node\\\\Microsoft\\\\Windows\\\\CurrentVersion\\\\App Paths] 1\n"
      "#link\n"
      "\"SymbolicLinkValue\"=hex(6):5c,00,52,00,45,00,47,00,49,00,53,00,54,00,52,00,59,00,5c,00,4d,00,\\\n"
      "  41,00,43,00,48,00,49,00,4e,00,45,00,5c,00,53,00,6f,00,66,00,74,00,77,00,61,00,72,00,65,00,5c,00,\\\n"
      "  4d,00,69,00,63,00,72,00,6f,00,73,00,6f,00,66,00,74,00,5c,00,57,00,69,00,6e,00,64,00,6f,00,77,00,\\\n"
      "  73,00,5c,00,43,00,75,00,72,00,72,00,65,00,6e,00,74,00,56,00,65,00,72,00,73,00,69,00,6f,00,6e,00,\\\n"
      "  5c,00,41,00,70,00,70,00,20,00,50,00,61,00,74,00,68,00,73,00\n");
  EXPECT_EQ(GameFolder(), "C:\\shared");

  // A link may lead to a key the lookup could not know to ask for.
  WriteSystemReg(
      "WINE REGISTRY Version 2\n#arch=win64\n\n"
      "[Software\\\\Elsewhere\\\\Zovur] 1\n\"Path\"=\"C:\\\\elsewhere\"\n\n"
      "[Software\\\\Wow6432Node\\\\Microsoft\\\\Windows\\\\CurrentVersion\\\\App Paths\\\\zovur.exe] "
      "1\n#link\n"
      "\"SymbolicLinkValue\"=str(6):\"\\\\Registry\\\\Machine\\\\Software\\\\Elsewhere\\\\Zovur\"\n");
  EXPECT_EQ(GameFolder(), "C:\\elsewhere");
}

TEST_F(WinePrefixRegistryTest, ALoneSurrogateIsOneQuestionMarkAndNothingMoreIsLost) {
  const std::string key =
      "[Software\\\\Microsoft\\\\Windows\\\\CurrentVersion\\\\App Paths\\\\zovur.exe] 1\n";
  WriteSystemReg(key + "\"Path\"=\"C:\\\\DF\\xd800\"\n");
  EXPECT_EQ(GameFolder(), "C:\\DF?");
  WriteSystemReg(key + "\"Path\"=\"C:\\\\D\\xd800F\"\n");
  EXPECT_EQ(GameFolder(), "C:\\D?F");
  WriteSystemReg(key + "\"Path\"=\"C:\\\\\\xdc00X\"\n");  // a lone low half
  EXPECT_EQ(GameFolder(), "C:\\?X");
  WriteSystemReg(key + "\"Path\"=\"C:\\\\DF\\0X\"\n");  // a zero inside ends the text
  EXPECT_EQ(GameFolder(), "C:\\DF");
}

TEST_F(WinePrefixRegistryTest, NoFileNoKeyOrNoStringIsTheEmptyFolder) {
  EXPECT_EQ(GameFolder(), "");  // no system.reg at all
  WriteSystemReg("WINE REGISTRY Version 2\n[Software\\\\Microsoft] 1\n\"Path\"=\"C:\\\\x\"\n");
  EXPECT_EQ(GameFolder(), "");
  WriteSystemReg(
      "[Software\\\\Microsoft\\\\Windows\\\\CurrentVersion\\\\App Paths\\\\zovur.exe] 1\n"
      "\"Path\"=str(2):\"%SystemDrive%\\\\DF\"\n");
  EXPECT_EQ(GameFolder(), "");
  WriteSystemReg(
      "[Software\\\\Microsoft\\\\Windows\\\\CurrentVersion\\\\App Paths\\\\zovur.exe] 1\n"
      "\"Path\"=hex(1):\n");
  EXPECT_EQ(GameFolder(), "");
}

}  // namespace
}  // namespace velquin
