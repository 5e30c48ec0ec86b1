// SPDX-License-Identifier: MIT
// "Suchen" and "Ersetzen": a dialog that stays open beside the diagrams while the user goes from
// one occurrence to the next; the main window does the searching.
#pragma once

#include "model/text_search.h"

#include <QDialog>

class QCheckBox;
class QLabel;
class QLineEdit;
class QPushButton;

class TFindDialog : public QDialog {
  Q_OBJECT
public:
  explicit TFindDialog(QWidget* parent);

  // Shows the dialog for searching only, or with the replacement and its buttons.
  void Open(bool replacing);
  bool Replacing() const { return replacing_; }

  QString Pattern() const;
  QString Replacement() const;
  TSearchOptions Options() const;

  QLineEdit* Suchtext = nullptr;
  QLineEdit* Ersatztext = nullptr;
  QCheckBox* GanzeWoerter = nullptr;
  QCheckBox* Schreibweise = nullptr;
  QPushButton* Weitersuchen = nullptr;
  QPushButton* Ersetzen = nullptr;
  QPushButton* AlleErsetzen = nullptr;

protected:
  // A new language: the dialog's texts anew.
  void changeEvent(QEvent* event) override;

signals:
  void FindNextRequested();
  void ReplaceRequested();
  void ReplaceAllRequested();

private:
  void Retranslate();

  QLabel* findLabel_ = nullptr;
  QLabel* replaceLabel_ = nullptr;
  QPushButton* close_ = nullptr;
  bool replacing_ = false;
};
