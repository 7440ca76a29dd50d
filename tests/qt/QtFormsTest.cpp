// The three windows on Qt as the user meets them: every control where its twips say at this
// run's screen DPI, the Tab walk, the bytes each save writes, the names screen readers are
// given, and the help windows' link and closing.
#include <gtest/gtest.h>

#include <QAccessible>
#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScreen>
#include <QTest>
#include <QTimer>
#include <cstdlib>

#include "cases/SaveCases.h"
#include "forms/frmHelp.h"
#include "forms/frmHelpM.h"
#include "forms/frmMain.h"
#include "platform/posix/Windows1252.h"
#include "platform/qt/QtToolkit.h"
#include "support/MemoryFiles.h"
#include "unit/FakeRegistry.h"
#include "unit/FakeToolkit.h"

namespace velquin {
namespace {

using namespace frmMainDesign;
using H = HelpDesign;
using Ids = std::vector<ControlId>;
const HelpDesign kHelp(kFrmHelpTexts);  // both help windows have these controls

// Twips in device pixels at this run's screen DPI, whether Qt reports that DPI as its logical
// DPI or as 96 logical DPI times a device-pixel ratio.
double DevicePixels(int twips) {
  const char* dpi = std::getenv("VELQUIN_QT_DPI");
  return twips * (dpi ? std::atof(dpi) : 96) / 1440;
}

QString NameOf(const ControlDesign& c) {
  const QString name = QString::fromUtf8(c.name.data(), static_cast<qsizetype>(c.name.size()));
  return c.index < 0 ? name : QStringLiteral("%1(%2)").arg(name).arg(c.index);
}

const FormDesign& DesignOf(const QWidget* window) {
  return window->windowTitle().toStdString() == Design().caption ? Design() : kHelp.form;
}

template <class T = QWidget>
T* Control(QWidget* window, ControlId id) {
  for (const ControlDesign& c : DesignOf(window).controls) {
    if (c.id == id) return window->findChild<T*>(NameOf(c));
  }
  return nullptr;
}

ControlId IdOf(const QWidget* widget) {
  for (const ControlDesign& c : Design().controls) {
    if (widget && widget->objectName() == NameOf(c)) return c.id;
  }
  return kNoControl;
}

// The windows shown with a caption: a window that was closed is hidden until Qt deletes it.
std::vector<QWidget*> Shown(const char* caption) {
  std::vector<QWidget*> found;
  for (QWidget* w : QApplication::topLevelWidgets()) {
    if (w->isVisible() && w->windowTitle() == QLatin1String(caption)) found.push_back(w);
  }
  return found;
}

// Every control where its twips say, within a device pixel, with its caption whole in it and
// in its font; the status bar and its panels docked to the bottom of the client area.
void ExpectLayout(QWidget* window, int clientHeight) {
  SCOPED_TRACE(window->windowTitle().toStdString() + ", client height " + std::to_string(clientHeight));
  const FormDesign& design = DesignOf(window);
  const qreal ratio = window->devicePixelRatioF();
  ASSERT_DOUBLE_EQ(window->screen()->logicalDotsPerInch() * ratio, DevicePixels(1440));
  const auto expectEdges = [ratio](const QRect& r, int left, int top, int width, int height) {
    EXPECT_NEAR(r.left() * ratio, DevicePixels(left), 1);
    EXPECT_NEAR(r.top() * ratio, DevicePixels(top), 1);
    EXPECT_NEAR((r.left() + r.width()) * ratio, DevicePixels(left + width), 1);
    EXPECT_NEAR((r.top() + r.height()) * ratio, DevicePixels(top + height), 1);
  };
  expectEdges(window->rect(), 0, 0, design.clientWidth, clientHeight);
  EXPECT_EQ(window->minimumSize(), window->maximumSize());  // the user cannot resize it
  EXPECT_EQ(window->windowFlags() & (Qt::WindowMinMaxButtonsHint | Qt::WindowCloseButtonHint),
            Qt::WindowCloseButtonHint);
  for (const ControlDesign& c : design.controls) {
    if (c.kind == ControlKind::Line) continue;
    SCOPED_TRACE(NameOf(c).toStdString());
    QWidget* widget = Control(window, c.id);
    ASSERT_NE(widget, nullptr);
    expectEdges(widget->geometry(), c.left,
                c.kind == ControlKind::StatusBar ? clientHeight - c.height : c.top, c.width, c.height);
    EXPECT_DOUBLE_EQ(widget->font().pointSizeF(), c.font.centipoints / 100.0);
    EXPECT_EQ(widget->font().bold(), c.font.bold);
    if (auto* label = qobject_cast<QLabel*>(widget)) {
      EXPECT_EQ(label->text().toStdString(), c.caption);
      const QRect needed = label->fontMetrics().boundingRect(
          label->rect(), label->wordWrap() ? Qt::TextWordWrap : 0, label->text());
      EXPECT_LE(needed.width(), label->width());
      EXPECT_LE(needed.height(), label->height() + 1);  // fonts round up to whole pixels: a row more
    }
    if (auto* button = qobject_cast<QPushButton*>(widget)) {
      const bool toggled = c.id == cmdME && clientHeight == kOpenClientHeight;
      EXPECT_EQ(button->text().toStdString(), toggled ? kMacroEditorOpen : c.caption);
      EXPECT_LT(button->fontMetrics().horizontalAdvance(button->text().remove(u'&')), button->width());
    }
  }
  for (int i = 0, edge = 0; i < static_cast<int>(design.panels.size()); edge += design.panels[i++].width) {
    auto* panel = window->findChild<QLabel*>(QStringLiteral("Panels(%1)").arg(i + 1));
    ASSERT_NE(panel, nullptr);
    expectEdges(panel->geometry(), edge, 0, design.panels[i].width, 255);
  }
}

std::string AccessibleName(QWidget* widget) {
  QAccessibleInterface* accessible = QAccessible::queryAccessibleInterface(widget);
  return accessible ? accessible->text(QAccessible::Name).toStdString() : "(no accessible object)";
}

class QtForms : public ::testing::Test {
 protected:
  QtForms() {
    registry_->values["Path"] = {kRegString, std::string("C:\\Games\\DF") + '\0'};
    os_.codePage = std::make_unique<Windows1252>();
    os_.registry.reset(registry_);
    os_.files.reset(files_);
  }
  ~QtForms() override { QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete); }

