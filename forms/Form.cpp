#include "forms/Form.h"

namespace velquin {

Form::Form(Toolkit& toolkit, const FormDesign& design) : toolkit_(toolkit), design_(design) {}

Form::~Form() = default;

bool Form::Show() {
  if (!window_) {
    window_ = toolkit_.Create(design_, *this);
    if (!window_) return false;
    Form_Load();
  }
  window_->Show();
  return true;
}

void Form::Unload() {
  if (!window_) return;
  Form_Unload();
  // Moved out first: a form shown again from within its own teardown starts afresh.
  std::unique_ptr<Window> closing = std::move(window_);
  closing.reset();
}

}  // namespace velquin
