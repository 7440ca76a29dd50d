// The three windows on Qt, in-process and offscreen, driven as the user would: the shared
// scenarios and save cases, then what only an in-process run can see (the shell's requests,
// a toolkit that cannot make a window, the files read).
#include <gtest/gtest.h>

#include <QAccessible>
#include <QApplication>
#include <QComboBox>
#include <QFontMetricsF>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPointer>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <algorithm>
#include <chrono>
#include <condition_variable>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <mutex>
#include <optional>
#include <tuple>
#include <utility>

#include "app/linux/GamePicker.h"
#include "app/linux/RememberedGame.h"
#include "cases/Scenarios.h"
#include "forms/ProgramWindows.h"
#include "platform/qt/QtControls.h"
#include "platform/qt/QtToolkit.h"
#include "posix/PrefixServices.h"
#include "support/MemoryFiles.h"
#include "unit/FakeRegistry.h"
#include "unit/TempFolder.h"
#include "wine/Prefix.h"
#include "wine/Windows1252.h"

namespace velquin {
namespace {

using namespace std::literals;

// Qt's windows, failing to make one on request as a system out of resources would.
class TestToolkit final : public Toolkit {
 public:
  std::unique_ptr<Window> Create(const FormDesign& design, FormEvents& events) override {
    return fail ? nullptr : qt.Create(design, events);
  }
  void Quit() override { qt.Quit(); }
  void Post(std::function<void()> task) override { qt.Post(std::move(task)); }
  QtToolkit qt{QIcon()};
  bool fail = false;
};

class RecordingShell final : public Shell {
 public:
  void Open(std::string_view file, std::string_view directory) override {
    opened.push_back(std::string(file) + " in " + std::string(directory));
  }
  std::vector<std::string> opened;
};

// The driver of the shared scenarios.
class QtApp {
 public:
  QtApp() {
    os.codePage = std::make_unique<Windows1252>();
    os.registry.reset(registry);
    os.files.reset(files);
  }
  ~QtApp() { Stop(); }

  bool CanHold() const { return false; }  // memory files: nobody else can hold them
  void Hold(bool) {}
  void Store(const Bytes& bytes) { files->content = bytes; }
  Bytes File() const { return files->content.value_or(Bytes{}); }
  void PointGameAt(bool game) { registry->path = game ? std::optional("C:\\Games\\DF\0"s) : std::nullopt; }
  // `searching`: the window comes before the search for the game has ended.
  bool Start(bool searching = false) {
    windows_.emplace(toolkit, shell, searching ? nullptr : Services(), *words);
    return windows_->main.Show() && QTest::qWaitForWindowActive(Window(cases::kMain));
  }
  void SearchEnded(std::string_view refusal, const std::vector<std::string>& notAnswering) {
    windows_->main.SearchEnded(Services(), refusal, notAnswering);
  }
  bool FinishSaves(std::chrono::milliseconds bound) { return windows_->main.FinishSaves(bound); }
  void Stop() {
    if (windows_) {
      EXPECT_TRUE(windows_->main.FinishSaves(std::chrono::seconds(10)));
    }
    windows_.reset();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
  }

  void Type(const char* window, ControlId id, const std::string& text) {
    auto* box = qobject_cast<QLineEdit*>(Control(window, id));
    box->selectAll();
    for (const char32_t ch : QString::fromStdString(text).toStdU32String())
      QTest::sendKeyEvent(QTest::Click, box, Qt::Key_unknown, QString::fromUcs4(&ch, 1), Qt::NoModifier);
  }
  void Press(const char* window, ControlId id) { QTest::mouseClick(Control(window, id), Qt::LeftButton); }
  void Key(const char* window, const std::string& key) {
    const Qt::Key code = key == "Tab" ? Qt::Key_Tab : key == "Enter" ? Qt::Key_Return : Qt::Key_Escape;
    QWidget* shown = Window(window);
    QTest::keyClick(shown->focusWidget() ? shown->focusWidget() : shown, code);
  }
  // Moves as the window system delivers them, to whatever lies under the pointer.
  void Hover(const char* window, ControlId id) {
    QWidget* over = id == kFormBackground ? nullptr : Control(window, id);
    QTest::mouseMove(Window(window)->windowHandle(), over ? over->geometry().center() : QPoint(2, 2));
  }
  void Activate(const char* window) {
    Window(window)->activateWindow();
    (void)QTest::qWaitForWindowActive(Window(window));
  }
  // The main window's close button must end the event loop by itself.
  bool Close(const char* window) {
    QWidget* shown = Window(window);
    QTimer::singleShot(0, shown, [shown] { shown->close(); });
    if (window != std::string(cases::kMain)) return QTest::qWait(50), true;
    QGuiApplication::setQuitOnLastWindowClosed(false);
    const QObject hang;  // a timer that goes with it: a close that ends no loop fails, not hangs
    QTimer::singleShot(10000, &hang, [] { QCoreApplication::exit(1); });
    const int exit = QApplication::exec();
    QGuiApplication::setQuitOnLastWindowClosed(true);
    return exit == 0;
  }

