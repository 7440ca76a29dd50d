// The Character Map on Linux: the first of the desktops' programs found on PATH, started with
// no arguments and left to run.
#include <gtest/gtest.h>

#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include "platform/qt/QtShell.h"

namespace velquin {
namespace {

TEST(QtShell, CharmapStartsTheFirstCharacterMapFoundWithNoArguments) {
  QTemporaryDir bin;
  ASSERT_TRUE(bin.isValid());
  const QString started = bin.filePath(QStringLiteral("started"));
  for (const char* name : {"kcharselect", "gucharmap"}) {  // no gnome-characters here
    QFile program(bin.filePath(QString::fromLatin1(name)));
    ASSERT_TRUE(program.open(QIODevice::WriteOnly));
    program.write(QStringLiteral("#!/bin/sh\necho \"${0##*/} $#\" > '%1.new' && /bin/mv '%1.new' '%1'\n")
                      .arg(started)
                      .toUtf8());
    program.close();
    program.setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
  }
  const QByteArray path = qgetenv("PATH");
  qputenv("PATH", QFile::encodeName(bin.path()));
  QtShell().Open("charmap.exe", "C:\\");
  qputenv("PATH", path);

  QFile report(started);
  for (int i = 0; i < 400 && !report.exists(); ++i) QTest::qWait(25);  // it runs on its own
  ASSERT_TRUE(report.open(QIODevice::ReadOnly));
  EXPECT_EQ(report.readAll(), "gucharmap 0\n");
}

}  // namespace
}  // namespace velquin
