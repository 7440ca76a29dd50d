// Times X11 programs from their start to their window on screen with text drawn in a given
// rectangle (a dark pixel there), alternating over many rounds (StartupRounds.h). Runs with no
// window manager (Xvfb): top-level windows are then the root window's own children.
// Usage: x11_startup_time ROUNDS [CAPTION X Y WIDTH HEIGHT COMMAND]...
#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "StartupRounds.h"

namespace {

struct Program {
  std::string caption;
  int x, y, width, height;  // where its first text must appear, in window pixels
  std::string command;
  std::vector<double> times;
};

// A window not yet viewable answers XGetImage with BadMatch: that only means "not yet".
int IgnoreErrors(Display*, XErrorEvent*) {
  return 0;
}

std::string Title(Display* display, Window window) {
  const Atom netName = XInternAtom(display, "_NET_WM_NAME", False);
  const Atom utf8 = XInternAtom(display, "UTF8_STRING", False);
  Atom type = None;
  int format = 0;
  unsigned long count = 0, after = 0;
  unsigned char* data = nullptr;
  std::string title;
  if (XGetWindowProperty(display, window, netName, 0, 256, False, utf8, &type, &format, &count, &after,
                         &data) == Success &&
      data) {
    title.assign(reinterpret_cast<char*>(data), count);
  }
  if (data) XFree(data);
  return title;
}

bool TextDrawn(Display* display, Window window, const Program& program) {
  XImage* image =
      XGetImage(display, window, program.x, program.y, program.width, program.height, AllPlanes, ZPixmap);
  if (!image) return false;
  bool dark = false;
  for (int y = 0; y < program.height && !dark; ++y) {
    for (int x = 0; x < program.width && !dark; ++x) {
      const unsigned long pixel = XGetPixel(image, x, y);
      dark = ((pixel >> 16) & 0xFF) < 0x80 && ((pixel >> 8) & 0xFF) < 0x80 && (pixel & 0xFF) < 0x80;
    }
  }
  XDestroyImage(image);
  return dark;
}

// Milliseconds to the drawn window, or -1 when it did not come within ten seconds.
double RunOnce(Display* display, const Program& program) {
  const Window root = DefaultRootWindow(display);
  XSync(display, True);  // events of earlier runs are dropped
  const auto start = std::chrono::steady_clock::now();
  const pid_t child = fork();
  if (child == 0) {
    execl("/bin/sh", "sh", "-c", program.command.c_str(), static_cast<char*>(nullptr));
    _exit(127);
  }
  std::vector<Window> mapped;
  double elapsed = -1;
  while (std::chrono::steady_clock::now() - start < std::chrono::seconds(10)) {
    while (XPending(display)) {
      XEvent event;
      XNextEvent(display, &event);
      if (event.type == MapNotify && event.xmap.event == root) mapped.push_back(event.xmap.window);
    }
    const bool drawn = std::any_of(mapped.begin(), mapped.end(), [&](Window window) {
      return Title(display, window) == program.caption && TextDrawn(display, window, program);
    });
    if (drawn) {
      elapsed = std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
      break;
    }
    if (waitpid(child, nullptr, WNOHANG) == child) return -1;  // ended without its window
    usleep(500);
  }
  kill(child, SIGTERM);
  waitpid(child, nullptr, 0);
  return elapsed;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 8 || (argc - 2) % 6 != 0) {
    std::fprintf(stderr, "usage: %s ROUNDS [CAPTION X Y WIDTH HEIGHT COMMAND]...\n", argv[0]);
    return 2;
  }
  Display* display = XOpenDisplay(nullptr);
  if (!display) {
    std::fprintf(stderr, "no X display\n");
    return 1;
  }
  XSetErrorHandler(IgnoreErrors);
  XSelectInput(display, DefaultRootWindow(display), SubstructureNotifyMask);
  const int rounds = std::atoi(argv[1]);
  std::vector<Program> programs;
  for (int i = 2; i + 5 < argc; i += 6) {
    programs.push_back({argv[i],
                        std::atoi(argv[i + 1]),
                        std::atoi(argv[i + 2]),
                        std::atoi(argv[i + 3]),
                        std::atoi(argv[i + 4]),
                        argv[i + 5],
                        {}});
  }
  const int status = velquin::bench::TimeInRounds(
      programs, rounds, [display](const Program& program) { return RunOnce(display, program); });
  XCloseDisplay(display);
  return status;
}
