// Holds a file open the way the game holds its player file, writable and shared with nobody,
// from before it makes a second file until its standard input ends. Run under Wine.
#include <windows.h>

#include <cstdio>

int wmain(int argc, wchar_t** argv) {
  if (argc != 3) return 2;
  const HANDLE file =
      CreateFileW(argv[1], GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, nullptr);
  if (file == INVALID_HANDLE_VALUE) return 1;
  CloseHandle(CreateFileW(argv[2], GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr));
  while (std::getchar() != EOF) continue;
  return CloseHandle(file) ? 0 : 1;
}