  std::string Text(const char* window, ControlId id) {
    QWidget* control = Control(window, id);
    if (id == frmMainDesign::StatusBar) control = control->findChild<QLabel*>(QStringLiteral("Panels(1)"));
    return control ? control->property("text").toString().toStdString() : "(no control)";
  }
  bool Visible(const char* window, ControlId id) {
    const auto line = cases::LineAt(window, id, Dpi(window));
    if (!line) return !Control(window, id)->isHidden();
    return Window(window)->grab().toImage().pixelColor(line->x, line->y).rgb() == (0xFF000000 | line->rgb);
  }
  bool Underlined(const char* window, ControlId id) { return Control(window, id)->font().underline(); }
  ControlId Focus(const char* window) {
    QWidget* focus = QApplication::focusWidget();
    for (const ControlDesign& c : cases::DesignOf(window).controls) {
      if (focus && focus == Control(window, c.id)) return c.id;
    }
    return kNoControl;
  }
  std::string Name(const char* window, ControlId id) {
    QAccessibleInterface* accessible = QAccessible::queryAccessibleInterface(Control(window, id));
    return accessible ? accessible->text(QAccessible::Name).toStdString() : "(no accessible object)";
  }
  int Windows(const char* caption) {
    const auto shown = [caption](QWidget* w) { return w->isVisible() && w->windowTitle() == caption; };
    return static_cast<int>(std::ranges::count_if(QApplication::topLevelWidgets(), shown));
  }
  bool Active(const char* window) { return QApplication::activeWindow() == Window(window); }
  // In device pixels, whether Qt reports the DPI as its logical DPI or as 96 times a ratio.
  PixelRect Rect(const char* window, ControlId id) {
    const QRect r = id == kFormBackground ? Window(window)->rect() : Control(window, id)->geometry();
    const auto px = [k = Window(window)->devicePixelRatioF()](int v) { return static_cast<int>(v * k); };
    return {px(r.left()), px(r.top()), px(r.left() + r.width()), px(r.top() + r.height())};
  }
  double Dpi(const char*) { return std::atof(std::getenv("VELQUIN_QT_DPI")); }
  void Screenshot(const char*, const std::string&) {}
  bool UseLanguage(const std::string& language) {
    words = language.empty() ? &Catalogue::English() : &Catalogue::For(std::vector{language});
    return true;
  }
  void Wait() { QTest::qWait(25); }

  const Catalogue* words = &Catalogue::English();
  testing::FakeRegistry* registry = new testing::FakeRegistry;
  testing::MemoryFiles* files = new testing::MemoryFiles;
  PlatformServices os;
  TestToolkit toolkit;
  RecordingShell shell;

  // Owned here: the app's services outlive its windows.
  std::shared_ptr<PlatformServices> Services() { return {std::shared_ptr<void>(), &os}; }

  QWidget* Window(const char* caption) {
    for (QWidget* w : QApplication::topLevelWidgets()) {
      if (w->isVisible() && w->windowTitle() == caption) return w;
    }
    ADD_FAILURE() << "no window " << caption;
    return nullptr;
  }
  QWidget* Control(const char* window, ControlId id) {
    for (const ControlDesign& c : cases::DesignOf(window).controls) {
      const QString name = QString::fromUtf8(c.name.data(), static_cast<qsizetype>(c.name.size()));
      if (c.id == id && Window(window))
        return Window(window)->findChild<QWidget*>(
            c.index < 0 ? name : QStringLiteral("%1(%2)").arg(name).arg(c.index));
    }
    return nullptr;
  }

