#include "platform/qt/QtToolkit.h"

#include <QApplication>

#include "platform/qt/QtControls.h"
#include "platform/qt/QtWindow.h"

namespace velquin {

QtToolkit::QtToolkit(QIcon icon) : icon_(std::move(icon)) {
  // The font database needs a GUI application; without one Create makes no window anyway.
  if (qobject_cast<QApplication*>(QCoreApplication::instance())) PreferNarrowStandIns();
}

std::unique_ptr<Window> QtToolkit::Create(const FormDesign& design, FormEvents& events) {
  // Without a QApplication a widget aborts the program instead of failing.
  if (!qobject_cast<QApplication*>(QCoreApplication::instance())) return nullptr;
  auto window = std::make_unique<QtWindow>(design, events, icon_);
  if (makeStrip_ && design.caption == stripCaption_) window->AddStrip(makeStrip_);
  return window;
}

void QtToolkit::AddStrip(std::string caption, StripMaker make) {
  stripCaption_ = std::move(caption);
  makeStrip_ = std::move(make);
}

// Queued: the handler that asks, and the unload it is part of, finish first.
void QtToolkit::Quit() {
  if (!QCoreApplication::instance()) return;
  QMetaObject::invokeMethod(
      QCoreApplication::instance(), [] { QCoreApplication::quit(); }, Qt::QueuedConnection);
}

// A queued call is a posted event: Qt takes it from any thread.
void QtToolkit::Post(std::function<void()> task) {
  QMetaObject::invokeMethod(&tasks_, std::move(task), Qt::QueuedConnection);
}

}  // namespace velquin
