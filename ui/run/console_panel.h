// SPDX-License-Identifier: MIT
// The dock "Ein- und Ausgabe": what the program writes, as it writes it, with the lines typed
// for read and readln; a line typed below goes to the program's input.
#pragma once

#include <QDockWidget>

class QLineEdit;
class QPlainTextEdit;
class QPushButton;
class TRunController;

class TConsolePanel : public QDockWidget {
  Q_OBJECT
public:
  TConsolePanel(TRunController& run, QWidget* parent);

  QPlainTextEdit* Output() const { return output_; }
  QLineEdit* Input() const { return input_; }

protected:
  // A new language: the panel's texts anew.
  void changeEvent(QEvent* event) override;

private:
  void Retranslate();
  void Rebuild();
  void Follow();
  void Append(std::size_t until);
  void Enter();
  void ShowWaiting();

  TRunController& run_;
  QPlainTextEdit* output_;
  QLineEdit* input_;
  QPushButton* end_;
  std::size_t shownOutput_ = 0; // bytes of the output shown
  std::size_t shownEchoes_ = 0;
  bool errorShown_ = false;
};
