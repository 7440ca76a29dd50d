// The yardstick for the Linux program's start-up: a Qt Widgets window of the same size with
// one line edit holding text where Velquin's first name box stands, and nothing else.
#include <QApplication>
#include <QLineEdit>
#include <QWidget>

int main(int argc, char** argv) {
  QApplication application(argc, argv);
  QWidget window;
  window.setWindowTitle("Minimal Qt Window");
  window.setFixedSize(289, 203);  // Velquin's closed main window at 96 DPI
  QLineEdit box("Medic", &window);
  box.setGeometry(80, 16, 201, 19);
  window.show();
  return QApplication::exec();
}
