#include "platform/qt/QtDisplay.h"

#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

#include <QString>
#include <QtGlobal>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <utility>

namespace velquin {

namespace {

bool Set(const char* name) {
  const char* value = std::getenv(name);
  return value && *value;
}

// WAYLAND_DISPLAY is a socket path, or a name in XDG_RUNTIME_DIR.
bool WaylandAnswers(const char* display) {
  std::string path = display;
  if (path.front() != '/') {
    const char* runtime = std::getenv("XDG_RUNTIME_DIR");
    if (!runtime || !*runtime) return false;
    path = std::string(runtime) + "/" + path;
  }
  sockaddr_un address{};
  address.sun_family = AF_UNIX;
  if (path.size() >= sizeof address.sun_path) return false;
  std::memcpy(address.sun_path, path.c_str(), path.size() + 1);
  const int socket = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0);
  if (socket < 0) return true;  // not known: Qt may try
  const bool answers = connect(socket, reinterpret_cast<const sockaddr*>(&address), sizeof address) == 0 ||
                       errno == EAGAIN || errno == EINPROGRESS;
  close(socket);
  return answers;
}

struct Held {
  QtMsgType type;
  std::string category;
  QString message;
};

const char* guardLine = nullptr;
QtMessageHandler before = nullptr;
std::vector<Held>* held = nullptr;

void Guard(QtMsgType type, const QMessageLogContext& context, const QString& message) {
  if (type == QtFatalMsg) {
    std::fputs(guardLine, stderr);
    std::fflush(stderr);
    _exit(1);
  }
  held->push_back({type, context.category ? context.category : "", message});
}

}  // namespace

DisplayReach ProbeDisplay() {
  if (Set("QT_QPA_PLATFORM")) return DisplayReach::AsAsked;
  const char* wayland = std::getenv("WAYLAND_DISPLAY");
  if (wayland && *wayland && WaylandAnswers(wayland)) return DisplayReach::AsAsked;
  if (Set("DISPLAY")) return wayland && *wayland ? DisplayReach::X11Only : DisplayReach::AsAsked;
  return DisplayReach::None;
}

std::vector<char*> QtArguments(int argc, char** argv, DisplayReach reach, std::vector<std::string>& storage) {
  std::vector<char*> arguments(argv, argv + argc);
  if (reach == DisplayReach::X11Only) {
    storage = {"-platform", "xcb"};
    arguments.insert(arguments.begin() + (argc > 0 ? 1 : 0), {storage[0].data(), storage[1].data()});
  }
  arguments.push_back(nullptr);
  return arguments;
}

QtStartGuard::QtStartGuard(const char* line) {
  guardLine = line;
  held = new std::vector<Held>;
  before = qInstallMessageHandler(Guard);
}

QtStartGuard::~QtStartGuard() {
  qInstallMessageHandler(before);
  for (const Held& h : *held) {
    const QMessageLogContext context(nullptr, 0, nullptr, h.category.c_str());
    if (before) {
      before(h.type, context, h.message);
    } else {
      std::fprintf(stderr, "%s\n", qUtf8Printable(qFormatLogMessage(h.type, context, h.message)));
    }
  }
  delete std::exchange(held, nullptr);
}

}  // namespace velquin
