#include "wine/LocaleCodePage.h"

#include <cstdlib>

namespace velquin {

namespace {

constexpr int kWestern = 1252;

struct CodePageLanguages {
  int codePage;
  std::string_view languages;  // separated by spaces; "@modifier" where the modifier picks the script
};

// The languages whose Windows locales take another code page than 1252, as Wine 8 picks them.
constexpr CodePageLanguages kCodePages[] = {
    {1250, "cs hr hu pl ro sk sl sq tk sr@latin"},
    {1251, "be bg ky mk mn ru sah tg tt uk uz@cyrillic"},
    {1253, "el"},
    {1254, "tr"},
    {1255, "he"},
    {1256, "ar ckb fa ug ur"},
    {1257, "et lt lv"},
    {1258, "vi"},
    {874, "th"},
    {932, "ja"},
    {949, "ko"},
    // Windows writes these in Unicode only; Wine gives their programs UTF-8.
    {65001,
     "am as bn bo chr dv dz gu hi hy ka kk km kn kok lo mi ml mni mr mt my ne or pa ps sa si st syr "
     "ta te ti ts ve"},
};

int LanguageCodePageOf(std::string_view language) {
  for (const CodePageLanguages& entry : kCodePages) {
    std::string_view rest = entry.languages;
    while (!rest.empty()) {
      const std::size_t space = rest.find(' ');
      if (rest.substr(0, space) == language) return entry.codePage;
      rest = space == std::string_view::npos ? "" : rest.substr(space + 1);
    }
  }
  return kWestern;
}

}  // namespace

std::string UserLocale() {
  for (const char* variable : {"LC_ALL", "LC_CTYPE", "LANG"}) {
    const char* value = std::getenv(variable);
    if (value && *value) return value;
  }
  return "";
}

int LocaleAnsiCodePage(std::string_view locale) {
  const std::size_t at = locale.find('@');
  const std::string_view modifier = at == std::string_view::npos ? "" : locale.substr(at + 1);
  const std::string_view name = locale.substr(0, at);
  const std::string_view language = name.substr(0, name.find_first_of("_."));
  const std::size_t underscore = name.find('_');
  std::string_view country = underscore == std::string_view::npos ? "" : name.substr(underscore + 1);
  country = country.substr(0, country.find('.'));

  if (language == "zh") return country == "TW" || country == "HK" || country == "MO" ? 950 : 936;
  // Wine knows a locale with a modifier only where the modifier names a script of its own.
  if (!modifier.empty() && modifier != "euro")
    return LanguageCodePageOf(std::string(language) + "@" + std::string(modifier));
  return LanguageCodePageOf(language);
}

}  // namespace velquin
