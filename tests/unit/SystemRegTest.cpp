#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

#include "ZOVURFolder/ZOVURFolder.h"
#include "posix/WinePrefixRegistry.h"
#include "unit/TempFolder.h"
#include "wine/Prefix.h"
#include "wine/SystemReg.h"
#include "wine/Windows1252.h"

namespace velquin {
namespace {

const char kHandMade[] = R"(WINE REGISTRY Version 2
;; All keys relative to \\Machine

#arch=win32

[Software\\Microsoft\\Windows\\CurrentVersion\\App Paths\\zovur.exe] 1733400000
#time=1db47c3a0e1e3f2
@="C:\\Games\\DF\\zovur.exe"
"Path"="C:\\Games\\D\"F\" \x00e9\x20ac\\"
"Number"=dword:0000002a
"Blob"=hex:de,ad,be,\
  ef
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

  const auto key = reg.keys.find("software\\microsoft\\windows\\currentversion\\app paths\\zovur.exe");
  ASSERT_NE(key, reg.keys.end());
  const RegValues& values = key->second.values;

  EXPECT_EQ(values.at("").text, std::u16string(u"C:\\Games\\DF\\zovur.exe") + u'\0');
  EXPECT_EQ(values.at("number").type, 4u);
  EXPECT_EQ(values.at("number").bytes, (std::vector<std::uint8_t>{0x2a, 0, 0, 0}));
  EXPECT_EQ(values.at("blob").bytes, (std::vector<std::uint8_t>{0xde, 0xad, 0xbe, 0xef}));
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

using WinePrefixRegistryTest = testing::TempFolder;

TEST_F(WinePrefixRegistryTest, AnswersTheLookupAsTheAnsiRegistryCallsWould) {
  Windows1252 cp;
  // Opened as the program opens it, keeping the game's key until system.reg changes.
  WinePrefixRegistry registry(Prefix::Open(folder_, {kGameKeyName}), cp);
  EXPECT_EQ(LookUpGameFolder(registry, cp), "");  // no system.reg at all
  const std::string key =
      "[Software\\\\Microsoft\\\\Windows\\\\CurrentVersion\\\\App Paths\\\\zovur.exe] 1\n";
  const std::string wow =
      "#arch=win64\n[Software\\\\Wow6432Node\\\\Microsoft\\\\Windows\\\\CurrentVersion\\\\App Paths";
  const std::pair<std::string, std::string> cases[] = {
      // The 32-bit view; the Cyrillic letter has no byte in 1252 and comes as "?" like RegQueryValueExA.
      {key + "\"Path\"=\"C:\\\\sixty-four\"\n" + wow +
           "\\\\zovur.exe] 1\n\"Path\"=\"C:\\\\thirty-two \\x0416\"\n",
       "C:\\thirty-two ?"},
      // Wine shares App Paths between the views: its Wow6432Node key is a link to the 64-bit one
      // (which Wine writes in hex(6), as the backend cases over a prefix it made see).
      {key + "\"Path\"=\"C:\\\\shared\"\n" + wow + "] 1\n#link\n" +
           "\"SymbolicLinkValue\"=str(6):"
           "\"\\\\Registry\\\\Machine\\\\Software\\\\Microsoft\\\\Windows\\\\CurrentVersion\\\\App Paths\"\n",
       "C:\\shared"},
      // A link may lead to a key the lookup could not know to ask for.
      {"[Software\\\\Elsewhere\\\\Zovur] 1\n\"Path\"=\"C:\\\\elsewhere\"\n" + wow +
           "\\\\zovur.exe] 1\n#link\n" +
           "\"SymbolicLinkValue\"=str(6):\"\\\\Registry\\\\Machine\\\\Software\\\\Elsewhere\\\\Zovur\"\n",
       "C:\\elsewhere"},
      // Each lone half of a surrogate pair, low or high, inside or last, is one "?".
      {key + "\"Path\"=\"C:\\\\\\xdc00D\\xd800F\\xd800\"\n", "C:\\?D?F?"},
      {key + "\"Path\"=\"C:\\\\DF\\0X\"\n", "C:\\DF"},  // a zero inside ends the text
      {"[Software\\\\Microsoft] 1\n\"Path\"=\"C:\\\\x\"\n", ""},
      // é and € are in the code page; the lookup gives them back as text.
      {kHandMade, "C:\\Games\\D\"F\" \xC3\xA9\xE2\x82\xAC\\"},
  };
  for (const auto& [reg, folder] : cases) {
    Write("system.reg", reg);
    EXPECT_EQ(LookUpGameFolder(registry, cp), folder) << reg;
  }

  // Left with the key in place, which a query after its closing cannot reach.
  RegistryKey opened = 0;
  ASSERT_EQ(registry.OpenKey(kLocalMachine, kGameKeyName, kKeyRead, opened), kRegOk);
  EXPECT_EQ(registry.CloseKey(opened), kRegOk);
  std::uint32_t type = 0, size = 0;
  EXPECT_EQ(registry.QueryValue(opened, "Path", type, nullptr, size), kRegInvalidHandle);
  EXPECT_NE(registry.OpenKey(0x80000001, kGameKeyName, kKeyRead, opened), kRegOk);  // HKCU is not here
}

}  // namespace
}  // namespace velquin
