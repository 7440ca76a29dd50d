#pragma once

#include <QIcon>
#include <QObject>

#include "platform/Ui.h"

namespace velquin {

// Windows made with Qt Widgets. The QApplication exists before the toolkit and runs the one
// event loop; every window carries `icon`.
class QtToolkit final : public Toolkit {
 public:
  explicit QtToolkit(QIcon icon);

  std::unique_ptr<Window> Create(const FormDesign& design, FormEvents& events) override;
  void Quit() override;
  void Post(std::function<void()> task) override;

 private:
  QIcon icon_;
  QObject tasks_;  // lives on the user-interface thread; what is posted to it dies with it
};

}  // namespace velquin
