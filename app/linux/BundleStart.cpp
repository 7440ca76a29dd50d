#include "app/linux/BundleStart.h"

#include <dirent.h>
#include <dlfcn.h>
#include <limits.h>
#include <unistd.h>

#include <QCoreApplication>
#include <QDebug>
#include <QString>
#include <QtPlugin>
#include <string>

#include "platform/PosixHandles.h"

namespace velquin {
namespace {

// Makes one plugin known to Qt as if it were linked in. Qt finds a plugin in a folder by its
// canonical path, decoded as UTF-8: under a folder whose name is not UTF-8 that path names no
// file, and no plugin loads. A plugin registered here is looked up by its metadata alone.
void RegisterPlugin(const std::string& path) {
  // Its libraries come from lib/ through the program's own RPATH.
  void* library = dlopen(path.c_str(), RTLD_LAZY | RTLD_LOCAL);
  if (library == nullptr) {
    if (qEnvironmentVariableIsSet("QT_DEBUG_PLUGINS")) qDebug() << "velquin:" << dlerror();
    return;
  }
  const auto instance = reinterpret_cast<QtPluginInstanceFunction>(dlsym(library, "qt_plugin_instance"));
  const auto metaData =
      reinterpret_cast<QtPluginMetaDataFunction>(dlsym(library, "qt_plugin_query_metadata_v2"));
  if (instance == nullptr || metaData == nullptr) {
    dlclose(library);
    return;
  }
  qRegisterStaticPluginFunction(QStaticPlugin(instance, metaData));
}

// Each KIND/NAME.so in the folder, named by its bytes.
void RegisterPlugins(const std::string& plugins) {
  const Directory kinds(opendir(plugins.c_str()));
  if (!kinds.valid()) return;
  while (const dirent* kind = readdir(kinds.get())) {
    if (kind->d_name[0] == '.') continue;
    const std::string folder = plugins + "/" + kind->d_name;
    const Directory files(opendir(folder.c_str()));
    if (!files.valid()) continue;
    while (const dirent* file = readdir(files.get())) {
      const std::string name = file->d_name;
      if (name.size() > 3 && name.ends_with(".so")) RegisterPlugin(folder + "/" + name);
    }
  }
}

}  // namespace

void UseBundledQtPlugins() {
  // The program's path as the kernel's bytes, which Qt would decode.
  char program[PATH_MAX];
  const ssize_t length = readlink("/proc/self/exe", program, sizeof program);
  if (length <= 0 || length == static_cast<ssize_t>(sizeof program)) return;
  std::string folder(program, static_cast<std::size_t>(length));
  folder.erase(folder.rfind('/') + 1);
  if (access((folder + "qt.conf").c_str(), F_OK) != 0) return;
  RegisterPlugins(folder + "plugins");
  // Set before the application exists, this drops the folders Qt would take from
  // QT_PLUGIN_PATH and from its own build: a host's plugins (its platform theme, its xcb
  // plugin) belong to another Qt and may crash this one.
  QCoreApplication::setLibraryPaths({});
  // Qt would add this folder too, for the platform plugin and all that follow.
  qunsetenv("QT_QPA_PLATFORM_PLUGIN_PATH");
}

}  // namespace velquin
