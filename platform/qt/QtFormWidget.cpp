#include "platform/qt/QtFormWidget.h"

#include <QCloseEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QMouseEvent>
#include <QPainter>
#include <QPushButton>

#include "platform/qt/QtControls.h"
#include "platform/qt/QtTwips.h"

namespace velquin {

namespace {

// A title bar with a close button only; the fixed size keeps the border from resizing.
constexpr Qt::WindowFlags kFormFlags =
    Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint;

}  // namespace

QtFormWidget::QtFormWidget(const FormDesign& design, FormEvents& events)
    : QWidget(nullptr, kFormFlags), design_(design), events_(&events) {
  setMouseTracking(true);
  for (const ControlDesign& control : design_.controls) {
    if (control.kind == ControlKind::Line) lineVisible_[control.id] = true;
  }
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

void QtFormWidget::AddButton(QPushButton& button, const ControlDesign& design) {
  buttons_.push_back({&button, &design});
  const ControlId id = design.id;
  connect(&button, &QPushButton::clicked, this,
          [this, id] { Dispatch([id](FormEvents& e) { e.OnClick(id); }); });
}

void QtFormWidget::SetLineVisible(ControlId line, bool visible) {
  lineVisible_[line] = visible;
  update();
}

bool QtFormWidget::LineVisible(ControlId line) const {
  const auto found = lineVisible_.find(line);
  return found != lineVisible_.end() && found->second;
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

// Lines are drawn on the window itself, in design order, so the grey one lies over the
// white one. Both of ours are horizontal: a band of the line's width below its Y. A line's
// design holds x2 and y2 where other controls hold width and height.
void QtFormWidget::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  for (const ControlDesign& line : design_.controls) {
    if (line.kind != ControlKind::Line || !LineVisible(line.id)) continue;
    const int left = TwipsToPixels(line.left, dpi_);
    const int top = TwipsToPixels(line.top, dpi_);
    const int thickness = TwipsToPixels(line.lineWidthPixels * kTwipsPerDesignPixel, dpi_);
    painter.fillRect(left, top, TwipsToPixels(line.width, dpi_) - left, thickness, ToQColor(line.color));
  }
}

// A child that tracks the mouse and leaves a move unhandled passes it on to here; only moves
// over the bare window count.
void QtFormWidget::mouseMoveEvent(QMouseEvent* event) {
  if (!childAt(event->position().toPoint())) Dispatch([](FormEvents& e) { e.OnMouseMove(kFormBackground); });
}

// Enter and Escape as in a dialog box: the visible default and cancel buttons.
void QtFormWidget::keyPressEvent(QKeyEvent* event) {
  const bool plain = (event->modifiers() & ~Qt::KeypadModifier) == Qt::NoModifier;
  const int key = event->key();
  bool pressed = false;
  if (plain && (key == Qt::Key_Return || key == Qt::Key_Enter))
    pressed = PressButton(&ControlDesign::isDefault);
  if (plain && key == Qt::Key_Escape) pressed = PressButton(&ControlDesign::isCancel);
  if (!pressed) QWidget::keyPressEvent(event);
}

bool QtFormWidget::PressButton(bool ControlDesign::*role) {
  for (const Button& button : buttons_) {
    if (button.design->*role && !button.widget->isHidden() && button.widget->isEnabled()) {
      button.widget->click();
      return true;
    }
  }
  return false;
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