 private:
  std::optional<ProgramWindows> windows_;
};

TEST(QtForms, ScenariosAndEachSaveWritesExactlyItsBytesAndSaysSo) {
  QtApp app;
  cases::RunScenarios(app);
  EXPECT_EQ(cases::RunLanguageScenarios(app), 2);
  cases::RunSaveCases(app);
}

// Over a Wine prefix whose plyr.sav a holder holds open when asked: tests/linux/run_held_file.sh
// makes both. The holder makes "held" once it holds the file and lets go when its standard
// input ends. A holder of another file only (VELQUIN_HOLD_ELSEWHERE) holds it all along, and
// every save must go through.
class HeldQtApp final : public QtApp {
 public:
  HeldQtApp(const std::filesystem::path& prefix, const char* hold, bool elsewhere)
      : game_(prefix / "drive_c/Games/DF-TFD"), hold_(hold), elsewhere_(elsewhere) {
    os = MakePrefixServices(Prefix::Open(prefix));
  }
  bool CanHold() const { return !elsewhere_; }
  // The save cases' holds; one held elsewhere is held by the test all along.
  void Hold(bool hold) {
    if (!elsewhere_) Holding(hold);
  }
  void Holding(bool hold) {
    if (hold && !holder_) {
      holder_ = popen(hold_, "w");
      for (int wait = 0; wait < 6000 && !std::filesystem::exists(game_ / "held"); ++wait) QTest::qWait(10);
      EXPECT_TRUE(std::filesystem::remove(game_ / "held")) << "the holder did not start";
    } else if (!hold && holder_) {
      EXPECT_EQ(pclose(std::exchange(holder_, nullptr)), 0) << "the holder did not let go";
    }
  }
  void Store(const Bytes& bytes) {
    std::ofstream(game_ / "plyr.sav", std::ios::binary) << std::string(bytes.begin(), bytes.end());
  }
  Bytes File() const {
    std::ifstream in(game_ / "plyr.sav", std::ios::binary);
    return Bytes(std::istreambuf_iterator<char>(in), {});
  }
  void PointGameAt(bool) {}  // the prefix's registry names the game folder

