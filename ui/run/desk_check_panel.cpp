// SPDX-License-Identifier: MIT
#include "ui/run/desk_check_panel.h"

#include "language/desk_check.h"
#include "model/stream.h"
#include "ui/main/text_codec.h"
#include "ui/main/windowing_services.h"
#include "ui/run/run_controller.h"

#include <QEvent>
#include <QHeaderView>
#include <QPushButton>
#include <QScrollBar>
#include <QTableView>
#include <QVBoxLayout>

TDeskCheckModel::TDeskCheckModel(TRunController& run, QObject* parent)
    : QAbstractTableModel(parent), run_(run) {}

void TDeskCheckModel::Count(uint64_t& first, uint64_t& count) const {
  first = count = 0;
  const TMachine* machine = run_.Machine();
  if (!machine || !machine->History())
    return;
  const TChangeLog& history = *machine->History();
  first = history.First();
  // A step that waits or failed has begun a record but is no row yet.
  count = std::min<uint64_t>(history.Count(), machine->Steps() - first);
}

int TDeskCheckModel::rowCount(const QModelIndex& parent) const {
  return parent.isValid() ? 0 : static_cast<int>(std::min<uint64_t>(count_, INT32_MAX));
}

int TDeskCheckModel::columnCount(const QModelIndex& parent) const {
  return parent.isValid() ? 0 : columns_;
}

QVariant TDeskCheckModel::headerData(int section, Qt::Orientation orientation, int role) const {
  if (role != Qt::DisplayRole || orientation != Qt::Horizontal)
    return QVariant();
  if (section == 0)
    return tr("Schritt");
  if (section == 1)
    return tr("Element");
  const TRunProgram* program = run_.Program();
  if (!program || section - 2 >= static_cast<int>(program->Variables.size()))
    return QVariant();
  return FromCp1252(program->Variables[static_cast<std::size_t>(section - 2)].Name);
}

QVariant TDeskCheckModel::data(const QModelIndex& index, int role) const {
  const TMachine* machine = run_.Machine();
  if (!machine || !index.isValid() || (role != Qt::DisplayRole && role != Qt::FontRole))
    return QVariant();
  const uint64_t step = first_ + static_cast<uint64_t>(index.row());
  const TChangeLog& history = *machine->History();
  const TRunProgram& program = machine->Program();
  if (index.column() < 2) {
    if (role != Qt::DisplayRole)
      return QVariant();
    if (index.column() == 0)
      return QString::number(step + 1);
    const TRunStep& s = program.Steps[history.Record(step).Step];
    return QString::fromUtf8(QuotedElementText(*program.Elements[s.Element].Element).c_str());
  }
  const auto variable = static_cast<std::size_t>(index.column() - 2);
  if (role == Qt::FontRole) {
    QFont font;
    font.setBold(history.Changed(step, variable));
    return font;
  }
  // The view asks for a row's cells one after the other: its values are built once.
  if (cachedRow_ != static_cast<int64_t>(step)) {
    history.ValuesAfter(step, cached_);
    cachedRow_ = static_cast<int64_t>(step);
  }
  return QString::fromUtf8(DeskCheckValue(program, variable, cached_).c_str());
}

void TDeskCheckModel::Reset() {
  beginResetModel();
  Count(first_, count_);
  const TRunProgram* program = run_.Program();
  columns_ = 2 + (program ? static_cast<int>(program->Variables.size()) : 0);
  cachedRow_ = -1;
  endResetModel();
}

void TDeskCheckModel::Follow() {
  uint64_t first = 0, count = 0;
  Count(first, count);
  cachedRow_ = -1;
  if (first != first_ || count < count_) {
    Reset(); // the oldest rows were given up, or steps were taken back
    return;
  }
  if (count > count_) {
    beginInsertRows(QModelIndex(), static_cast<int>(count_), static_cast<int>(count - 1));
    count_ = count;
    endInsertRows();
  }
  if (count_ > 0) // a value changed while the run stood still
    emit dataChanged(index(static_cast<int>(count_ - 1), 2),
                     index(static_cast<int>(count_ - 1), columns_ - 1));
}

TDeskCheckPanel::TDeskCheckPanel(TRunController& run, TWindowingServices& services, QWidget* parent)
    : QDockWidget(parent), run_(run), services_(services), model_(new TDeskCheckModel(run, this)),
      view_(new QTableView), save_(new QPushButton) {
  setObjectName(QStringLiteral("Schreibtischtest"));
  view_->setObjectName(QStringLiteral("SchreibtischtestTabelle"));
  save_->setObjectName(QStringLiteral("AlsCSVspeichern"));
  view_->setModel(model_);
  view_->verticalHeader()->hide();
  view_->verticalHeader()->setDefaultSectionSize(view_->fontMetrics().height() + 4);
  view_->horizontalHeader()->setStretchLastSection(true);
  auto* body = new QWidget;
  auto* layout = new QVBoxLayout(body);
  layout->setContentsMargins(2, 2, 2, 2);
  layout->addWidget(view_);
  layout->addWidget(save_, 0, Qt::AlignRight);
  setWidget(body);
  Retranslate();
  save_->setEnabled(false);
  connect(save_, &QPushButton::clicked, this, [this] { Guarded(services_, [&] { SaveCsv(); }); });
  connect(&run_, &TRunController::RunStarted, this, [this] {
    model_->Reset();
    save_->setEnabled(true);
  });
  connect(&run_, &TRunController::RunEnded, this, [this] {
    model_->Reset();
    save_->setEnabled(false);
  });
  connect(&run_, &TRunController::Advanced, this, [this] {
    QScrollBar* bar = view_->verticalScrollBar();
    const bool atEnd = bar->value() == bar->maximum();
    model_->Follow();
    if (atEnd)
      view_->scrollToBottom();
  });
}

void TDeskCheckPanel::SaveCsv() {
  const TMachine* machine = run_.Machine();
  if (!machine)
    return;
  const std::optional<QString> file =
      services_.SaveFileName(tr("CSV-Datei (*.csv)|*.csv"), QStringLiteral("csv"));
  if (!file)
    return;
  const std::string table = DeskCheckTable(*machine);
  TFileWriteStream stream(FileNameBytes(*file));
  stream.WriteBuffer(table.data(), table.size());
  stream.Commit();
}

void TDeskCheckPanel::Retranslate() {
  setWindowTitle(tr("Schreibtischtest"));
  save_->setText(tr("Als CSV speichern…"));
  emit model_->headerDataChanged(Qt::Horizontal, 0, 1);
}

void TDeskCheckPanel::changeEvent(QEvent* event) {
  QDockWidget::changeEvent(event);
  if (event->type() == QEvent::LanguageChange)
    Retranslate();
}
