// SPDX-License-Identifier: MIT
#include "ui/run/variables_panel.h"

#include "language/run_program.h"
#include "ui/main/text_codec.h"
#include "ui/run/run_controller.h"

#include <QEvent>
#include <QHeaderView>
#include <QTableWidget>

TVariablesPanel::TVariablesPanel(TRunController& run, QWidget* parent)
    : QDockWidget(parent), run_(run), table_(new QTableWidget(0, 3, this)) {
  setObjectName(QStringLiteral("Variablen"));
  table_->setObjectName(QStringLiteral("VariablenTabelle"));
  table_->verticalHeader()->hide();
  table_->horizontalHeader()->setStretchLastSection(true);
  table_->horizontalHeader()->resizeSection(0, 80);
  table_->horizontalHeader()->resizeSection(1, 100);
  table_->verticalHeader()->setDefaultSectionSize(table_->fontMetrics().height() + 6);
  table_->setSelectionMode(QAbstractItemView::SingleSelection);
  table_->setEditTriggers(QAbstractItemView::DoubleClicked | QAbstractItemView::EditKeyPressed |
                          QAbstractItemView::AnyKeyPressed);
  setWidget(table_);
  Retranslate();
  connect(&run_, &TRunController::RunStarted, this, &TVariablesPanel::Rebuild);
  connect(&run_, &TRunController::RunEnded, this, &TVariablesPanel::Rebuild);
  connect(&run_, &TRunController::Advanced, this, &TVariablesPanel::ShowValues);
  connect(&run_, &TRunController::StateChanged, this, &TVariablesPanel::ShowValues);
  connect(table_, &QTableWidget::itemChanged, this, &TVariablesPanel::Edited);
}

void TVariablesPanel::Rebuild() {
  filling_ = true;
  const TRunProgram* program = run_.Program();
  table_->setRowCount(program ? static_cast<int>(program->Variables.size()) : 0);
  for (int row = 0; row < table_->rowCount(); ++row) {
    const TRunVariable& v = program->Variables[static_cast<std::size_t>(row)];
    auto* name = new QTableWidgetItem(FromCp1252(v.Name));
    auto* type = new QTableWidgetItem(QString::fromStdString(ValueTypeWord(v.Type)));
    name->setFlags(name->flags() & ~Qt::ItemIsEditable);
    type->setFlags(type->flags() & ~Qt::ItemIsEditable);
    table_->setItem(row, 0, name);
    table_->setItem(row, 1, type);
    table_->setItem(row, 2, new QTableWidgetItem());
  }
  filling_ = false;
  ShowValues();
}

void TVariablesPanel::ShowValues() {
  const TMachine* machine = run_.Machine();
  if (!machine || table_->rowCount() != static_cast<int>(machine->Program().Variables.size()))
    return;
  filling_ = true;
  // Values change only where the run stands still; while it runs they are only shown.
  const bool editable = run_.State() == TRunController::TState::Paused ||
                        run_.State() == TRunController::TState::Waiting;
  for (int row = 0; row < table_->rowCount(); ++row) {
    const auto index = static_cast<std::size_t>(row);
    QTableWidgetItem* item = table_->item(row, 2);
    QString text = FromCp1252(machine->ValueText(index));
    // A string shows its quotes, so that blanks and the empty string can be seen.
    if (machine->Program().Variables[index].Type == TValueType::String)
      text = QStringLiteral("'%1'").arg(text);
    item->setText(text);
    const bool changed = machine->ChangedByLastStep(index);
    QFont font = item->font();
    font.setBold(changed);
    item->setFont(font);
    item->setBackground(changed ? QColor(0xFF, 0xF0, 0xA0) : QBrush());
    item->setFlags(editable ? item->flags() | Qt::ItemIsEditable
                            : item->flags() & ~Qt::ItemIsEditable);
  }
  filling_ = false;
}

void TVariablesPanel::Edited(QTableWidgetItem* item) {
  if (filling_ || item->column() != 2)
    return;
  QString text = item->text();
  const TRunProgram* program = run_.Program();
  if (program &&
      program->Variables[static_cast<std::size_t>(item->row())].Type == TValueType::String &&
      text.size() >= 2 && text.startsWith('\'') && text.endsWith('\''))
    text = text.mid(1, text.size() - 2);
  run_.SetVariable(static_cast<std::size_t>(item->row()), text);
  ShowValues(); // shows the value the variable holds now, the old one where the text was refused
}

void TVariablesPanel::Retranslate() {
  setWindowTitle(tr("Variablen"));
  table_->setHorizontalHeaderLabels({tr("Name"), tr("Typ"), tr("Wert")});
}

void TVariablesPanel::changeEvent(QEvent* event) {
  QDockWidget::changeEvent(event);
  if (event->type() != QEvent::LanguageChange)
    return;
  Retranslate();
  Rebuild(); // the types' names
}
