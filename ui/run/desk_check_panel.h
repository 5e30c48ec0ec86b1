// SPDX-License-Identifier: MIT
// The dock "Schreibtischtest": the desk-check table as the run grows it, one row per step with
// the element and every variable's value after it (the values the step changed in bold), and
// "Als CSV speichern…".
#pragma once

#include "language/run_history.h"

#include <QAbstractTableModel>
#include <QDockWidget>

class QPushButton;
class QTableView;
class TRunController;
class TWindowingServices;

// The rows the run's history keeps, read from it as the view asks.
class TDeskCheckModel : public QAbstractTableModel {
  Q_OBJECT
public:
  explicit TDeskCheckModel(TRunController& run, QObject* parent = nullptr);

  int rowCount(const QModelIndex& parent = QModelIndex()) const override;
  int columnCount(const QModelIndex& parent = QModelIndex()) const override;
  QVariant data(const QModelIndex& index, int role) const override;
  QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

  // Follows the run: rows added at the end, or the whole table anew where rows went.
  void Follow();
  void Reset();

private:
  // The rows the history keeps: completed steps from first_ on.
  void Count(uint64_t& first, uint64_t& count) const;

  TRunController& run_;
  uint64_t first_ = 0;
  uint64_t count_ = 0;
  int columns_ = 2;
  mutable int64_t cachedRow_ = -1;
  mutable TValues cached_;
};

class TDeskCheckPanel : public QDockWidget {
  Q_OBJECT
public:
  TDeskCheckPanel(TRunController& run, TWindowingServices& services, QWidget* parent);

  QTableView* View() const { return view_; }
  TDeskCheckModel* Model() const { return model_; }
  // "Als CSV speichern…": the rows kept, in the format of --trace.
  void SaveCsv();

protected:
  // A new language: the panel's texts anew.
  void changeEvent(QEvent* event) override;

private:
  void Retranslate();
  TRunController& run_;
  TWindowingServices& services_;
  TDeskCheckModel* model_;
  QTableView* view_;
  QPushButton* save_;
};
