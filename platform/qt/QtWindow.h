#pragma once

#include <QIcon>
#include <functional>
#include <map>
#include <memory>

#include "platform/Ui.h"

class QWidget;

namespace velquin {

class QtFormWidget;
class QtStatusBar;

// One form's window on Qt Widgets: a top-level widget of fixed size with the form's controls
// as children, placed from their twips at the screen's logical DPI.
class QtWindow final : public Window {
 public:
  QtWindow(const FormDesign& design, FormEvents& events, const QIcon& icon);
  ~QtWindow() override;
  QtWindow(const QtWindow&) = delete;
  QtWindow& operator=(const QtWindow&) = delete;

  void Show() override;
  void SetClientHeight(int twips) override;
  void SetVisible(ControlId control, bool visible) override;
  bool IsVisible(ControlId control) const override;
  std::string Text(ControlId control) const override;
  void SetText(ControlId control, std::string_view text) override;
  void SetUnderline(ControlId control, bool underline) override;
  void SetPanelText(int panel, std::string_view text) override;

  // A strip of the program's own between the controls and the status bar; it comes last in
  // the tab order, so that the form's own order stays as designed.
  void AddStrip(const std::function<QWidget*(QWidget& form)>& make);

 private:
  // Deletes the widget once no handler of the form runs from it any more.
  struct FormWidgetDeleter {
    void operator()(QtFormWidget* form) const;
  };

  void CreateControls();
  void PlaceControls();
  void PlaceStatusBar();
  QRect PixelRect(const ControlDesign& control) const;
  int Px(int twips) const;
  void FocusFirstControl();

  const FormDesign& design_;
  std::unique_ptr<QtFormWidget, FormWidgetDeleter> form_;
  qreal dpi_;
  int clientHeight_;
  bool shownOnce_ = false;
  std::map<ControlId, QWidget*> controls_;  // children of form_, which owns them
  const ControlDesign* statusBarDesign_ = nullptr;
  QtStatusBar* statusBar_ = nullptr;
  QWidget* strip_ = nullptr;
};

}  // namespace velquin
