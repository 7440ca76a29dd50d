#include <gtest/gtest.h>

#include <string>
#include <tuple>
#include <vector>

#include "forms/Catalogue.h"

namespace velquin {
namespace {

// The player's languages as the system lists them, most preferred first; the one Velquin speaks.
TEST(Catalogue, TakesThePlayersFirstLanguageItSpeaksElseEnglish) {
  const std::pair<std::vector<std::string>, const char*> rows[] = {
      {{"de-DE", "de"}, "de"},
      {{"de_AT.UTF-8"}, "de"},
      {{"pt-BR"}, "pt_BR"},
      {{"pt_PT"}, "pt_BR"},
      {{"fr_CA@euro"}, "fr"},
      {{"RU-ru"}, "ru"},
      {{"ja-JP", "uk-UA"}, "uk"},
      {{"en-US", "de-DE"}, "en"},
      {{"C"}, "en"},
      {{"POSIX", "el"}, "en"},
      {{"zz", "tr"}, "tr"},
      {{}, "en"},
      {{"cs"}, "cs"},
      {{"es-419"}, "es"},
      {{""}, "en"},
  };
  for (const auto& [preferred, spoken] : rows) {
    std::string list;
    for (const std::string& tag : preferred) list += tag + " ";
    EXPECT_EQ(Catalogue::For(preferred).tag(), spoken) << list;
  }
  EXPECT_EQ(Catalogue::All().size(), 12u);
}

// Values in order, or where a translation moves them; a text without them as it stands.
TEST(Catalogue, FillsItsValuesInOrderOrByNumber) {
  const Catalogue& english = Catalogue::English();
  EXPECT_EQ(english.Format(TextId::lblPlayer, {"3"}), "Character 3");
  EXPECT_EQ(english.Format(TextId::ProblemTooBig, {"2097156", "1048576"}),
            "too big (2097156 bytes, at most 1048576)");
  EXPECT_EQ(english.Format(TextId::NotAGamePrefix, {"/p", "why"}), "/p does not hold DF:TFD: why.");
  EXPECT_EQ(english.Format(TextId::NamesSaved, {}), "Names saved!");
  EXPECT_EQ(english.Format(TextId::ListSkipped, {"100%"}), "Skipped 100%: ");
  const std::tuple<const char*, std::vector<std::string_view>, const char*> fills[] = {
      {"%2$s, dann %1$s", {"eins", "zwei"}, "zwei, dann eins"},
      {"%1$d von %1$d", {"5"}, "5 von 5"},
      {"100%% %s", {"x"}, "100% x"},
      {"%s und %s", {"a"}, "a und "},
      {"am Ende %", {"a"}, "am Ende %"},
      {"%x %5 %0$s", {"a"}, "%x %5 %0$s"},
  };
  for (const auto& [text, values, filled] : fills) EXPECT_EQ(Fill(text, values), filled) << text;
  EXPECT_EQ(english[TextId::frmMain_Caption], "Velquin for DF:TFD");
  // A language keeps the title, and says the rest in its own words.
  const Catalogue& russian = Catalogue::For(std::vector<std::string>{"ru"});
  EXPECT_EQ(russian[TextId::frmMain_Caption], "Velquin for DF:TFD");
  EXPECT_EQ(russian.Format(TextId::lblPlayer, {"2"}), "Персонаж 2");
}

}  // namespace
}  // namespace velquin
