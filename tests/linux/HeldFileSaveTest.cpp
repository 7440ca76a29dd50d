// The save cases in which a Windows program under Wine holds plyr.sav open, on the Linux
// program's own windows over a real prefix: tests/linux/run_held_file.sh makes the prefix and
// names the holder.
#include <gtest/gtest.h>

#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QProcess>
#include <QTest>
#include <filesystem>
#include <fstream>
#include <iterator>

#include "cases/SaveCases.h"
#include "forms/ProgramWindows.h"
#include "platform/posix/PrefixServices.h"
#include "platform/qt/QtToolkit.h"
#include "unit/FakeToolkit.h"

namespace velquin {
namespace {

template <class T = QWidget>
T* Control(ControlId id) {
  QWidget* main = nullptr;
  for (QWidget* w : QApplication::topLevelWidgets()) {
    if (w->isVisible() && w->windowTitle() == "Velquin for DF:TFD") main = w;
  }
  for (const ControlDesign& c : frmMainDesign::Design().controls) {
    const QString name = QString::fromUtf8(c.name.data(), static_cast<qsizetype>(c.name.size()));
    if (main && c.id == id)
      return main->findChild<T*>(c.index < 0 ? name : QString("%1(%2)").arg(name).arg(c.index));
  }
  return nullptr;
}

TEST(HeldPlayerFile, SavesFailWhileAWindowsProgramHoldsItAndWorkOnceItLetsGo) {
  const char* prefix = std::getenv("VELQUIN_HELD_PREFIX");
  const char* hold = std::getenv("VELQUIN_HOLD_COMMAND");
  if (!prefix || !hold) GTEST_SKIP() << "VELQUIN_HELD_PREFIX and VELQUIN_HOLD_COMMAND not prepared";
  const std::filesystem::path file = std::filesystem::path(prefix) / "drive_c/Games/DF-TFD/plyr.sav";
  for (const cases::SaveCase& c : cases::kSaveCases) {
    if (c.pressesWhileHeld == 0) continue;
    SCOPED_TRACE(c.name);
    const cases::Bytes before = cases::StoredPlayerFile();
    std::ofstream(file, std::ios::binary).write(reinterpret_cast<const char*>(before.data()), before.size());
    QProcess holder;
    holder.start("/bin/sh", {"-c", hold});
    ASSERT_TRUE(holder.waitForReadyRead(60000));
    ASSERT_EQ(holder.readLine().trimmed(), "holding");

    PlatformServices os = MakePrefixServices(prefix);
    QtToolkit toolkit{QIcon()};
    testing::FakeShell shell;
    ProgramWindows windows(toolkit, shell, os);
    ASSERT_TRUE(windows.main.Show());
    for (const auto& [box, text] : c.typed) {
      Control<QLineEdit>(box)->selectAll();
      QTest::keyClicks(Control(box), QString::fromStdString(text));
    }
    for (std::size_t i = 0; i < c.pressed.size(); ++i) {
      if (i == c.pressesWhileHeld) {
        holder.closeWriteChannel();
        ASSERT_TRUE(holder.waitForFinished(60000));
      }
      QTest::mouseClick(Control(c.pressed[i]), Qt::LeftButton);
    }
    EXPECT_EQ(Control(frmMainDesign::StatusBar)->findChild<QLabel*>("Panels(1)")->text().toStdString(),
              c.status);
    cases::Bytes expected = before;
    for (const auto& [offset, bytes] : c.changed) cases::Put(expected, offset, bytes);
    std::ifstream in(file, std::ios::binary);
    EXPECT_EQ(cases::Bytes(std::istreambuf_iterator<char>(in), {}), expected);
    holder.closeWriteChannel();
    holder.waitForFinished(60000);
  }
}

}  // namespace
}  // namespace velquin
