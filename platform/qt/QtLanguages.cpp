#include "platform/qt/QtLanguages.h"

#include <QLocale>

namespace velquin {

std::vector<std::string> PreferredLanguages() {
  std::vector<std::string> tags;
  for (const QString& tag : QLocale::system().uiLanguages()) tags.push_back(tag.toStdString());
  return tags;
}

}  // namespace velquin
