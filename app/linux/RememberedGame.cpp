#include "app/linux/RememberedGame.h"

#include <QSettings>
#include <system_error>

#include "app/linux/GameChoice.h"
#include "wine/OutsideFile.h"

namespace velquin {

namespace {

constexpr char kPrefixKey[] = "game/prefix";

// Outside bytes, whatever their encoding: a folder name is bytes on Linux.
QString PathOf(const std::filesystem::path& file) {
  return QString::fromLocal8Bit(file.string());
}

}  // namespace

std::filesystem::path SettingsFile(const Environment& environment) {
  const std::filesystem::path config = environment.ConfigHome();
  return config.is_absolute() ? config / "velquin" / "velquin.conf" : std::filesystem::path();
}

RememberedGame ReadRememberedGame(const Environment& environment, const Catalogue& words) {
  const std::filesystem::path file = SettingsFile(environment);
  if (file.empty()) return {};
  const OutsideFile checked = ReadOutsideFile(file, kMaxConfigFileSize);
  if (checked.missing) return {};
  if (!checked.text)
    return {{}, words.Format(TextId::ConfigIgnored, {file.string(), Describe(checked.refusal, words)})};
  const QSettings settings(PathOf(file), QSettings::IniFormat);
  const QByteArray prefix = settings.value(kPrefixKey).toByteArray();
  if (settings.status() != QSettings::NoError || prefix.isEmpty() || prefix.front() != '/')
    return {{}, words.Format(TextId::ConfigIgnored, {file.string(), words[TextId::NotAConfig]})};
  return {prefix.toStdString(), {}};
}

bool RememberGame(const Environment& environment, const std::filesystem::path& prefix) {
  const std::filesystem::path file = SettingsFile(environment);
  if (file.empty()) return false;
  std::error_code error;
  std::filesystem::create_directories(file.parent_path(), error);
  const OutsideFile checked = ReadOutsideFile(file, kMaxConfigFileSize);
  if (!checked.missing && !checked.text) std::filesystem::remove(file, error);
  QSettings settings(PathOf(file), QSettings::IniFormat);
  settings.setValue(kPrefixKey, QByteArray::fromStdString(prefix.string()));
  settings.sync();
  return settings.status() == QSettings::NoError;
}

}  // namespace velquin
