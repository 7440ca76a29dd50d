#include "platform/win32/Win32Toolkit.h"

#include <memory>

#include "platform/win32/WideText.h"
#include "platform/win32/Win32Window.h"

namespace velquin {

namespace {

constexpr wchar_t kFormClass[] = L"VelquinForm";
constexpr wchar_t kTasksClass[] = L"VelquinTasks";
constexpr UINT kRunTask = WM_APP + 1;  // lParam: a std::function<void()> made with new

LRESULT CALLBACK TasksProcedure(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message != kRunTask) return DefWindowProcW(hwnd, message, wParam, lParam);
  const std::unique_ptr<std::function<void()>> task(reinterpret_cast<std::function<void()>*>(lParam));
  (*task)();
  return 0;
}
constexpr int kAppIconId = 1;

// The shell's ANSI call takes its strings in the ANSI code page.
std::string ToAnsi(std::string_view utf8) {
  const std::wstring wide = Widen(utf8);
  if (wide.empty()) return {};
  const int length = WideCharToMultiByte(CP_ACP, 0, wide.data(), static_cast<int>(wide.size()), nullptr, 0,
                                         nullptr, nullptr);
  std::string ansi(static_cast<std::size_t>(length), '\0');
  WideCharToMultiByte(CP_ACP, 0, wide.data(), static_cast<int>(wide.size()), ansi.data(), length, nullptr,
                      nullptr);
  return ansi;
}

}  // namespace

Win32Toolkit::Win32Toolkit(HINSTANCE instance) : instance_(instance) {
  WNDCLASSEXW wc{};
  wc.cbSize = sizeof wc;
  wc.lpfnWndProc = Win32Window::Procedure;
  wc.hInstance = instance;
  wc.hIcon = static_cast<HICON>(LoadImageW(instance, MAKEINTRESOURCEW(kAppIconId), IMAGE_ICON,
                                           GetSystemMetrics(SM_CXICON), GetSystemMetrics(SM_CYICON), 0));
  wc.hIconSm =
      static_cast<HICON>(LoadImageW(instance, MAKEINTRESOURCEW(kAppIconId), IMAGE_ICON,
                                    GetSystemMetrics(SM_CXSMICON), GetSystemMetrics(SM_CYSMICON), 0));
  wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
  wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
  wc.lpszClassName = kFormClass;
  windowClass_ = RegisterClassExW(&wc);

  WNDCLASSEXW tasks{};
  tasks.cbSize = sizeof tasks;
  tasks.lpfnWndProc = TasksProcedure;
  tasks.hInstance = instance;
  tasks.lpszClassName = kTasksClass;
  if (RegisterClassExW(&tasks))
    tasks_ =
        CreateWindowExW(0, kTasksClass, nullptr, 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, instance, nullptr);
}

// Tasks still queued are freed, not run.
Win32Toolkit::~Win32Toolkit() {
  if (!tasks_) return;
  for (MSG msg; PeekMessageW(&msg, tasks_, kRunTask, kRunTask, PM_REMOVE);)
    delete reinterpret_cast<std::function<void()>*>(msg.lParam);
  DestroyWindow(tasks_);
}

void Win32Toolkit::Post(std::function<void()> task) {
  auto owned = std::make_unique<std::function<void()>>(std::move(task));
  if (tasks_ && PostMessageW(tasks_, kRunTask, 0, reinterpret_cast<LPARAM>(owned.get())))
    (void)owned.release();
}

std::unique_ptr<Window> Win32Toolkit::Create(const FormDesign& design, FormEvents& events) {
  if (!windowClass_) return nullptr;
  return Win32Window::Create(instance_, kFormClass, design, events);
}

void Win32Toolkit::Quit() {
  PostQuitMessage(0);
}

int Win32Toolkit::Run() {
  MSG msg;
  while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
    const HWND root = msg.hwnd ? GetAncestor(msg.hwnd, GA_ROOT) : nullptr;
    const bool ours = root && GetClassLongPtrW(root, GCW_ATOM) == windowClass_;
    if (ours && IsDialogMessageW(root, &msg)) continue;
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
  }
  return static_cast<int>(msg.wParam);
}

void Win32Shell::Open(std::string_view file, std::string_view workingDirectory) {
  // shell32 and all it brings are loaded on the first use, not at start-up, where they
  // would double the time to the first window under Wine.
  using ShellExecuteAFn = HINSTANCE(WINAPI*)(HWND, LPCSTR, LPCSTR, LPCSTR, LPCSTR, INT);
  static const HMODULE shell32 = LoadLibraryW(L"shell32.dll");
  const auto shellExecute =
      reinterpret_cast<ShellExecuteAFn>(reinterpret_cast<void*>(GetProcAddress(shell32, "ShellExecuteA")));
  if (!shellExecute) return;
  const std::string ansiFile = ToAnsi(file);
  const std::string ansiDirectory = ToAnsi(workingDirectory);
  // The outcome is not looked at: a missing program or browser shows nothing.
  shellExecute(nullptr, nullptr, ansiFile.c_str(), nullptr, ansiDirectory.c_str(), SW_SHOWNORMAL);
}

}  // namespace velquin
