// The second yardstick for the Linux program's start-up: Velquin's main window made by hand in
// one function, the way a small Qt tool without any design table or toolkit layer would make
// it. The same 40 controls at the same places (twips at the screen's DPI), the same fonts, the
// window icon, the status bar with its three panels and a clock, the macro panel's controls
// hidden, and the names and macros read from the player file it is given. Nothing else: no
// discovery, no events beyond closing.
// Usage: handmade_qt_window PLYR_SAV ICON_PNG
#include <QApplication>
#include <QDate>
#include <QFile>
#include <QFontInfo>
#include <QIcon>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QPainter>
#include <QPushButton>
#include <QScreen>
#include <QStringDecoder>
#include <QTime>
#include <QTimer>
#include <cmath>

namespace {

// The etched separator across the window, under the macro panel's button.
class Window : public QWidget {
 public:
  int separatorTop = 0, separatorWidth = 0;

 protected:
  void paintEvent(QPaintEvent*) override {
    QPainter painter(this);
    painter.fillRect(0, separatorTop, separatorWidth, 2, Qt::white);
    painter.fillRect(0, separatorTop, separatorWidth, 1, QColor(0x80, 0x80, 0x80));
  }
};

// A text of the file up to its zero byte, in code page 1252.
QString Field(const QByteArray& file, qsizetype offset) {
  if (offset >= file.size()) return {};
  const qsizetype end = file.indexOf('\0', offset);
  const QByteArray bytes = file.mid(offset, (end < 0 ? file.size() : end) - offset);
  QStringDecoder cp1252("windows-1252");
  return cp1252.isValid() ? QString(cp1252(bytes)) : QString::fromLatin1(bytes);
}

}  // namespace

int main(int argc, char** argv) {
  QApplication application(argc, argv);
  if (argc < 3) return 2;
  QFile in(QString::fromLocal8Bit(argv[1]));
  const QByteArray file = in.open(QIODevice::ReadOnly) ? in.readAll() : QByteArray();

  Window window;
  window.setWindowFlags(Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                        Qt::WindowCloseButtonHint);
  window.setWindowTitle("Handmade Qt Window");
  window.setWindowIcon(QIcon(QString::fromLocal8Bit(argv[2])));
  const qreal dpi = window.screen()->logicalDotsPerInch();
  const auto px = [dpi](int twips) { return static_cast<int>(std::lround(twips * dpi / 1440)); };
  const auto place = [&px](QWidget* w, int l, int t, int width, int h) {
    w->setGeometry(px(l), px(t), px(l + width) - px(l), px(t + h) - px(t));
  };
  QFont::insertSubstitutions("MS Sans Serif", {"Microsoft Sans Serif", QFontInfo(QFont("Arial")).family()});
  QFont windowFont("MS Sans Serif"), buttonFont("MS Sans Serif"), boxFont("Arial");
  for (QFont* f : {&windowFont, &buttonFont, &boxFont}) {
    f->setStyleHint(QFont::SansSerif);
    f->setPointSizeF(8.25);
  }
  buttonFont.setBold(true);
  window.setFont(windowFont);

  const auto label = [&](const QString& text, int l, int t, QLineEdit* box, bool visible) {
    auto* w = new QLabel(text, &window);
    w->setFont(windowFont);
    w->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    w->setBuddy(box);
    box->setAccessibleName(text);
    place(w, l, t, 975, 255);
    w->setVisible(visible);
  };
  const auto edit = [&](const QString& text, int t, bool visible) {
    auto* w = new QLineEdit(text, &window);
    w->setFont(boxFont);
    place(w, 1200, t, 3015, 285);
    w->setVisible(visible);
    return w;
  };
  const auto button = [&](const QString& text, int l, int t, int width, bool visible) {
    auto* w = new QPushButton(text, &window);
    w->setFont(buttonFont);
    w->setAutoDefault(true);
    place(w, l, t, width, 315);
    w->setVisible(visible);
  };

  QLineEdit* first = nullptr;
  for (int k = 0; k < 5; ++k) {
    QLineEdit* box = edit(Field(file, 12 + 2108 * k), 240 + 360 * k, true);
    label(QString("Character %1").arg(k + 1), 120, 280 + 360 * k, box, true);
    if (!first) first = box;
  }
  button("Help", 120, 2040, 975, true);
  button("Charmap", 1200, 2040, 1455, true);
  button("Save Names", 2760, 2040, 1455, true);
  button("Macro Editor >>", 2400, 2400, 1815, true);
  const int labelTops[10] = {3060, 3420, 3800, 4160, 4500, 4840, 5200, 5560, 5920, 6280};
  for (int m = 0; m < 10; ++m) {
    QLineEdit* box = edit(Field(file, 228 + 40 * m), 3000 + 360 * m, false);
    label(QString("SHIFT + F%1").arg(m + 1), 120, labelTops[m], box, false);
  }
  button("Help", 120, 6600, 975, false);
  button("Default", 1200, 6600, 1455, false);
  button("Save Macros", 2760, 6600, 1455, false);
  window.separatorTop = px(2880);
  window.separatorWidth = px(4440);

  auto* status = new QFrame(&window);
  status->setFont(windowFont);
  place(status, 0, 3045 - 255, 4335, 255);
  QLabel* panels[3];
  const int edges[4] = {0, 1840, 1840 + 1240, 1840 + 2480};
  for (int i = 0; i < 3; ++i) {
    panels[i] = new QLabel(status);
    panels[i]->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    panels[i]->setIndent(2);
    panels[i]->setGeometry(px(edges[i]), 0, px(edges[i + 1]) - px(edges[i]), status->height());
  }
  const auto tick = [&panels] {
    const QLocale locale = QLocale::system();
    panels[1]->setText(locale.toString(QTime::currentTime(), QLocale::ShortFormat));
    panels[2]->setText(locale.toString(QDate::currentDate(), QLocale::ShortFormat));
  };
  tick();
  QTimer clock;
  QObject::connect(&clock, &QTimer::timeout, tick);
  clock.start(1000);

  window.setFixedSize(px(4335), px(3045));
  window.show();
  first->setFocus();
  return QApplication::exec();
}
