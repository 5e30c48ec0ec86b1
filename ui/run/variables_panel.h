// SPDX-License-Identifier: MIT
// The dock "Variablen": every variable of the run with its type and value; the values the last
// step changed stand out, and a value may be changed while the run stands still.
#pragma once

#include <QDockWidget>

class QTableWidget;
class QTableWidgetItem;
class TRunController;

class TVariablesPanel : public QDockWidget {
  Q_OBJECT
public:
  TVariablesPanel(TRunController& run, QWidget* parent);

  QTableWidget* Table() const { return table_; }

protected:
  // A new language: the panel's texts anew.
  void changeEvent(QEvent* event) override;

private:
  void Retranslate();
  void Rebuild();
  void ShowValues();
  void Edited(QTableWidgetItem* item);

  TRunController& run_;
  QTableWidget* table_;
  bool filling_ = false;
};
