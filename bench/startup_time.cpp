// Times a program from CreateProcess to its window on screen (and, given a control id, to
// that control holding text), over several runs; prints the median in milliseconds.
// Usage: startup_time EXE CAPTION [CONTROL_ID] [RUNS]
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

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

}  // namespace

int wmain(int argc, wchar_t** argv) {
  if (argc < 3) {
    std::fprintf(stderr, "usage: startup_time EXE CAPTION [CONTROL_ID] [RUNS]\n");
    return 2;
  }
  const int controlId = argc > 3 ? _wtoi(argv[3]) : 0;
  const int runs = argc > 4 ? _wtoi(argv[4]) : 9;
  std::vector<double> times;
  for (int i = 0; i < runs; ++i) {
    const double ms = RunOnce(argv[1], argv[2], controlId);
    if (ms < 0) {
      std::fprintf(stderr, "run %d: no window\n", i);
      return 1;
    }
    times.push_back(ms);
  }
  std::sort(times.begin(), times.end());
  std::printf("%.1f\n", times[times.size() / 2]);
  return 0;
}
