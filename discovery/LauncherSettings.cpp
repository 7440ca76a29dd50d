#include "discovery/LauncherSettings.h"

#include <yaml-cpp/yaml.h>

#include <QByteArray>
#include <QJsonDocument>
#include <QJsonObject>

#include "discovery/LutrisGameConfig.h"

namespace velquin {

std::optional<std::string> BottlesSetting(const std::string& yaml, const std::string& key) {
  try {
    const YAML::Node config = YAML::Load(yaml);
    if (!config.IsMap()) return "";
    const YAML::Node value = config[key];
    if (!value.IsDefined() || !value.IsScalar()) return "";
    return value.Scalar();
  } catch (const YAML::Exception&) {
    return std::nullopt;
  }
}

std::optional<std::vector<std::filesystem::path>> HeroicPrefixes(const std::string& json,
                                                                 const std::filesystem::path& home) {
  QJsonParseError error{};
  const QJsonDocument document =
      QJsonDocument::fromJson(QByteArray(json.data(), static_cast<qsizetype>(json.size())), &error);
  if (error.error != QJsonParseError::NoError) return std::nullopt;
  std::vector<std::filesystem::path> prefixes;
  const QJsonObject top = document.object();
  for (auto member = top.begin(); member != top.end(); ++member) {
    const QJsonObject settings = member.value().toObject();
    const QJsonValue winePrefix = settings.value("winePrefix");
    if (!winePrefix.isString()) continue;
    std::optional<std::filesystem::path> prefix = ConfigPath(winePrefix.toString().toStdString(), home);
    if (!prefix) continue;
    if (settings.value("wineVersion").toObject().value("type").toString() == "proton") *prefix /= "pfx";
    prefixes.push_back(std::move(*prefix));
  }
  return prefixes;
}

}  // namespace velquin
