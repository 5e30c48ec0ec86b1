// SPDX-License-Identifier: MIT
// The counting-loop dialog: variable, start and end value of a loop text
// "variable := start bis end".
#pragma once

#include "model/element.h"

#include <QDialog>

class QLabel;
class QLineEdit;
class QPushButton;

class TForm3 : public QDialog {
  Q_OBJECT
public:
  static constexpr int kOk = 1;
  static constexpr int kAbbrechen = -1;

  explicit TForm3(QWidget* parent = nullptr);

  // Loads the loop text into the three fields and into ForText.
  void SplitForText(const TText& text);
  // Shows the dialog modally; 1 for "Ok", -1 for "Abbrechen", Esc or the close box.
  int ShowModal();

  // The loop text handed back: the joined fields after "Ok", else the text last split.
  TText ForText;

  QLabel* Label1 = nullptr;
  QLineEdit* Edit1 = nullptr;
  QLabel* Label2 = nullptr;
  QLineEdit* Edit2 = nullptr;
  QLabel* Label3 = nullptr;
  QLineEdit* Edit3 = nullptr;
  QPushButton* Button1 = nullptr;
  QPushButton* Button2 = nullptr;

  void Button1Click();
  void Button2Click();

  // Closing by the window frame counts as "Abbrechen": the user did not confirm, and the loop
  // text stays as it was either way.
  void reject() override;

protected:
  void showEvent(QShowEvent* event) override;
  // A new language: captions and title anew; a translated caption takes the room before its
  // field, so that the font need not shrink.
  void changeEvent(QEvent* event) override;

private:
  void Retranslate();
};
