// One QApplication for every Qt suite in the process, on the offscreen platform unless the
// environment names another: no test window ever appears on a desktop.
//   --test-screen=DPI        the screen reports DPI as its logical DPI
//   --test-screen=DPI/ratio  Qt makes it 96 logical DPI times a device-pixel ratio, as on
//                            a high-DPI desktop
// The tests read the DPI back from VELQUIN_QT_DPI.
#include <gtest/gtest.h>

#include <QApplication>
#include <cstring>

int main(int argc, char** argv) {
  if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  for (int i = 1; i < argc; ++i) {
    if (std::strncmp(argv[i], "--test-screen=", 14) != 0) continue;
    const QByteArray screen(argv[i] + 14);
    const QByteArray dpi = screen.split('/').front();
    qputenv("VELQUIN_QT_DPI", dpi);
    qputenv("QT_FONT_DPI", dpi);
    if (!screen.endsWith("/ratio")) qputenv("QT_ENABLE_HIGHDPI_SCALING", "0");
  }
  QApplication application(argc, argv);
  ::testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
