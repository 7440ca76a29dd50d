// A Heroic config as it comes: the JSON reader that takes the Wine prefixes from it.
#include <QByteArray>
#include <QJsonDocument>
#include <string>

#include "discovery/LauncherSettings.h"
#include "fuzz/FuzzCheck.h"

using namespace velquin;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string text(reinterpret_cast<const char*>(data), size);
  try {
    const auto prefixes = HeroicPrefixes(text, "/home/player");
    // Broken means not JSON, never a document the reader could not walk.
    QJsonParseError error{};
    QJsonDocument::fromJson(QByteArray(text.data(), static_cast<qsizetype>(text.size())), &error);
    fuzz::Check(!prefixes == (error.error != QJsonParseError::NoError), "JSON and the reader disagree");
    for (const std::filesystem::path& prefix : prefixes.value_or(std::vector<std::filesystem::path>{})) {
      fuzz::Check(prefix.is_absolute(), "a prefix that is not an absolute path");
      fuzz::Check(!prefix.string().starts_with("~"), "a prefix with its ~ not expanded");
    }
  } catch (...) {
    fuzz::Check(false, "an exception escaped the reader");
  }
  return 0;
}
