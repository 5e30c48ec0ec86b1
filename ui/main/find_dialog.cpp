// SPDX-License-Identifier: MIT
#include "ui/main/find_dialog.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QEvent>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QShortcut>
#include <QVBoxLayout>

TFindDialog::TFindDialog(QWidget* parent) : QDialog(parent) {
  setObjectName(QStringLiteral("Suchen"));
  auto* grid = new QGridLayout;
  Suchtext = new QLineEdit(this);
  Suchtext->setObjectName(QStringLiteral("Suchtext"));
  Ersatztext = new QLineEdit(this);
  Ersatztext->setObjectName(QStringLiteral("Ersatztext"));
  findLabel_ = new QLabel(this);
  findLabel_->setBuddy(Suchtext);
  replaceLabel_ = new QLabel(this);
  replaceLabel_->setBuddy(Ersatztext);
  grid->addWidget(findLabel_, 0, 0);
  grid->addWidget(Suchtext, 0, 1);
  grid->addWidget(replaceLabel_, 1, 0);
  grid->addWidget(Ersatztext, 1, 1);
  GanzeWoerter = new QCheckBox(this);
  GanzeWoerter->setObjectName(QStringLiteral("GanzeWoerter"));
  Schreibweise = new QCheckBox(this);
  Schreibweise->setObjectName(QStringLiteral("Schreibweise"));
  grid->addWidget(GanzeWoerter, 2, 1);
  grid->addWidget(Schreibweise, 3, 1);

  auto* buttons = new QDialogButtonBox(Qt::Vertical, this);
  Weitersuchen = buttons->addButton(QString(), QDialogButtonBox::ActionRole);
  Weitersuchen->setObjectName(QStringLiteral("Weitersuchen"));
  Weitersuchen->setDefault(true);
  Ersetzen = buttons->addButton(QString(), QDialogButtonBox::ActionRole);
  Ersetzen->setObjectName(QStringLiteral("Ersetzen"));
  AlleErsetzen = buttons->addButton(QString(), QDialogButtonBox::ActionRole);
  AlleErsetzen->setObjectName(QStringLiteral("AlleErsetzen"));
  close_ = buttons->addButton(QString(), QDialogButtonBox::RejectRole);
  close_->setObjectName(QStringLiteral("Schliessen"));
  connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
  connect(Weitersuchen, &QPushButton::clicked, this, &TFindDialog::FindNextRequested);
  connect(Ersetzen, &QPushButton::clicked, this, &TFindDialog::ReplaceRequested);
  connect(AlleErsetzen, &QPushButton::clicked, this, &TFindDialog::ReplaceAllRequested);
  // Nothing to search for, nothing to press.
  connect(Suchtext, &QLineEdit::textChanged, this, [this](const QString& text) {
    for (QPushButton* b : {Weitersuchen, Ersetzen, AlleErsetzen})
      b->setEnabled(!text.isEmpty());
  });

  // F3 goes on from here as it does from the diagram.
  auto* again = new QShortcut(QKeySequence(Qt::Key_F3), this);
  connect(again, &QShortcut::activated, this, [this] {
    if (!Suchtext->text().isEmpty())
      emit FindNextRequested();
  });

  auto* layout = new QHBoxLayout(this);
  layout->addLayout(grid, 1);
  layout->addWidget(buttons);
  for (QPushButton* b : {Weitersuchen, Ersetzen, AlleErsetzen})
    b->setEnabled(false);
  Retranslate();
}

void TFindDialog::Retranslate() {
  setWindowTitle(replacing_ ? tr("Ersetzen") : tr("Suchen"));
  findLabel_->setText(tr("Suchen &nach:"));
  replaceLabel_->setText(tr("Ersetzen &durch:"));
  GanzeWoerter->setText(tr("Nur ganze &Wörter"));
  Schreibweise->setText(tr("&Groß-/Kleinschreibung beachten"));
  Weitersuchen->setText(tr("&Weitersuchen"));
  Ersetzen->setText(tr("&Ersetzen"));
  AlleErsetzen->setText(tr("&Alle ersetzen"));
  close_->setText(tr("Schließen"));
}

void TFindDialog::changeEvent(QEvent* event) {
  QDialog::changeEvent(event);
  if (event->type() == QEvent::LanguageChange)
    Retranslate();
}

void TFindDialog::Open(bool replacing) {
  replacing_ = replacing;
  Retranslate();
  for (QWidget* w : {static_cast<QWidget*>(replaceLabel_), static_cast<QWidget*>(Ersatztext),
                     static_cast<QWidget*>(Ersetzen), static_cast<QWidget*>(AlleErsetzen)})
    w->setVisible(replacing);
  adjustSize();
  show();
  raise();
  activateWindow();
  Suchtext->setFocus();
  Suchtext->selectAll();
}

QString TFindDialog::Pattern() const {
  return Suchtext->text();
}

QString TFindDialog::Replacement() const {
  return Ersatztext->text();
}

TSearchOptions TFindDialog::Options() const {
  TSearchOptions options;
  options.WholeWords = GanzeWoerter->isChecked();
  options.MatchCase = Schreibweise->isChecked();
  return options;
}
