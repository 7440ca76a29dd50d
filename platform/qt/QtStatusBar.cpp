#include "platform/qt/QtStatusBar.h"

#include <QDate>
#include <QLabel>
#include <QLocale>
#include <QTime>

namespace velquin {

namespace {

// The user's short date, or the short time.
QString Clock(PanelKind kind) {
  const QLocale locale = QLocale::system();
  return kind == PanelKind::Date ? locale.toString(QDate::currentDate(), QLocale::ShortFormat)
                                 : locale.toString(QTime::currentTime(), QLocale::ShortFormat);
}

}  // namespace

QtStatusBar::QtStatusBar(std::span<const StatusPanelDesign> panels, QWidget* form)
    : QFrame(form), design_(panels), clockPanels_(panels) {
  setFocusPolicy(Qt::NoFocus);
  for (std::size_t i = 0; i < design_.size(); ++i) {
    auto* panel = new QLabel(this);
    panel->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    panel->setTextFormat(Qt::PlainText);
    panel->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    panel->setIndent(2);
    panel->setObjectName(QStringLiteral("Panels(%1)").arg(i + 1));
    panels_.push_back(panel);
  }
  UpdateClock();
  connect(&clock_, &QTimer::timeout, this, [this] { UpdateClock(); });
  clock_.start(kClockPeriodMs);
}

void QtStatusBar::PlacePanels(qreal logicalDpi) {
  const std::vector<int> edges = PanelEdges(design_, logicalDpi);
  for (std::size_t i = 0, left = 0; i < panels_.size(); left = edges[i++]) {
    panels_[i]->setGeometry(static_cast<int>(left), 0, edges[i] - static_cast<int>(left), height());
  }
}

void QtStatusBar::SetText(int panel, const QString& text) {
  if (panel >= 1 && panel <= static_cast<int>(panels_.size())) panels_[panel - 1]->setText(text);
}

void QtStatusBar::UpdateClock() {
  clockPanels_.Update(Clock, [this](std::size_t i, const QString& text) { panels_[i]->setText(text); });
}

}  // namespace velquin
