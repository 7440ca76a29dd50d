// Times programs from CreateProcess to their window on screen (and, given a control id, to
// that control holding text), alternating over many rounds (StartupRounds.h).
// Usage: startup_time ROUNDS EXE CAPTION CONTROL_ID [EXE CAPTION CONTROL_ID]...
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "StartupRounds.h"

namespace {

struct Search {
  DWORD processId;
  const wchar_t* caption;
  HWND found;
};

BOOL CALLBACK Match(HWND window, LPARAM context) {
  auto* search = reinterpret_cast<Search*>(context);
  DWORD owner = 0;
  GetWindowThreadProcessId(window, &owner);
  wchar_t caption[256] = {};
  GetWindowTextW(window, caption, 256);
  if (owner == search->processId && IsWindowVisible(window) && wcscmp(caption, search->caption) == 0) {
    search->found = window;
    return FALSE;
  }
  return TRUE;
}

double RunOnce(const std::wstring& exe, const wchar_t* caption, int controlId) {
  LARGE_INTEGER frequency, start, now;
  QueryPerformanceFrequency(&frequency);
  QueryPerformanceCounter(&start);
  STARTUPINFOW startup{};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION process{};
  std::wstring commandLine = L"\"" + exe + L"\"";
  if (!CreateProcessW(exe.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                      &process)) {
    return -1;
  }
  Search search{process.dwProcessId, caption, nullptr};
  bool filled = false;
  for (int spins = 0; spins < 20000 && !filled; ++spins) {
    search.found = nullptr;
    EnumWindows(Match, reinterpret_cast<LPARAM>(&search));
    // A text box keeps its text itself: ask it, across the process boundary.
    filled = search.found && (controlId == 0 ||
                              SendMessageW(GetDlgItem(search.found, controlId), WM_GETTEXTLENGTH, 0, 0) > 0);
    if (!filled) Sleep(1);
  }
  QueryPerformanceCounter(&now);
  if (search.found) PostMessageW(search.found, WM_CLOSE, 0, 0);
  if (WaitForSingleObject(process.hProcess, 5000) != WAIT_OBJECT_0) TerminateProcess(process.hProcess, 1);
  CloseHandle(process.hThread);
  CloseHandle(process.hProcess);
  if (!filled) return -1;
  return 1000.0 * static_cast<double>(now.QuadPart - start.QuadPart) /
         static_cast<double>(frequency.QuadPart);
}

struct Program {
  std::wstring exe;
  const wchar_t* caption;
  int controlId;
  std::vector<double> times;
};

}  // namespace

int wmain(int argc, wchar_t** argv) {
  if (argc < 5 || (argc - 2) % 3 != 0) {
    std::fprintf(stderr, "usage: startup_time ROUNDS EXE CAPTION CONTROL_ID [EXE CAPTION CONTROL_ID]...\n");
    return 2;
  }
  const int rounds = _wtoi(argv[1]);
  std::vector<Program> programs;
  for (int i = 2; i + 2 < argc; i += 3) programs.push_back({argv[i], argv[i + 1], _wtoi(argv[i + 2]), {}});
  return velquin::bench::TimeInRounds(programs, rounds, [](const Program& program) {
    return RunOnce(program.exe, program.caption, program.controlId);
  });
}
