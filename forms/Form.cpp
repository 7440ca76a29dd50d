#include "forms/Form.h"

namespace velquin {

Form::Form(Toolkit& toolkit, const FormDesign& design) : toolkit_(toolkit), design_(design) {}

Form::~Form() = default;

void Form::Show() {
  if (!window_) {
    window_ = toolkit_.Create(design_, *this);
    Form_Load();
  }
  window_->Show();
}

void Form::Unload() {
  if (!window_) return;
  Form_Unload();
  // Moved out first: a form shown again from within its own teardown starts afresh.
  std::unique_ptr<Window> closing = std::move(window_);
  closing.reset();
}

}  // namespace velquin