 private:
  std::filesystem::path game_;
  const char* hold_;
  bool elsewhere_;
  FILE* holder_ = nullptr;
};

TEST(QtForms, EachSaveOverAWinePrefixWhoseFileAWindowsProgramMayHold) {
  const char* prefix = std::getenv("VELQUIN_HELD_PREFIX");
  const char* hold = std::getenv("VELQUIN_HOLD_COMMAND");
  if (!prefix || !hold) GTEST_SKIP() << "run by tests/linux/run_held_file.sh";
  const bool elsewhere = std::getenv("VELQUIN_HOLD_ELSEWHERE") != nullptr;
  HeldQtApp app(prefix, hold, elsewhere);
  if (elsewhere) app.Holding(true);
  cases::RunSaveCases(app);
  if (elsewhere) app.Holding(false);
}

// What only an in-process run sees: a window the system cannot make leaves everything else as
// it was; the files read and the shell's requests; a hidden OK button that Enter and Escape pass
// over; a help window destroyed when it closes; what Qt's own widgets tell besides: a frame the
// user cannot resize with a close button only, each font, every caption whole in its control,
// and the status bar's panels.
TEST(QtForms, TheToolkitTheFilesTheShellTheFrameFontsCaptionsAndPanels) {
  QtApp app;
  app.Store(cases::StoredPlayerFile());
  app.PointGameAt(true);
  app.toolkit.fail = true;
  EXPECT_FALSE(app.Start());
  EXPECT_TRUE(app.files->paths.empty());

  app.toolkit.fail = false;
  ASSERT_TRUE(app.Start());
  app.Press(cases::kMain, frmMainDesign::cmdME);
  app.Press(cases::kMain, frmMainDesign::cmdCharmap);
  app.Press(cases::kMain, frmMainDesign::cmdHelp);
  for (const char* caption : {cases::kMain, cases::kHelp}) {
    QWidget* window = app.Window(caption);
    EXPECT_EQ(window->minimumSize(), window->maximumSize());
    EXPECT_EQ(window->windowFlags() & (Qt::WindowMinMaxButtonsHint | Qt::WindowCloseButtonHint),
              Qt::WindowCloseButtonHint);
    for (QLabel* label : window->findChildren<QLabel*>()) {
      const QRect needed = label->fontMetrics().boundingRect(label->rect(), Qt::TextWordWrap, label->text());
      EXPECT_LE(needed.width(), label->width()) << label->text().toStdString();
      EXPECT_LE(needed.height(), label->height() + 1) << label->text().toStdString();  // fonts round up a row
    }
    for (QPushButton* button : window->findChildren<QPushButton*>())
      EXPECT_LT(button->fontMetrics().horizontalAdvance(button->text().remove(u'&')), button->width());
  }
  const std::tuple<const char*, ControlId, bool> fonts[] = {
      {cases::kMain, frmMainDesign::txtPlayer(0), false},
      {cases::kMain, frmMainDesign::lblMsg(9), false},
      {cases::kMain, frmMainDesign::cmdSaveM, true},
      {cases::kHelp, HelpDesign::lblURL, true},
      {cases::kHelp, HelpDesign::cmdOK, false}};
  for (const auto& [window, id, bold] : fonts) {
    EXPECT_DOUBLE_EQ(app.Control(window, id)->font().pointSizeF(), 8.25) << id;
    EXPECT_EQ(app.Control(window, id)->font().bold(), bold) << id;
  }
  const int edges[] = {0, 1840, 3080, 4320};  // twips
  const double dpi = app.Dpi(cases::kMain), ratio = app.Window(cases::kMain)->devicePixelRatioF();
  for (int panel = 1; panel <= 3; ++panel) {
    const QRect r =
        app.Window(cases::kMain)->findChild<QLabel*>(QStringLiteral("Panels(%1)").arg(panel))->geometry();
    EXPECT_NEAR(r.left() * ratio, edges[panel - 1] * dpi / 1440, 1) << panel;
    EXPECT_NEAR((r.left() + r.width()) * ratio, edges[panel] * dpi / 1440, 1) << panel;
  }

  const QPointer<QWidget> help = app.Window(cases::kHelp), ok = app.Control(cases::kHelp, HelpDesign::cmdOK);
  ok->hide();  // neither Enter nor Escape presses a button the user cannot see
  for (const Qt::Key key : {Qt::Key_Return, Qt::Key_Escape}) QTest::keyClick(help, key);
  ASSERT_EQ(app.Windows(cases::kHelp), 1);
  ok->show();

  QTest::mouseClick(app.Control(cases::kHelp, HelpDesign::lblURL), Qt::LeftButton);
  EXPECT_EQ(app.shell.opened,
            (std::vector<std::string>{"charmap.exe in C:\\", "https://velquin.io in C:\\"}));
  app.Press(cases::kHelp, HelpDesign::cmdOK);
  QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
  EXPECT_TRUE(help.isNull());
  app.toolkit.fail = true;
  app.Press(cases::kMain, frmMainDesign::cmdHelp);
  EXPECT_EQ(app.Windows(cases::kHelp), 0);
  app.Press(cases::kMain, frmMainDesign::cmdSave);
  EXPECT_EQ(app.Text(cases::kMain, frmMainDesign::StatusBar), "Names saved!");
}

// Every caption of every language, and each status message that the first panel is made to hold,
// measured with its control's font against its control at 96 and 144 DPI: a button keeps 3 px
// each side for its frame, a label holds its text wrapped within its box.
TEST(QtForms, EveryTextOfEveryLanguageFitsItsControl) {
  PreferNarrowStandIns();
  int measured = 0;
  for (const int dpi : {96, 144}) {
    QImage device(1, 1, QImage::Format_ARGB32);
    device.setDotsPerMeterX(static_cast<int>(std::lround(dpi / 0.0254)));
    device.setDotsPerMeterY(static_cast<int>(std::lround(dpi / 0.0254)));
    const auto px = [dpi](int twips) { return static_cast<double>(std::lround(twips * dpi / 1440.0)); };
    for (const Catalogue& words : Catalogue::All()) {
      const cases::TextsToFit texts(words);
      for (const ControlDesign& c : texts.controls) {
        const QFontMetricsF metrics(FontOf(c.font), &device);
        QString text = QString::fromUtf8(c.caption.data(), static_cast<qsizetype>(c.caption.size()));
        const std::string where = std::string(words.tag()) + " at " + std::to_string(dpi) + " DPI, " +
                                  std::string(c.name) + ": " + text.toStdString();
        ++measured;
        if (c.kind == ControlKind::CommandButton) {
          EXPECT_LE(metrics.horizontalAdvance(text.remove(u'&')) + 6 * dpi / 96.0, px(c.width)) << where;
          continue;
        }
        const QRectF needed = metrics.boundingRect(QRectF(0, 0, px(c.width), 10000), Qt::TextWordWrap, text);
        EXPECT_LE(needed.width(), px(c.width)) << where;
        EXPECT_LE(needed.height(), px(c.height) + 1) << where;
      }
    }
  }
  EXPECT_EQ(measured, 2 * 12 * 40);  // two DPIs, twelve languages, forty texts

  // The Linux program's strip, laid out by Qt in each language at this screen's DPI, within the
  // window's width.
  TestToolkit toolkit;
  RecordingShell shell;
  for (const Catalogue& words : Catalogue::All()) {
    ProgramWindows windows(toolkit, shell, nullptr, words);
    GamePicker picker(windows.main, Environment{}, words);
    QWidget form;
    const QWidget* strip = picker.MakeStrip(form);
    EXPECT_LE(strip->minimumSizeHint().width(), std::lround(4335 * form.logicalDpiX() / 1440.0))
        << words.tag();
  }
}

// Memory files whose opening for writing waits while the test holds `gate`, up to a bound, as
// a share that has gone to sleep would.
class StallingFiles final : public FileAccess {
 public:
  explicit StallingFiles(testing::MemoryFiles* files) : files_(files) {}
  Result<std::unique_ptr<FileReader>> OpenForRead(const std::string& path) override {
    return files_->OpenForRead(path);
  }
  Result<std::unique_ptr<FileWriter>> OpenForWrite(const std::string& path) override {
    std::unique_lock lock(mutex);
    released.wait_for(lock, std::chrono::seconds(3), [this] { return !stalled; });
    return files_->OpenForWrite(path);
  }
  std::mutex mutex;
  std::condition_variable released;
  bool stalled = true;

