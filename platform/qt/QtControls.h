#pragma once

#include <QColor>
#include <QFont>
#include <QString>

#include "platform/Ui.h"

class QLabel;
class QWidget;

namespace velquin {

QColor ToQColor(std::uint32_t rgb);  // from 0xRRGGBB

// Stand-ins for a Windows face no Linux desktop has, taken before fontconfig's default.
void PreferNarrowStandIns();

// The font of a design; fontconfig stands in the nearest installed face for one it lacks.
QFont FontOf(const FontDesign& font);

// A label, text box or command button as designed, a child of `form`, placed later;
// nothing for the other kinds.
QWidget* MakeControl(const ControlDesign& control, QWidget* form);

// A label's text, shown with every '&' as typed: a label with a buddy would otherwise take
// '&' as the mark of an access key.
void SetLabelText(QLabel& label, const QString& text);
QString LabelText(const QLabel& label);

// Names `box` for screen readers by the label's caption.
void SetLabelBuddy(QLabel& label, QWidget& box);

}  // namespace velquin
