#include "platform/qt/QtWindow.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScreen>

#include "platform/WindowRules.h"
#include "platform/qt/QtControls.h"
#include "platform/qt/QtFormWidget.h"
#include "platform/qt/QtStatusBar.h"
#include "platform/qt/QtText.h"

namespace velquin {

namespace {

bool TakesFocus(ControlKind kind) {
  return kind == ControlKind::TextBox || kind == ControlKind::CommandButton;
}

}  // namespace

void QtWindow::FormWidgetDeleter::operator()(QtFormWidget* form) const {
  form->Detach();
  form->hide();
  if (form->Dispatching()) {
    form->deleteLater();
  } else {
    delete form;
  }
}

QtWindow::QtWindow(const FormDesign& design, FormEvents& events, const QIcon& icon)
    : design_(design), form_(new QtFormWidget(design, events)), clientHeight_(design.clientHeight) {
  dpi_ = form_->screen() ? form_->screen()->logicalDotsPerInch() : 96;
  form_->SetLogicalDpi(dpi_);
  form_->setWindowTitle(FromUtf8(design.caption));
  if (!icon.isNull()) form_->setWindowIcon(icon);
  form_->setFont(FontOf(kWindowFont));
  CreateControls();
  PlaceControls();
}

QtWindow::~QtWindow() = default;

// Made in the order that gives screen readers each box's name; the controls that take the
// focus come in tab order, and so does the focus chain.
void QtWindow::CreateControls() {
  QWidget* previousFocusable = nullptr;
  for (const ControlDesign* control : CreationOrder(design_)) {
    QWidget* widget = nullptr;
    if (control->kind == ControlKind::StatusBar) {
      statusBar_ = new QtStatusBar(design_.panels, form_.get());
      statusBar_->setFont(FontOf(control->font));
      statusBar_->setObjectName(FromUtf8(control->name));
      statusBarDesign_ = control;
      widget = statusBar_;
    } else {
      widget = MakeControl(*control, form_.get());
    }
    if (!widget) continue;
    controls_[control->id] = widget;
    if (auto* label = qobject_cast<QLabel*>(widget)) form_->AddLabel(*label, control->id);
    if (auto* button = qobject_cast<QPushButton*>(widget)) form_->AddButton(*button, control->id);
    if (TakesFocus(control->kind)) {
      if (previousFocusable) QWidget::setTabOrder(previousFocusable, widget);
      previousFocusable = widget;
    }
  }
  for (const ControlDesign& control : design_.controls) {
    if (control.buddy == kNoControl) continue;
    auto* label = qobject_cast<QLabel*>(controls_[control.id]);
    QWidget* box = controls_[control.buddy];
    if (label && box) SetLabelBuddy(*label, *box);
  }
}

int QtWindow::Px(int twips) const {
  return TwipsToPixels(twips, dpi_);
}

QRect QtWindow::PixelRect(const ControlDesign& control) const {
  const velquin::PixelRect r = ControlRect(control, clientHeight_, dpi_);
  return QRect(r.left, r.top, r.right - r.left, r.bottom - r.top);
}

void QtWindow::PlaceControls() {
  for (const ControlDesign& control : design_.controls) {
    const auto widget = controls_.find(control.id);
    if (widget == controls_.end()) continue;
    widget->second->setGeometry(PixelRect(control));
    // A label tall enough for more lines than one wraps its text at word boundaries.
    if (auto* label = qobject_cast<QLabel*>(widget->second)) {
      label->setWordWrap(label->height() >= 2 * label->fontMetrics().lineSpacing());
    }
  }
  PlaceStatusBar();
}

void QtWindow::PlaceStatusBar() {
  const int strip = strip_ ? strip_->sizeHint().height() : 0;
  form_->setFixedSize(Px(design_.clientWidth), Px(clientHeight_) + strip);
  int stripTop = Px(clientHeight_);
  if (statusBar_) {
    const QRect bar = PixelRect(*statusBarDesign_);
    statusBar_->setGeometry(bar.translated(0, strip));
    statusBar_->PlacePanels(dpi_);
    stripTop = bar.top();
  }
  if (strip_) strip_->setGeometry(0, stripTop, Px(design_.clientWidth), strip);
}

void QtWindow::AddStrip(const std::function<QWidget*(QWidget& form)>& make) {
  strip_ = make(*form_);
  if (!strip_) return;
  strip_->show();
  PlaceStatusBar();
}

void QtWindow::Show() {
  form_->show();
  form_->raise();
  form_->activateWindow();
  if (!shownOnce_) FocusFirstControl();
  shownOnce_ = true;
}

void QtWindow::FocusFirstControl() {
  for (const auto& [id, widget] : controls_) {
    if (widget->focusPolicy() != Qt::NoFocus && !widget->isHidden()) return widget->setFocus();
  }
}

// Only the docked status bar moves; every other control keeps its place.
void QtWindow::SetClientHeight(int twips) {
  clientHeight_ = twips;
  PlaceStatusBar();
}

void QtWindow::SetVisible(ControlId control, bool visible) {
  if (form_->IsLine(control)) return form_->SetLineVisible(control, visible);
  if (const auto widget = controls_.find(control); widget != controls_.end())
    widget->second->setVisible(visible);
}

bool QtWindow::IsVisible(ControlId control) const {
  if (form_->IsLine(control)) return form_->LineVisible(control);
  const auto widget = controls_.find(control);
  return widget != controls_.end() && !widget->second->isHidden();
}

std::string QtWindow::Text(ControlId control) const {
  const auto widget = controls_.find(control);
  if (widget == controls_.end()) return {};
  if (const auto* box = qobject_cast<const QLineEdit*>(widget->second)) return ToUtf8(box->text());
  if (const auto* button = qobject_cast<const QPushButton*>(widget->second)) return ToUtf8(button->text());
  if (const auto* label = qobject_cast<const QLabel*>(widget->second)) return ToUtf8(LabelText(*label));
  return {};
}

void QtWindow::SetText(ControlId control, std::string_view text) {
  const auto widget = controls_.find(control);
  if (widget == controls_.end()) return;
  if (auto* box = qobject_cast<QLineEdit*>(widget->second)) box->setText(FromUtf8(text));
  if (auto* button = qobject_cast<QPushButton*>(widget->second)) button->setText(FromUtf8(text));
  if (auto* label = qobject_cast<QLabel*>(widget->second)) SetLabelText(*label, FromUtf8(text));
}

void QtWindow::SetUnderline(ControlId control, bool underline) {
  const auto widget = controls_.find(control);
  if (widget == controls_.end()) return;
  QFont font = widget->second->font();
  font.setUnderline(underline);
  widget->second->setFont(font);
}

void QtWindow::SetPanelText(int panel, std::string_view text) {
  if (statusBar_) statusBar_->SetText(panel, FromUtf8(text));
}

}  // namespace velquin
