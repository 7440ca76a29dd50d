#pragma once

#include <QIcon>

#include "platform/Ui.h"

namespace velquin {

// Windows made with Qt Widgets. The QApplication exists before the toolkit and runs the one
// event loop; every window carries `icon`.
class QtToolkit final : public Toolkit {
 public:
  explicit QtToolkit(QIcon icon);

  std::unique_ptr<Window> Create(const FormDesign& design, FormEvents& events) override;
  void Quit() override;

 private:
  QIcon icon_;
};

}  // namespace velquin
