#include "platform/qt/QtControls.h"

#include <QFontInfo>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <limits>

#include "platform/qt/QtText.h"

namespace velquin {

namespace {

QLabel* MakeLabel(const ControlDesign& control, QWidget* form) {
  auto* label = new QLabel(form);
  label->setTextFormat(Qt::PlainText);
  label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
  label->setFocusPolicy(Qt::NoFocus);
  // Moves without a button pressed reach only widgets that track the mouse.
  label->setMouseTracking(true);
  SetLabelText(*label, FromUtf8(control.caption));
  if (control.color != kDefaultColor) {
    QPalette palette = label->palette();
    palette.setColor(QPalette::WindowText, ToQColor(control.color));
    label->setPalette(palette);
  }
  return label;
}

QLineEdit* MakeTextBox(const ControlDesign& control, QWidget* form) {
  auto* box = new QLineEdit(form);
  // The saves cut what reaches the file; the box itself takes any length.
  box->setMaxLength(std::numeric_limits<int>::max());
  box->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
  box->setText(FromUtf8(control.caption));
  return box;
}

QPushButton* MakeButton(const ControlDesign& control, QWidget* form) {
  auto* button = new QPushButton(FromUtf8(control.caption), form);
  button->setDefault(control.isDefault);
  // As in a dialog box: Enter presses the button that has the focus.
  button->setAutoDefault(true);
  return button;
}

}  // namespace

QColor ToQColor(std::uint32_t rgb) {
  return QColor(static_cast<int>((rgb >> 16) & 0xFF), static_cast<int>((rgb >> 8) & 0xFF),
                static_cast<int>(rgb & 0xFF));
}

// "MS Sans Serif" is a bitmap face of Windows. fontconfig would put its wide default sans in
// its place, which wraps a help window's explanation onto one line more than its label holds
// at some DPIs. Its TrueType successor, else whatever stands in for Arial, keeps the widths
// the layout was made for.
void PreferNarrowStandIns() {
  const QString arialStandIn = QFontInfo(QFont(QStringLiteral("Arial"))).family();
  QFont::insertSubstitutions(QStringLiteral("MS Sans Serif"),
                             {QStringLiteral("Microsoft Sans Serif"), arialStandIn});
}

QFont FontOf(const FontDesign& font) {
  QFont qfont(FromUtf8(font.face));
  qfont.setStyleHint(QFont::SansSerif);
  qfont.setPointSizeF(font.centipoints / 100.0);
  qfont.setBold(font.bold);
  return qfont;
}

QWidget* MakeControl(const ControlDesign& control, QWidget* form) {
  QWidget* widget = nullptr;
  switch (control.kind) {
    case ControlKind::Label:
      widget = MakeLabel(control, form);
      break;
    case ControlKind::TextBox:
      widget = MakeTextBox(control, form);
      break;
    case ControlKind::CommandButton:
      widget = MakeButton(control, form);
      break;
    case ControlKind::Line:
    case ControlKind::StatusBar:
      return nullptr;
  }
  widget->setFont(FontOf(control.font));
  const QString name = FromUtf8(control.name);
  widget->setObjectName(control.index < 0 ? name : QStringLiteral("%1(%2)").arg(name).arg(control.index));
  return widget;
}

void SetLabelText(QLabel& label, const QString& text) {
  label.setText(label.buddy() ? QString(text).replace(u'&', QStringLiteral("&&")) : text);
}

QString LabelText(const QLabel& label) {
  return label.buddy() ? label.text().replace(QStringLiteral("&&"), QStringLiteral("&")) : label.text();
}

void SetLabelBuddy(QLabel& label, QWidget& box) {
  const QString caption = LabelText(label);
  label.setBuddy(&box);
  SetLabelText(label, caption);
  box.setAccessibleName(caption);
}

}  // namespace velquin
