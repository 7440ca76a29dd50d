#pragma once

#include <QIcon>
#include <QObject>
#include <functional>
#include <string>

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

  // Makes the strip of the program's own that the form captioned `caption` carries below its
  // controls and above its status bar, with the form's widget as its parent: parts of a window
  // that only this program has, while the form's design stays as drawn.
  using StripMaker = std::function<QWidget*(QWidget& form)>;
  void AddStrip(std::string caption, StripMaker make);

 private:
  QIcon icon_;
  std::string stripCaption_;
  StripMaker makeStrip_;
  QObject tasks_;  // lives on the user-interface thread; what is posted to it dies with it
};

}  // namespace velquin
