#pragma once

#include <windows.h>

#include "platform/Ui.h"

namespace velquin {

// Windows made with the Win32 API, and the one event loop of the user-interface thread.
class Win32Toolkit final : public Toolkit {
 public:
  explicit Win32Toolkit(HINSTANCE instance);
  ~Win32Toolkit() override;
  Win32Toolkit(const Win32Toolkit&) = delete;
  Win32Toolkit& operator=(const Win32Toolkit&) = delete;

  bool registered() const { return windowClass_ != 0; }  // the window class exists
  std::unique_ptr<Window> Create(const FormDesign& design, FormEvents& events) override;
  void Quit() override;
  // Posted to a message-only window of the user-interface thread: its messages are
  // dispatched by every message loop, a modal one too, unlike a thread message.
  void Post(std::function<void()> task) override;

  // Runs until Quit; Tab, Enter, Escape and access keys work as in dialog boxes.
  int Run();

 private:
  HINSTANCE instance_;
  ATOM windowClass_ = 0;
  HWND tasks_ = nullptr;
};

class Win32Shell final : public Shell {
 public:
  void Open(std::string_view file, std::string_view workingDirectory) override;
};

}  // namespace velquin
