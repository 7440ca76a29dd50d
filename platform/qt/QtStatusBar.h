#pragma once

#include <QFrame>
#include <QTimer>
#include <span>
#include <vector>

#include "platform/Ui.h"
#include "platform/WindowRules.h"

class QLabel;

namespace velquin {

// A status bar of sunken panels by the design: the text panel the system writes to, and the
// time and date panels that keep themselves current.
class QtStatusBar final : public QFrame {
 public:
  QtStatusBar(std::span<const StatusPanelDesign> panels, QWidget* form);

  void PlacePanels(qreal logicalDpi);            // panel widths at a DPI, the bar's height
  void SetText(int panel, const QString& text);  // panel 1 is the first

 private:
  void UpdateClock();  // sets only a changed time or date

  std::span<const StatusPanelDesign> design_;
  std::vector<QLabel*> panels_;
  ClockPanels<QString> clockPanels_;
  QTimer clock_;
};

}  // namespace velquin
