#include <gtest/gtest.h>

#include <cstdlib>
#include <optional>
#include <tuple>

#include "unit/TempFolder.h"
#include "wine/IconvCodePage.h"
#include "wine/LocaleCodePage.h"
#include "wine/Prefix.h"
#include "wine/SingleByteCodePages.h"
#include "wine/Windows1252.h"

namespace velquin {
namespace {

TEST(AnsiCodePagesTest, OnlySingleByteCodePagesGetAConverterAndTheOthersSayWhy) {
  // Their converters are held against Wine's tables (what its Win32 API converts) by the backend cases.
  for (int number : {874, 1250, 1251, 1252, 1253, 1254, 1255, 1256, 1257, 1258})
    EXPECT_EQ(SupportOf(number), CodePageSupport::Converted) << number;
  using enum CodePageSupport;
  for (const auto& [number, support] : {std::pair{932, DoubleByte},
                                        {936, DoubleByte},
                                        {949, DoubleByte},
                                        {950, DoubleByte},
                                        {65001, Utf8},
                                        {437, Unknown},
                                        {0, Unknown},
                                        {-1, Unknown}}) {
    EXPECT_EQ(IconvCodePage::Open(number), nullptr) << number;
    EXPECT_EQ(SupportOf(number), support) << number;
  }
  // Where iconv leaves a byte from 0x80 to 0x9F undefined, Windows reads the C1 control of the
  // same number; the Western code page the program falls back on is the same table.
  const Windows1252 western;
  const auto greek = IconvCodePage::Open(1253);
  using Row = std::tuple<const CodePage*, std::uint8_t, char32_t>;
  for (const auto& [codePage, byte, ch] :
       {Row{&western, 0x80, U'\u20AC'}, Row{&western, 0x81, U'\u0081'}, Row{&western, 0x9F, U'\u0178'},
        Row{greek.get(), 0x9F, U'\u009F'}}) {
    EXPECT_EQ(codePage->ByteToChar(byte), ch) << std::hex << +byte;
    EXPECT_EQ(codePage->CharToByte(ch), byte) << std::hex << +byte;
  }
}

// Sets the three locale variables (nullptr: unset); ctest runs each test in a process of its
// own, so nothing needs putting back.
void SetLocaleVariables(const char* lcAll, const char* lcCtype, const char* lang) {
  for (const auto& [name, value] : {std::pair{"LC_ALL", lcAll}, {"LC_CTYPE", lcCtype}, {"LANG", lang}})
    value ? ::setenv(name, value, 1) : ::unsetenv(name);
}

TEST(LocaleCodePageTest, TheCodePageWineGivesTheUsersLocale) {
  const struct {
    const char* locale;
    int codePage;
  } cases[] = {
      {"pl_PL.UTF-8", 1250}, {"ru_RU.UTF-8", 1251}, {"de_DE.UTF-8@euro", 1252},
      {"el_GR", 1253},       {"tr_TR.UTF-8", 1254}, {"he_IL.UTF-8", 1255},
      {"ar_EG.UTF-8", 1256}, {"lv_LV", 1257},       {"vi_VN", 1258},
      {"th_TH.UTF-8", 874},  {"ja_JP.UTF-8", 932},  {"zh_CN.UTF-8", 936},
      {"zh_TW.UTF-8", 950},  {"zh_HK.UTF-8", 950},  {"ko_KR.EUC-KR", 949},
      {"hi_IN", 65001},      {"sr_RS@latin", 1250}, {"sr_RS", 1252},
      {"be_BY@latin", 1252}, {"C.UTF-8", 1252},     {"", 1252},
  };
  for (const auto& c : cases) EXPECT_EQ(LocaleAnsiCodePage(c.locale), c.codePage) << c.locale;

  SetLocaleVariables("", "pl_PL.UTF-8", "ru_RU.UTF-8");  // an empty LC_ALL is no choice
  EXPECT_EQ(UserLocale(), "pl_PL.UTF-8");
  SetLocaleVariables("el_GR.UTF-8", "pl_PL.UTF-8", "ru_RU.UTF-8");
  EXPECT_EQ(UserLocale(), "el_GR.UTF-8");
}

using PrefixCodePageTest = testing::TempFolder;

TEST_F(PrefixCodePageTest, TheRegistrysCodePageElseTheLocalesElseWestern) {
  SetLocaleVariables("ru_RU.UTF-8", nullptr, nullptr);
  EXPECT_EQ(Prefix::Open(folder_)->ansiCodePage(), 1251);  // no system.reg yet

  // As wineboot writes it: "Codepage", in a 64-bit prefix.
  const std::string key = "#arch=win64\n[System\\\\CurrentControlSet\\\\Control\\\\Nls\\\\Codepage] 1\n";
  Write("system.reg", key + "\"ACP\"=\"1250\"\n\"OEMCP\"=\"852\"\n");
  EXPECT_EQ(Prefix::Open(folder_)->ansiCodePage(), 1250);
  for (const char* unusable :
       {"\"ACP\"=\"\"", "\"ACP\"=\"12a\"", "\"ACP\"=dword:000004e2", "\"ACP\"=\"99999999\""}) {
    Write("system.reg", key + unusable + "\n");
    EXPECT_EQ(Prefix::Open(folder_)->ansiCodePage(), 1251) << unusable;
  }

  // Where CurrentControlSet is a link to ControlSet001, the lookup follows it there.
  Write("system.reg",
        "[System\\\\ControlSet001\\\\Control\\\\Nls\\\\CodePage] 1\n\"ACP\"=\"874\"\n\n"
        "[System\\\\CurrentControlSet] "
        "1\n#link\n\"SymbolicLinkValue\"=str(6):\"\\\\Registry\\\\Machine\\\\System\\\\"
        "ControlSet001\"\n");
  EXPECT_EQ(Prefix::Open(folder_)->ansiCodePage(), 874);
}

}  // namespace
}  // namespace velquin