  QWidget* StartMain() {
    files_->content = cases::StoredPlayerFile();
    EXPECT_TRUE(main_.Show());
    const auto shown = Shown("Velquin for DF:TFD");
    return shown.size() == 1 ? shown[0] : nullptr;
  }
  static void Click(QWidget* window, ControlId id) { Control<QPushButton>(window, id)->click(); }

  testing::FakeRegistry* registry_ = new testing::FakeRegistry;
  testing::MemoryFiles* files_ = new testing::MemoryFiles;
  PlatformServices os_;
  QtToolkit toolkit_{QIcon()};
  testing::FakeShell shell_;
  HelpDesign helpMDesign_{kFrmHelpMTexts};
  HelpForm frmHelp_{toolkit_, shell_, kHelp};
  HelpForm frmHelpM_{toolkit_, shell_, helpMDesign_};
  frmMain main_{toolkit_, shell_, os_, frmHelp_, frmHelpM_, [this] { toolkit_.Quit(); }};
};

TEST_F(QtForms, EveryWindowAndControlLiesWhereTheLayoutSays) {
  QWidget* main = StartMain();
  ASSERT_NE(main, nullptr);
  ExpectLayout(main, kClosedClientHeight);
  Click(main, cmdME);
  ExpectLayout(main, kOpenClientHeight);
  // The etched separator: a grey row over a white one, across the window.
  const QImage image = main->grab().toImage();
  const int x = static_cast<int>(DevicePixels(600)), y = static_cast<int>(DevicePixels(2880) + 0.5);
  EXPECT_EQ(image.pixelColor(x, y), QColor(0x80, 0x80, 0x80));
  EXPECT_EQ(image.pixelColor(x, y + static_cast<int>(DevicePixels(30) + 0.5) - 1), QColor(Qt::white));

  Click(main, cmdHelp);
  ASSERT_EQ(Shown("Name Editor - Help").size(), 1u);
  ExpectLayout(Shown("Name Editor - Help")[0], kHelp.form.clientHeight);
}

TEST_F(QtForms, TabWalksTheNameEditorAndThenTheOpenMacroPanel) {
  QWidget* main = StartMain();
  ASSERT_TRUE(QTest::qWaitForWindowActive(main));
  const auto walk = [](std::size_t stops) {  // where the focus is, then after each Tab
    Ids order = {IdOf(QApplication::focusWidget())};
    while (order.size() < stops) {
      QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
      order.push_back(IdOf(QApplication::focusWidget()));
    }
    return order;
  };
  EXPECT_EQ(walk(10), (Ids{0, 1, 2, 3, 4, cmdHelp, cmdCharmap, cmdSave, cmdME, 0}));

  Click(main, cmdME);
  Ids expected = {0, 1, 2, 3, 4, cmdHelp, cmdCharmap, cmdSave, cmdME};
  for (int m = 0; m < 10; ++m) expected.push_back(txtMsg(m));
  expected.insert(expected.end(), {cmdHelpM, cmdDefault, cmdSaveM, 0});
  EXPECT_EQ(walk(expected.size()), expected);
}

TEST_F(QtForms, EachSaveWritesExactlyItsBytesAndSaysSo) {
  const QLocale locale = QLocale::system();
  for (const cases::SaveCase& c : cases::kSaveCases) {
    if (c.pressesWhileHeld > 0) continue;  // a Wine-held file: tests/linux/HeldFileSaveTest.cpp
    SCOPED_TRACE(c.name);
    const QString timeBefore = locale.toString(QTime::currentTime(), QLocale::ShortFormat);
    QWidget* main = StartMain();
    ASSERT_NE(main, nullptr);
    const auto panel = [main](int n) {
      return main->findChild<QLabel*>(QStringLiteral("Panels(%1)").arg(n))->text();
    };
    EXPECT_EQ(panel(1), QString());  // no message before the first save
    EXPECT_TRUE(panel(2) == timeBefore ||
                panel(2) == locale.toString(QTime::currentTime(), QLocale::ShortFormat));
    EXPECT_EQ(panel(3), locale.toString(QDate::currentDate(), QLocale::ShortFormat));
    for (const auto& [box, text] : c.typed) {
      auto* edit = Control<QLineEdit>(main, box);
      edit->selectAll();
      for (const char32_t ch : QString::fromStdString(text).toStdU32String()) {
        QTest::sendKeyEvent(QTest::Click, edit, Qt::Key_unknown, QString::fromUcs4(&ch, 1), Qt::NoModifier);
      }
    }
    for (ControlId button : c.pressed) {
      ASSERT_TRUE(Control(main, button)->isVisible()) << button;
      QTest::mouseClick(Control(main, button), Qt::LeftButton);
    }

    EXPECT_EQ(panel(1).toStdString(), c.status);
    Bytes expected = cases::StoredPlayerFile();
    for (const auto& [offset, bytes] : c.changed) cases::Put(expected, offset, bytes);
    EXPECT_EQ(*files_->content, expected);
    main_.Unload();
  }
}

TEST_F(QtForms, EveryBoxIsNamedByItsLabel) {
  QWidget* main = StartMain();
  for (const ControlDesign& label : Design().controls) {
    if (label.buddy == kNoControl) continue;
    EXPECT_EQ(AccessibleName(Control(main, label.buddy)), label.caption);
  }
  EXPECT_EQ(AccessibleName(Control(main, cmdSave)), "Save Names");
  Click(main, cmdHelp);
  EXPECT_EQ(AccessibleName(Control(Shown("Name Editor - Help").at(0), H::cmdOK)), "OK");
}

TEST_F(QtForms, HelpWindowsOpenOnceUnderlineTheLinkAndCloseWithOkEscapeAndTheMainWindow) {
  QWidget* main = StartMain();
  Click(main, cmdHelp);
  Click(main, cmdHelp);
  ASSERT_EQ(Shown("Name Editor - Help").size(), 1u);
  QWidget* help = Shown("Name Editor - Help")[0];
  auto* link = Control<QLabel>(help, H::lblURL);
  EXPECT_EQ(link->palette().color(QPalette::WindowText), QColor(Qt::blue));
  EXPECT_FALSE(link->font().underline());

  // Moves as the window system delivers them, to whatever lies under the pointer.
  const auto moveOver = [help](QPoint where) { QTest::mouseMove(help->windowHandle(), where); };
  moveOver(link->geometry().center());
  EXPECT_TRUE(link->font().underline());
  moveOver(Control(help, H::lblEx)->geometry().center());
  moveOver(Control(help, H::cmdOK)->geometry().center());
  EXPECT_TRUE(link->font().underline());  // another label or the button is not the background
  moveOver(QPoint(2, 2));
  EXPECT_FALSE(link->font().underline());
  QTest::mouseClick(link, Qt::LeftButton);
  EXPECT_EQ(shell_.opened, std::vector<std::string>{"https://velquin.io in C:\\"});

  QTest::mouseClick(Control(help, H::cmdOK), Qt::LeftButton);
  EXPECT_TRUE(Shown("Name Editor - Help").empty());
  Click(main, cmdME);
  Click(main, cmdHelpM);
  ASSERT_EQ(Shown("Macro Editor - Help").size(), 1u);
  QTest::keyClick(Control(Shown("Macro Editor - Help")[0], H::cmdOK), Qt::Key_Escape);
  EXPECT_TRUE(Shown("Macro Editor - Help").empty());

  // Both open, then the main window's close button closes them with it and ends the loop.
  Click(main, cmdHelp);
  Click(main, cmdHelpM);
  ASSERT_EQ(Shown("Name Editor - Help").size() + Shown("Macro Editor - Help").size(), 2u);
  QGuiApplication::setQuitOnLastWindowClosed(false);  // Quit alone must end it
  QTimer::singleShot(0, main, [main] { main->close(); });
  QTimer hang;  // ends a loop that Quit failed to end
  QObject::connect(&hang, &QTimer::timeout, [] { QCoreApplication::exit(1); });
  hang.start(10000);
  EXPECT_EQ(QApplication::exec(), 0);
  QGuiApplication::setQuitOnLastWindowClosed(true);
  EXPECT_EQ(Shown("Name Editor - Help").size() + Shown("Macro Editor - Help").size(), 0u);
  EXPECT_TRUE(Shown("Velquin for DF:TFD").empty());
}

}  // namespace
}  // namespace velquin
