#pragma once

#include <string>
#include <vector>

namespace velquin {

// Which display Qt can open its windows on, found before a QApplication exists: Qt aborts the
// program with a core dump when none answers, and libwayland prints to stderr on its own.
enum class DisplayReach {
  AsAsked,  // QT_QPA_PLATFORM chooses, or a Wayland compositor answers: Qt as it would start
  X11Only,  // WAYLAND_DISPLAY names a socket nobody listens on, DISPLAY is set: Qt goes to X11
  None,     // neither
};

// Connects to the Wayland socket when there is one: no round trip, so no wait on a compositor.
DisplayReach ProbeDisplay();

// The arguments for QApplication: `argv` as given, plus those that keep Qt off an unreachable
// Wayland display. The strings live in `storage`.
std::vector<char*> QtArguments(int argc, char** argv, DisplayReach reach, std::vector<std::string>& storage);

// While it lives, a fatal message of Qt's (its platform plugin did not start) prints `line` to
// stderr alone and ends the program with status 1; other messages are held and given to the
// handler before it once it goes.
class QtStartGuard {
 public:
  explicit QtStartGuard(const char* line);
  ~QtStartGuard();
  QtStartGuard(const QtStartGuard&) = delete;
  QtStartGuard& operator=(const QtStartGuard&) = delete;
};

}  // namespace velquin
