#include "app/linux/GamePicker.h"

#include <QComboBox>
#include <QFileDialog>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>

#include "app/linux/RememberedGame.h"
#include "posix/PrefixServices.h"

namespace velquin {

namespace {

QString Words(std::string_view text) {
  return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

QPushButton* Button(std::string_view caption, std::string_view name, QWidget& parent) {
  auto* button = new QPushButton(Words(caption), &parent);
  button->setAccessibleName(Words(name));
  return button;
}

// A message box whose buttons say their words in the player's language too.
QMessageBox::StandardButton Message(QWidget* parent, QMessageBox::Icon icon, std::string_view title,
                                    const std::string& text, const Catalogue& words) {
  const bool question = icon == QMessageBox::Question;
  QMessageBox box(icon, Words(title), Words(text),
                  question ? QMessageBox::Yes | QMessageBox::No : QMessageBox::Ok, parent);
  if (question) {
    box.button(QMessageBox::Yes)->setText(Words(words[TextId::ButtonYes]));
    box.button(QMessageBox::No)->setText(Words(words[TextId::ButtonNo]));
  } else {
    box.button(QMessageBox::Ok)->setText(Words(words[TextId::ButtonOK]));
  }
  return static_cast<QMessageBox::StandardButton>(box.exec());
}

}  // namespace

GamePicker::GamePicker(frmMain& main, Environment environment, const Catalogue& words)
    : main_(main), words_(words), environment_(std::move(environment)) {}

QWidget* GamePicker::MakeStrip(QWidget& form) {
  strip_ = new QWidget(&form);
  auto* layout = new QGridLayout(strip_);
  auto* label = new QLabel(Words(words_[TextId::InstallLabel]), strip_);
  installs_ = new QComboBox(strip_);
  installs_->setAccessibleName(Words(words_[TextId::InstallName]));
  installs_->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
  installs_->setMinimumContentsLength(10);
  label->setBuddy(installs_);
  inUse_ = new QLabel(strip_);
  inUse_->setWordWrap(true);
  // In the tab order, so that a screen reader reaches it and the words can be copied.
  inUse_->setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
  inUse_->setFocusPolicy(Qt::StrongFocus);
  inUse_->setMinimumHeight(4 * inUse_->fontMetrics().lineSpacing());
  inUse_->setAlignment(Qt::AlignLeft | Qt::AlignTop);
  QPushButton* choose = Button(words_[TextId::ChooseFolder], words_[TextId::ChooseFolderName], *strip_);
  QPushButton* where = Button(words_[TextId::WhereLooked], words_[TextId::WhereLookedName], *strip_);
  layout->addWidget(label, 0, 0);
  layout->addWidget(installs_, 0, 1);
  layout->addWidget(inUse_, 1, 0, 1, 2);
  // The buttons under the whole width, to the right: their captions are the longest words here.
  auto* buttons = new QHBoxLayout;
  buttons->addStretch();
  buttons->addWidget(choose);
  buttons->addWidget(where);
  layout->addLayout(buttons, 2, 0, 1, 2);
  layout->setColumnStretch(1, 1);
  QObject::connect(installs_, &QComboBox::activated, strip_, [this](int index) { Picked(index); });
  QObject::connect(choose, &QPushButton::clicked, strip_, [this] { ChooseFolder(); });
  QObject::connect(where, &QPushButton::clicked, strip_, [this] { ShowWhereLooked(); });
  ShowInUse();
  return strip_;
}

void GamePicker::SearchEnded(const GameChoice& choice) {
  choice_ = choice;
  searched_ = true;
  used_ = -1;
  for (std::size_t i = 0; i < choice_.games.size(); ++i)
    if (choice_.games[i].prefix == choice_.prefix) used_ = static_cast<int>(i);
  ShowInUse();
}

// The combo box holds the installs found, the one in use current; the line below names it
// whole, with what the player should know about the search.
void GamePicker::ShowInUse() {
  if (!strip_) return;
  installs_->clear();
  for (const GameInPrefix& game : choice_.games) installs_->addItem(Words(NameOf(game, words_)));
  std::string text;
  if (!searched_) {
    text = words_[TextId::LookingForGame];
  } else if (used_ >= 0) {
    installs_->setCurrentIndex(used_);
    text = NameOf(choice_.games[used_], words_, true);
  } else {
    text = choice_.refusal.empty() ? std::string(words_[TextId::NotFound]) : choice_.refusal;
    installs_->addItem(Words(text));
    if (choice_.games.empty()) text += std::string("\n") + std::string(words_[TextId::WhatNow]);
  }
  for (const std::string& note : choice_.notes) text += "\n" + note;
  inUse_->setText(Words(text));
  installs_->setAccessibleDescription(Words(text));
  installs_->setEnabled(searched_);
}

void GamePicker::Picked(int index) {
  if (index == used_ || index < 0 || index >= static_cast<int>(choice_.games.size())) return;
  if (main_.HasUnsavedEdits() &&
      Message(strip_, QMessageBox::Question, words_[TextId::DiscardTitle],
              std::string(words_[TextId::DiscardQuestion]), words_) != QMessageBox::Yes) {
    installs_->setCurrentIndex(used_);
    return;
  }
  used_ = index;
  const GameInPrefix& game = choice_.games[index];
  choice_.prefix = game.prefix;
  choice_.refusal = game.prefix->codePage() ? "" : WhyNoCodePage(game.prefix->ansiCodePage(), words_);
  choice_.notes.clear();
  if (!RememberGame(environment_, game.candidate.prefix))
    choice_.notes.emplace_back(words_[TextId::NotRemembered]);
  main_.UseGame(std::make_shared<PlatformServices>(MakePrefixServices(game.prefix)), choice_.refusal);
  ShowInUse();
}

bool GamePicker::OpenFolder(const std::filesystem::path& folder) {
  if (!searched_ || !strip_) return false;
  std::vector<GameInPrefix> games;
  std::vector<SkippedFile> skipped;
  const auto opened =
      OpenCandidates({{folder, std::string(words_[TextId::ChosenOrigin]), ""}}, games, skipped);
  if (games.empty()) {
    std::string why =
        skipped.empty() ? std::string() : folder.string() + ": " + Describe(skipped.front().why, words_);
    if (why.empty() && opened.front()) why = WhyNoGame(**opened.front(), words_);
    Message(strip_, QMessageBox::Warning, words_[TextId::ChooseFolderTitle], why, words_);
    return false;
  }
  int index = -1;
  for (std::size_t i = 0; i < choice_.games.size(); ++i)
    if (choice_.games[i].candidate.prefix == games.front().candidate.prefix) index = static_cast<int>(i);
  if (index < 0) {
    choice_.games.push_back(games.front());
    index = static_cast<int>(choice_.games.size()) - 1;
    installs_->clear();  // the not-found line, if it was there, goes
    ShowInUse();
  }
  Picked(index);
  return used_ == index;
}

// The desktop's own dialog: through the XDG desktop portal where there is one.
void GamePicker::ChooseFolder() {
  const QString folder = QFileDialog::getExistingDirectory(strip_, Words(words_[TextId::ChooseFolderTitle]));
  if (!folder.isEmpty()) OpenFolder(folder.toLocal8Bit().toStdString());
}

void GamePicker::ShowWhereLooked() {
  const std::string text =
      std::string(words_[TextId::SearchedPlaces]) + "\n" + SearchedPlaces(words_) + "\n" +
      (searched_ ? DescribeChoice(choice_, words_) : std::string(words_[TextId::LookingForGame]));
  Message(strip_, QMessageBox::Information, words_[TextId::WhereLookedName], text, words_);
}

}  // namespace velquin
