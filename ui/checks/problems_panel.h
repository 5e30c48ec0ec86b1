// SPDX-License-Identifier: MIT
// The dock "Prüfergebnisse": every finding of the checks with where it is, its element's text and
// what looks wrong. A click shows the element, a double click edits its text; the context menu
// switches each check on and off, and the choice is kept.
#pragma once

#include "ui/checks/check_controller.h"

#include <QAbstractTableModel>
#include <QDockWidget>

class QAction;
class QLabel;
class QTreeView;

// The controller's findings, read as the view asks: filling a list widget with tens of
// thousands of rows would hold up every change.
class TFindingsModel : public QAbstractTableModel {
  Q_OBJECT
public:
  explicit TFindingsModel(const TCheckController& checks, QObject* parent = nullptr);

  int rowCount(const QModelIndex& parent = QModelIndex()) const override;
  int columnCount(const QModelIndex& parent = QModelIndex()) const override;
  QVariant data(const QModelIndex& index, int role) const override;
  QVariant headerData(int section, Qt::Orientation orientation, int role) const override;
  void Reset();

private:
  const TCheckController& checks_;
};

class TProblemsPanel : public QDockWidget {
  Q_OBJECT
public:
  TProblemsPanel(TCheckController& checks, QWidget* parent);

  QTreeView* View() const { return view_; }
  TFindingsModel* Model() const { return model_; }
  // The context menu's item switching the check on and off.
  QAction* CheckAction(TCheck check) const { return actions_[static_cast<int>(check)]; }

  // The checks switched on as last kept (all at first).
  static TCheckSet KeptChecks();

signals:
  void ElementClicked(const TElement* element);
  void ElementDoubleClicked(const TElement* element);

protected:
  // A new language: the panel's texts anew.
  void changeEvent(QEvent* event) override;

private:
  void Retranslate();
  void Update();
  const TElement* ElementAt(const QModelIndex& index) const;

  TCheckController& checks_;
  TFindingsModel* model_;
  QTreeView* view_;
  QLabel* summary_;
  QAction* actions_[kCheckCount] = {};
};
