// SPDX-License-Identifier: MIT
#include "ui/checks/problems_panel.h"

#include "ui/main/app_settings.h"
#include "ui/main/text_codec.h"

#include <QAction>
#include <QEvent>
#include <QHeaderView>
#include <QLabel>
#include <QSettings>
#include <QTreeView>
#include <QVBoxLayout>

namespace {

QString SettingKey(TCheck check) {
  return QStringLiteral("Pruefungen/") + QLatin1String(CheckKey(check));
}

} // namespace

TFindingsModel::TFindingsModel(const TCheckController& checks, QObject* parent)
    : QAbstractTableModel(parent), checks_(checks) {}

int TFindingsModel::rowCount(const QModelIndex& parent) const {
  return parent.isValid() ? 0 : static_cast<int>(checks_.Findings().size());
}

int TFindingsModel::columnCount(const QModelIndex& parent) const {
  return parent.isValid() ? 0 : 3;
}

QVariant TFindingsModel::headerData(int section, Qt::Orientation orientation, int role) const {
  if (role != Qt::DisplayRole || orientation != Qt::Horizontal)
    return QVariant();
  switch (section) {
  case 0:
    return tr("Element");
  case 1:
    return tr("Meldung");
  default:
    return tr("Ort");
  }
}

QVariant TFindingsModel::data(const QModelIndex& index, int role) const {
  if (!index.isValid() || index.row() >= rowCount())
    return QVariant();
  const TCheckController::TShown& f = checks_.Findings()[static_cast<std::size_t>(index.row())];
  if (role == Qt::ToolTipRole)
    return QString::fromStdString(f.Message);
  if (role != Qt::DisplayRole)
    return QVariant();
  switch (index.column()) {
  case 0:
    return FromCp1252(f.Element->Text);
  case 1:
    return QString::fromStdString(f.Why);
  default:
    return QString::fromStdString(f.Path);
  }
}

void TFindingsModel::Reset() {
  beginResetModel();
  endResetModel();
}

TProblemsPanel::TProblemsPanel(TCheckController& checks, QWidget* parent)
    : QDockWidget(parent), checks_(checks) {
  setObjectName(QStringLiteral("Prfergebnisse"));
  auto* content = new QWidget(this);
  auto* layout = new QVBoxLayout(content);
  layout->setContentsMargins(2, 2, 2, 2);
  summary_ = new QLabel(content);
  summary_->setObjectName(QStringLiteral("Befunde"));
  model_ = new TFindingsModel(checks_, this);
  view_ = new QTreeView(content);
  view_->setObjectName(QStringLiteral("Befundliste"));
  view_->setModel(model_);
  view_->setRootIsDecorated(false);
  view_->setUniformRowHeights(true); // thousands of rows scroll without measuring each
  view_->setAllColumnsShowFocus(true);
  view_->setSelectionBehavior(QAbstractItemView::SelectRows);
  view_->setEditTriggers(QAbstractItemView::NoEditTriggers);
  view_->header()->setStretchLastSection(true);
  view_->setColumnWidth(0, 180);
  view_->setColumnWidth(1, 330);
  layout->addWidget(summary_);
  layout->addWidget(view_);
  setWidget(content);

  // The checks, each switched on and off in the list's context menu.
  view_->setContextMenuPolicy(Qt::ActionsContextMenu);
  const TCheckSet kept = KeptChecks();
  for (int i = 0; i < kCheckCount; ++i) {
    const auto check = static_cast<TCheck>(i);
    auto* action = new QAction(view_);
    action->setObjectName(QStringLiteral("Pruefung_") + QLatin1String(CheckKey(check)));
    action->setCheckable(true);
    action->setChecked((kept >> i) & 1u);
    connect(action, &QAction::toggled, this, [this, check](bool on) {
      QSettings(QLatin1String(kSettingsName), QLatin1String(kSettingsName))
          .setValue(SettingKey(check), on);
      const TCheckSet bit = 1u << static_cast<int>(check);
      checks_.SetEnabled(on ? checks_.Enabled() | bit : checks_.Enabled() & ~bit);
    });
    view_->addAction(action);
    actions_[i] = action;
  }
  checks_.SetEnabled(kept);
  Retranslate();

  connect(view_, &QTreeView::clicked, this, [this](const QModelIndex& index) {
    if (const TElement* e = ElementAt(index))
      emit ElementClicked(e);
  });
  connect(view_, &QTreeView::activated, this, [this](const QModelIndex& index) {
    if (const TElement* e = ElementAt(index))
      emit ElementClicked(e);
  });
  connect(view_, &QTreeView::doubleClicked, this, [this](const QModelIndex& index) {
    if (const TElement* e = ElementAt(index))
      emit ElementDoubleClicked(e);
  });
  connect(&checks_, &TCheckController::FindingsChanged, this, [this] {
    model_->Reset();
    Update();
  });
  Update();
}

TCheckSet TProblemsPanel::KeptChecks() {
  const QSettings settings{QLatin1String(kSettingsName), QLatin1String(kSettingsName)};
  TCheckSet set = 0;
  for (int i = 0; i < kCheckCount; ++i)
    if (settings.value(SettingKey(static_cast<TCheck>(i)), true).toBool())
      set |= 1u << i;
  return set;
}

const TElement* TProblemsPanel::ElementAt(const QModelIndex& index) const {
  const auto& findings = checks_.Findings();
  if (!index.isValid() || index.row() < 0 || index.row() >= static_cast<int>(findings.size()))
    return nullptr;
  return findings[static_cast<std::size_t>(index.row())].Element;
}

void TProblemsPanel::Update() {
  const std::size_t n = checks_.Findings().size();
  summary_->setText(n == 0   ? tr("Keine Befunde.")
                    : n == 1 ? tr("1 Befund:")
                             : tr("%1 Befunde:").arg(n));
}

void TProblemsPanel::Retranslate() {
  setWindowTitle(tr("Prüfergebnisse"));
  for (int i = 0; i < kCheckCount; ++i)
    actions_[i]->setText(QString::fromStdString(CheckTitle(static_cast<TCheck>(i))));
  emit model_->headerDataChanged(Qt::Horizontal, 0, 2);
  Update();
}

void TProblemsPanel::changeEvent(QEvent* event) {
  QDockWidget::changeEvent(event);
  if (event->type() == QEvent::LanguageChange)
    Retranslate();
}
