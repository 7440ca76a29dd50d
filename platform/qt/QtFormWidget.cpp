#include "platform/qt/QtFormWidget.h"

#include <QCloseEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QMouseEvent>
#include <QPainter>
#include <QPushButton>

#include "platform/qt/QtControls.h"

namespace velquin {

namespace {

// A title bar with a close button only; the fixed size keeps the border from resizing.
constexpr Qt::WindowFlags kFormFlags =
    Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint;

}  // namespace

QtFormWidget::QtFormWidget(const FormDesign& design, FormEvents& events)
    : QWidget(nullptr, kFormFlags), design_(design), events_(&events), lines_(design) {
  setMouseTracking(true);
}

// The handler may unload the form and so destroy the window: the widget itself stays until
// the event loop deletes it, and this frame touches nothing but the counter afterwards.
template <class Handler>
void QtFormWidget::Dispatch(Handler handler) {
  if (!events_) return;
  ++dispatching_;
  handler(*events_);
  --dispatching_;
}

void QtFormWidget::AddLabel(QLabel& label, ControlId id) {
  labels_[&label] = id;
  label.installEventFilter(this);
}

void QtFormWidget::AddButton(QPushButton& button, ControlId id) {
  buttons_[id] = &button;
  connect(&button, &QPushButton::clicked, this,
          [this, id] { Dispatch([id](FormEvents& e) { e.OnClick(id); }); });
}

void QtFormWidget::SetLineVisible(ControlId line, bool visible) {
  lines_.SetShown(line, visible);
  update();
}

// A label's own mouse events stay with it: a move over any label is not a move over the
// window's background.
bool QtFormWidget::eventFilter(QObject* watched, QEvent* event) {
  const auto label = labels_.find(watched);
  if (label == labels_.end()) return QWidget::eventFilter(watched, event);
  const ControlId id = label->second;
  switch (event->type()) {
    case QEvent::MouseMove:
      Dispatch([id](FormEvents& e) { e.OnMouseMove(id); });
      return true;
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonDblClick:
      return true;
    case QEvent::MouseButtonRelease: {
      const auto* mouse = static_cast<QMouseEvent*>(event);
      const auto* widget = static_cast<QWidget*>(watched);
      if (mouse->button() == Qt::LeftButton && widget->rect().contains(mouse->position().toPoint())) {
        Dispatch([id](FormEvents& e) { e.OnClick(id); });
      }
      return true;
    }
    default:
      return QWidget::eventFilter(watched, event);
  }
}

void QtFormWidget::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  lines_.Draw(dpi_, [&painter](const PixelRect& band, std::uint32_t rgb) {
    painter.fillRect(band.left, band.top, band.right - band.left, band.bottom - band.top, ToQColor(rgb));
  });
}

// A child that tracks the mouse and leaves a move unhandled passes it on to here; only moves
// over the bare window count.
void QtFormWidget::mouseMoveEvent(QMouseEvent* event) {
  if (!childAt(event->position().toPoint())) Dispatch([](FormEvents& e) { e.OnMouseMove(kFormBackground); });
}

// Enter and Escape as in a dialog box.
void QtFormWidget::keyPressEvent(QKeyEvent* event) {
  const bool plain = (event->modifiers() & ~Qt::KeypadModifier) == Qt::NoModifier;
  const int key = event->key();
  QPushButton* pressed = nullptr;
  if (plain && (key == Qt::Key_Return || key == Qt::Key_Enter))
    pressed = KeyButton(&ControlDesign::isDefault);
  if (plain && key == Qt::Key_Escape) pressed = KeyButton(&ControlDesign::isCancel);
  if (pressed) return pressed->click();
  QWidget::keyPressEvent(event);
}

QPushButton* QtFormWidget::KeyButton(bool ControlDesign::*role) const {
  const auto button = buttons_.find(velquin::KeyButton(design_, role, [this](ControlId id) {
    const auto found = buttons_.find(id);
    return found != buttons_.end() && !found->second->isHidden() && found->second->isEnabled();
  }));
  return button == buttons_.end() ? nullptr : button->second;
}

// The form decides: it unloads itself, which detaches it from here, or it stays open.
void QtFormWidget::closeEvent(QCloseEvent* event) {
  Dispatch([](FormEvents& e) { e.OnCloseRequested(); });
  if (events_) {
    event->ignore();
  } else {
    event->accept();
  }
}

}  // namespace velquin