 private:
  std::unique_ptr<testing::MemoryFiles> files_;
};

// The window comes before the search for the game ends and says so; what is typed meanwhile
// stays, and no save runs until the game is known. A save whose disk stalls holds neither the
// window nor the saves pressed after it, and the window says how each ended.
TEST(QtForms, NeitherTheSearchNorAStalledSaveHoldsTheWindow) {
  using namespace frmMainDesign;
  QtApp app;
  app.Store(cases::StoredPlayerFile());
  app.PointGameAt(true);
  ASSERT_TRUE(app.Start(true));
  EXPECT_EQ(app.Text(cases::kMain, StatusBar), "Looking for DF:TFD...");
  app.Type(cases::kMain, txtPlayer(1), "Neo");
  app.Press(cases::kMain, cmdSave);
  EXPECT_EQ(app.Text(cases::kMain, StatusBar), "Still looking for DF:TFD; save once it is found.");
  EXPECT_EQ(app.File(), cases::StoredPlayerFile());
  app.SearchEnded("", {"/mnt/nas/SteamLibrary"});
  EXPECT_EQ(app.Text(cases::kMain, StatusBar), "Skipped /mnt/nas/SteamLibrary: not answering");
  EXPECT_EQ(app.Text(cases::kMain, txtPlayer(0)), "Alpha");
  EXPECT_EQ(app.Text(cases::kMain, txtPlayer(1)), "Neo");
  EXPECT_EQ(app.Text(cases::kMain, txtMsg(9)), "macro 9");
  app.SearchEnded("Its code page is not known.", {"/a", "/b"});
  EXPECT_EQ(app.Text(cases::kMain, StatusBar),
            "Its code page is not known. Skipped 2 folders: not answering");

  auto* stalling = new StallingFiles(app.files);
  (void)app.os.files.release();
  app.os.files.reset(stalling);
  app.Press(cases::kMain, cmdSave);
  EXPECT_EQ(app.Text(cases::kMain, StatusBar), "Saving names...");
  app.Press(cases::kMain, cmdME);
  EXPECT_FALSE(app.Control(cases::kMain, txtMsg(0))->isHidden());
  app.Type(cases::kMain, txtMsg(0), "gg");
  app.Press(cases::kMain, cmdSaveM);
  EXPECT_EQ(app.Text(cases::kMain, StatusBar), "Saving messages...");
  EXPECT_FALSE(app.FinishSaves(std::chrono::milliseconds(50)));
  EXPECT_EQ(app.File(), cases::StoredPlayerFile());
  {
    const std::lock_guard lock(stalling->mutex);
    stalling->stalled = false;
  }
  stalling->released.notify_all();
  cases::Step step{cases::Do::Text, cases::kMain, StatusBar, "Messages saved!"};
  cases::Run(app, step);
  Bytes expected = cases::StoredPlayerFile();
  const char* names[] = {"Alpha", "Neo", "Gamma", "Delta", "Epsilon"};
  for (std::size_t k = 0; k < 5; ++k) cases::Put(expected, 12 + 2108 * k, names[k] + "\0\0"s);
  for (std::size_t m = 0; m < 10; ++m)
    cases::Put(expected, 228 + 40 * m, (m == 0 ? "gg"s : "macro " + std::to_string(m)) + "\0\0"s);
  EXPECT_EQ(app.File(), expected);
}

// The Linux program's strip: the install in use named, the words when none was found and a
// folder that is no prefix of the game, two installs to pick from by keyboard, an unsaved edit
// kept when the player says no, and the pick kept for the next start.
using QtGamePicker = testing::TempFolder;
TEST_F(QtGamePicker, NamesTheInstallSaysNoneFoundAndPicksByKeyboard) {
  namespace fs = std::filesystem;
  const fs::path home = folder_ / "home";
  for (const auto& [prefix, name] :
       {std::pair{".wine"s, "Older"s}, {".local/share/wineprefixes/df"s, "Newer"s}}) {
    MakeDriveC(home / prefix);
    Write("home/" + prefix + "/system.reg",
          "[Software\\\\Microsoft\\\\Windows\\\\CurrentVersion\\\\App Paths\\\\zovur.exe] "
          "1\n\"Path\"=\"C:\\\\DF\"\n");
    Bytes bytes = cases::StoredPlayerFile();
    cases::Put(bytes, 12, name + "\0\0"s);
    Write("home/" + prefix + "/drive_c/DF/plyr.sav", std::string(bytes.begin(), bytes.end()));
  }
  fs::last_write_time(home / ".wine/drive_c/DF/plyr.sav",
                      fs::file_time_type::clock::now() - std::chrono::hours(1));
  const Environment found{home, "", "", ""}, empty{folder_ / "empty", "", "", ""};

  TestToolkit toolkit;
  RecordingShell shell;
  ProgramWindows windows(toolkit, shell, nullptr, Catalogue::English());
  GamePicker picker(windows.main, found, Catalogue::English());
  toolkit.qt.AddStrip(std::string(cases::kMain), [&picker](QWidget& form) { return picker.MakeStrip(form); });
  ASSERT_TRUE(windows.main.Show());
  QWidget* main = nullptr;
  for (QWidget* w : QApplication::topLevelWidgets())
    if (w->isVisible() && w->windowTitle() == cases::kMain) main = w;
  ASSERT_TRUE(main && QTest::qWaitForWindowActive(main));
  auto* installs = main->findChild<QComboBox*>();
  ASSERT_TRUE(installs);
  const auto said = [installs] {
    QString all;
    for (const QLabel* label : installs->parentWidget()->findChildren<QLabel*>()) all += label->text() + "\n";
    return all.toStdString();
  };
  const auto answer = [](QMessageBox::StandardButton button, std::string* text) {
    QTimer::singleShot(0, [button, text] {
      auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
      if (!box) return ADD_FAILURE() << "no message";
      if (text) *text = box->text().toStdString();
      box->button(button)->click();
    });
  };
  EXPECT_EQ(QAccessible::queryAccessibleInterface(installs)->text(QAccessible::Name).toStdString(),
            "Install in use");
  EXPECT_NE(said().find("Looking for DF:TFD..."), std::string::npos);

  // None found: said in words, Save Names says why, a folder without the game says what it lacks.
  const GameChoice none = ChooseGame(empty, "", Catalogue::English());
  windows.main.SearchEnded(std::make_shared<PlatformServices>(ServicesFor(none)), none.refusal, {});
  picker.SearchEnded(none);
  EXPECT_NE(said().find("DF:TFD was not found in any Wine prefix."), std::string::npos) << said();
  const auto box = [main](ControlId id) {
    return main->findChild<QLineEdit*>(QStringLiteral("txtPlayer(%1)").arg(id - frmMainDesign::txtPlayer(0)));
  };
  QTest::keyClicks(box(frmMainDesign::txtPlayer(0)), "Neo");
  QTest::mouseClick(main->findChild<QPushButton*>("cmdSave"), Qt::LeftButton);
  const auto status = [main] { return main->findChild<QLabel*>("Panels(1)")->text().toStdString(); };
  for (int i = 0; i < 500 && status() == "Saving names..."; ++i) QTest::qWait(10);
  EXPECT_EQ(status(), "DF:TFD was not found in any Wine prefix.");
  std::string message;
  Write("no-entry/system.reg", "[Software\\\\Wine] 1\n");
  fs::copy(home / ".wine", folder_ / "no-save",
           fs::copy_options::recursive | fs::copy_options::copy_symlinks);
  fs::remove(folder_ / "no-save/drive_c/DF/plyr.sav");
  for (const auto& [folder, lacks] : {std::pair{"empty"s, "it has no system.reg that can be read."s},
                                      {"no-entry"s, "its registry has no entry for DF:TFD (zovur.exe)."s},
                                      {"no-save"s, "the game folder its registry names has no plyr.sav."s}}) {
    answer(QMessageBox::Ok, &message);
    EXPECT_FALSE(picker.OpenFolder(folder_ / folder));
    EXPECT_EQ(message, (folder_ / folder).string() + " does not hold DF:TFD: " + lacks);
  }

  // Two found: the newest in use, named; Tab reaches the list; Down picks the other, once the
  // player agrees to lose the typed name; the pick is kept.
  const GameChoice two = ChooseGame(found, "", Catalogue::English());
  windows.main.UseGame(std::make_shared<PlatformServices>(ServicesFor(two)), "");
  picker.SearchEnded(two);
  EXPECT_EQ(installs->count(), 2);
  EXPECT_TRUE(installs->currentText().startsWith(
      "winetricks \u00b7 \u2026/share/wineprefixes/df \u00b7 plyr.sav of "))
      << installs->currentText().toStdString();
  EXPECT_NE(said().find("winetricks \u00b7 " + fs::canonical(home / ".local/share/wineprefixes/df").string()),
            std::string::npos);
  EXPECT_EQ(box(frmMainDesign::txtPlayer(0))->text(), "Newer");
  QTest::keyClicks(box(frmMainDesign::txtPlayer(0)), "!");
  main->activateWindow();
  ASSERT_TRUE(QTest::qWaitForWindowActive(main));
  box(frmMainDesign::txtPlayer(0))->setFocus();
  for (int i = 0; i < 40 && QApplication::focusWidget() != installs; ++i)
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
  ASSERT_EQ(QApplication::focusWidget(), installs);
  answer(QMessageBox::No, &message);
  QTest::keyClick(installs, Qt::Key_Down);
  EXPECT_EQ(message,
            "The names or messages typed here are not saved. Open the other install and discard them?");
  EXPECT_EQ(box(frmMainDesign::txtPlayer(0))->text(), "Newer!");
  EXPECT_EQ(installs->currentIndex(), 0);
  answer(QMessageBox::Yes, nullptr);
  QTest::keyClick(installs, Qt::Key_Down);
  EXPECT_EQ(box(frmMainDesign::txtPlayer(0))->text(), "Older");
  EXPECT_TRUE(installs->currentText().startsWith("Wine \u00b7 ")) << installs->currentText().toStdString();
  EXPECT_EQ(ReadRememberedGame(found, Catalogue::English()).prefix, fs::canonical(home / ".wine"));
  EXPECT_TRUE(windows.main.FinishSaves(std::chrono::seconds(10)));
}

}  // namespace
}  // namespace velquin
