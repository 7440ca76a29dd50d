// Velquin: the main window and its two help windows on the Win32 API.
#include <windows.h>

#include <commctrl.h>

#include <chrono>
#include <cstdlib>
#include <memory>

#include "forms/ProgramWindows.h"
#include "platform/Services.h"
#include "platform/win32/WideText.h"
#include "platform/win32/Win32Languages.h"
#include "platform/win32/Win32Toolkit.h"

// A GUI program has no console to print an uncaught exception's name on. Replacing GCC's
// verbose terminate handler keeps its C++ name demangler (some 45 KB) out of the exe.
namespace __gnu_cxx {
void __verbose_terminate_handler() {
  std::abort();
}
}  // namespace __gnu_cxx

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int) {
  const INITCOMMONCONTROLSEX controls{sizeof(INITCOMMONCONTROLSEX), ICC_BAR_CLASSES | ICC_STANDARD_CLASSES};
  InitCommonControlsEx(&controls);

  const velquin::Catalogue& words = velquin::Catalogue::For(velquin::PreferredLanguages());
  velquin::Win32Toolkit toolkit(instance);
  velquin::Win32Shell shell;
  velquin::ProgramWindows windows(
      toolkit, shell, std::make_shared<velquin::PlatformServices>(velquin::MakePlatformServices()), words);

  if (!toolkit.registered() || !windows.main.Show()) {
    using velquin::TextId;
    MessageBoxW(nullptr, velquin::Widen(words[TextId::NoWindow]).c_str(),
                velquin::Widen(words[TextId::ProgramName]).c_str(), MB_OK | MB_ICONERROR);
    return 1;
  }
  const int status = toolkit.Run();
  // A save still running when the window closed may finish; one that a disk holds longer is
  // left to the system, which ends its thread with the process, before anything it uses goes.
  if (!windows.main.FinishSaves(std::chrono::seconds(10))) ExitProcess(static_cast<UINT>(status));
  return status;
}
