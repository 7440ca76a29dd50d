#pragma once

#include <memory>

#include "platform/Ui.h"

namespace velquin {

// A window that exists at most once: loaded by Show, destroyed by Unload, and made afresh
// from its design when shown again.
class Form : public FormEvents {
 public:
  Form(Toolkit& toolkit, const FormDesign& design);
  ~Form() override;
  Form(const Form&) = delete;
  Form& operator=(const Form&) = delete;

  // Loads the window (its Form_Load runs before it is first seen) unless it is loaded, then
  // shows it and makes it active. False when the system could not make the window.
  bool Show();
  // Runs Form_Unload and destroys the window; does nothing when it is not loaded.
  void Unload();

  void OnCloseRequested() override { Unload(); }

 protected:
  Window& window() { return *window_; }
  bool Loaded() const { return window_ != nullptr; }
  virtual void Form_Load() {}
  virtual void Form_Unload() {}

 private:
  Toolkit& toolkit_;
  const FormDesign& design_;
  std::unique_ptr<Window> window_;
};

}  // namespace velquin
