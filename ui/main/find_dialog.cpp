// SPDX-License-Identifier: MIT
#include "ui/main/find_dialog.h"

#include <QCheckBox>
#include <QDialogButtonBox>
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
  auto* findLabel = new QLabel(tr("Suchen &nach:"), this);
  findLabel->setBuddy(Suchtext);
  replaceLabel_ = new QLabel(tr("Ersetzen &durch:"), this);
  replaceLabel_->setBuddy(Ersatztext);
  grid->addWidget(findLabel, 0, 0);
  grid->addWidget(Suchtext, 0, 1);
  grid->addWidget(replaceLabel_, 1, 0);
  grid->addWidget(Ersatztext, 1, 1);
  GanzeWoerter = new QCheckBox(tr("Nur ganze &Wörter"), this);
  GanzeWoerter->setObjectName(QStringLiteral("GanzeWoerter"));
  Schreibweise = new QCheckBox(tr("&Groß-/Kleinschreibung beachten"), this);
  Schreibweise->setObjectName(QStringLiteral("Schreibweise"));
  grid->addWidget(GanzeWoerter, 2, 1);
  grid->addWidget(Schreibweise, 3, 1);

  auto* buttons = new QDialogButtonBox(Qt::Vertical, this);
  Weitersuchen = buttons->addButton(tr("&Weitersuchen"), QDialogButtonBox::ActionRole);
  Weitersuchen->setObjectName(QStringLiteral("Weitersuchen"));
  Weitersuchen->setDefault(true);
  Ersetzen = buttons->addButton(tr("&Ersetzen"), QDialogButtonBox::ActionRole);
  Ersetzen->setObjectName(QStringLiteral("Ersetzen"));
  AlleErsetzen = buttons->addButton(tr("&Alle ersetzen"), QDialogButtonBox::ActionRole);
  AlleErsetzen->setObjectName(QStringLiteral("AlleErsetzen"));
  QPushButton* close =
      buttons->addButton(tr("Schließen"), QDialogButtonBox::RejectRole);
  close->setObjectName(QStringLiteral("Schliessen"));
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
}

void TFindDialog::Open(bool replacing) {
  replacing_ = replacing;
  setWindowTitle(replacing ? tr("Ersetzen") : tr("Suchen"));
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
