#pragma once

#include <QWidget>
#include <map>

#include "platform/Ui.h"
#include "platform/WindowRules.h"

class QLabel;
class QPushButton;

namespace velquin {

// The top-level widget of one form: it draws the form's lines and passes what the user does
// on to the form's events, until it is detached from them.
class QtFormWidget final : public QWidget {
 public:
  QtFormWidget(const FormDesign& design, FormEvents& events);

  // From here on nothing reaches the events; a close request is granted.
  void Detach() { events_ = nullptr; }
  // True while one of the form's handlers runs from here: the widget must outlive it.
  bool Dispatching() const { return dispatching_ > 0; }

  void AddLabel(QLabel& label, ControlId id);  // its moves and clicks become the label's
  void AddButton(QPushButton& button, ControlId id);
  void SetLineVisible(ControlId line, bool visible);
  bool IsLine(ControlId id) const { return lines_.Has(id); }
  bool LineVisible(ControlId line) const { return lines_.Shows(line); }
  void SetLogicalDpi(qreal dpi) { dpi_ = dpi; }

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;
  void paintEvent(QPaintEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;
  void closeEvent(QCloseEvent* event) override;

 private:
  template <class Handler>
  void Dispatch(Handler handler);
  QPushButton* KeyButton(bool ControlDesign::*role) const;  // the one Enter or Escape presses

  const FormDesign& design_;
  FormEvents* events_;
  int dispatching_ = 0;
  qreal dpi_ = 96;
  std::map<const QObject*, ControlId> labels_;
  std::map<ControlId, QPushButton*> buttons_;
  SeparatorLines lines_;
};

}  // namespace velquin
