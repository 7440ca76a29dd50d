#include "platform/qt/QtShell.h"

#include <QDesktopServices>
#include <QProcess>
#include <QStandardPaths>
#include <QUrl>
#include <array>

#include "platform/qt/QtText.h"

namespace velquin {

namespace {

// GNOME's, the older GTK one, KDE's: whichever the desktop has.
constexpr std::array<const char*, 3> kCharacterMaps = {"gnome-characters", "gucharmap", "kcharselect"};

void StartCharacterMap() {
  for (const char* name : kCharacterMaps) {
    const QString program = QStandardPaths::findExecutable(QString::fromLatin1(name));
    if (program.isEmpty()) continue;
    // Detached: it outlives no wait of ours, and a failure to start shows nothing.
    (void)QProcess::startDetached(program, {});
    return;
  }
}

bool IsWebAddress(const QUrl& url) {
  return url.isValid() && (url.scheme() == u"http" || url.scheme() == u"https");
}

}  // namespace

// The working directory names a Windows folder; the programs started here need none.
void QtShell::Open(std::string_view file, std::string_view) {
  const QString target = FromUtf8(file);
  if (target.compare(QStringLiteral("charmap.exe"), Qt::CaseInsensitive) == 0) return StartCharacterMap();
  const QUrl url(target, QUrl::StrictMode);
  if (IsWebAddress(url)) (void)QDesktopServices::openUrl(url);
}

}  // namespace velquin
