// SPDX-License-Identifier: MIT
#include "ui/main/qt_windowing_services.h"

#include <algorithm>

#include <QApplication>
#include <QClipboard>
#include <QFileDialog>
#include <QInputDialog>
#include <QMessageBox>
#include <QMimeData>
#include <QPrintDialog>
#include <QComboBox>
#include <QPrintPreviewDialog>
#include <QPrintPreviewWidget>
#include <QPrinter>
#include <QToolBar>
#include <QPushButton>

TQtWindowingServices::TQtWindowingServices() = default;
TQtWindowingServices::~TQtWindowingServices() = default;

QString QtNameFilters(const QString& filter) {
  const QStringList parts = filter.split(QLatin1Char('|'));
  QStringList filters;
  for (qsizetype i = 0; i + 1 < parts.size(); i += 2) {
    QString pattern = parts.at(i + 1);
    // Qt's "*.*" wants a dot in the name; the filter means every file.
    if (pattern == QLatin1String("*.*")) pattern = QStringLiteral("*");
    pattern.replace(QLatin1Char(';'), QLatin1Char(' '));
    QString description = parts.at(i);
    // Qt takes the patterns from the last parentheses, so those in the description must match.
    const qsizetype open = description.lastIndexOf(QLatin1Char('('));
    if (open >= 0) description = description.left(open).trimmed();
    filters << QStringLiteral("%1 (%2)").arg(description, pattern);
  }
  return filters.join(QStringLiteral(";;"));
}

bool TQtWindowingServices::InputQuery(const QString& title, const QString& prompt,
                                      QString& text) {
  QInputDialog dialog(parent_);
  dialog.setWindowTitle(title);
  dialog.setLabelText(prompt);
  dialog.setTextValue(text);
  dialog.setOkButtonText(tr("OK"));
  dialog.setCancelButtonText(tr("Abbrechen"));
  if (dialog.exec() != QDialog::Accepted) return false;
  text = dialog.textValue();
  return true;
}

void TQtWindowingServices::ShowMessage(const QString& text, TMessageKind kind) {
  QMessageBox box(kind == TMessageKind::Error ? QMessageBox::Critical : QMessageBox::Information,
                  QStringLiteral("Struktogramme"), text, QMessageBox::Ok, parent_);
  box.exec();
}

TAnswer TQtWindowingServices::Ask(const QString& question) {
  QMessageBox box(QMessageBox::Question, QStringLiteral("Struktogramme"), question,
                  QMessageBox::NoButton, parent_);
  QPushButton* yes = box.addButton(tr("Ja"), QMessageBox::YesRole);
  QPushButton* no = box.addButton(tr("Nein"), QMessageBox::NoRole);
  QPushButton* cancel = box.addButton(tr("Abbrechen"), QMessageBox::RejectRole);
  box.setDefaultButton(yes);
  box.setEscapeButton(cancel);
  box.exec();
  if (box.clickedButton() == yes) return TAnswer::Yes;
  if (box.clickedButton() == no) return TAnswer::No;
  return TAnswer::Cancel;
}

std::optional<QString> TQtWindowingServices::OpenFileName(const QString& filter) {
  QFileDialog dialog(parent_, QString(), lastOpenName_, QtNameFilters(filter));
  dialog.setAcceptMode(QFileDialog::AcceptOpen);
  dialog.setFileMode(QFileDialog::ExistingFile);
  if (!lastOpenName_.isEmpty()) dialog.selectFile(lastOpenName_);
  if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return std::nullopt;
  lastOpenName_ = dialog.selectedFiles().first();
  return lastOpenName_;
}

std::optional<QString> TQtWindowingServices::SaveFileName(const QString& filter,
                                                          const QString& defaultExt) {
  QFileDialog dialog(parent_, QString(), lastSaveName_, QtNameFilters(filter));
  dialog.setAcceptMode(QFileDialog::AcceptSave);
  dialog.setFileMode(QFileDialog::AnyFile);
  dialog.setDefaultSuffix(defaultExt);
  // The extension a name without one gets follows the chosen filter.
  QObject::connect(&dialog, &QFileDialog::filterSelected, &dialog,
                   [&dialog, defaultExt](const QString& chosen) {
                     const qsizetype star = chosen.indexOf(QLatin1String("*."));
                     const QString ext = star < 0 ? QString()
                                                  : chosen.mid(star + 2).section(QLatin1Char(')'), 0, 0)
                                                        .section(QLatin1Char(' '), 0, 0);
                     dialog.setDefaultSuffix(ext.isEmpty() || ext == QLatin1String("*") ? defaultExt
                                                                                         : ext);
                   });
  if (!lastSaveName_.isEmpty()) dialog.selectFile(lastSaveName_);
  if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return std::nullopt;
  lastSaveName_ = dialog.selectedFiles().first();
  return lastSaveName_;
}

QPrinter& TQtWindowingServices::Printer() {
  if (!printer_) printer_ = std::make_unique<QPrinter>(QPrinter::HighResolution);
  return *printer_;
}

void TQtWindowingServices::PrintPreview(
    const std::function<void(QPrinter&, TPrintLayout)>& paint) {
  QPrintPreviewDialog dialog(&Printer(), parent_);
  dialog.setWindowTitle(tr("Seitenansicht"));
  auto* layouts = new QComboBox(&dialog);
  layouts->addItems({tr("Wie gedruckt (eine Seite)"),
                     tr("Auf eine Seite verkleinert"),
                     tr("Auf mehrere Seiten verteilt")});
  // First on the toolbar, where a narrow dialog does not hide it behind the overflow button.
  if (auto* tools = dialog.findChild<QToolBar*>()) {
    QAction* first = tools->actions().value(0);
    tools->insertWidget(first, layouts);
    tools->insertSeparator(first);
    // Wide enough that the print button stays in sight too.
    dialog.resize(std::max(900, tools->sizeHint().width() + 40), 700);
  }
  QObject::connect(&dialog, &QPrintPreviewDialog::paintRequested, &dialog, [&](QPrinter* printer) {
    Guarded(*this, [&] { paint(*printer, static_cast<TPrintLayout>(layouts->currentIndex())); });
  });
  QObject::connect(layouts, &QComboBox::currentIndexChanged, &dialog, [&dialog] {
    if (auto* preview = dialog.findChild<QPrintPreviewWidget*>())
      preview->updatePreview();
  });
  dialog.exec();
}

std::optional<int> TQtWindowingServices::ChooseItem(const QString& title, const QString& prompt,
                                                    const QStringList& items) {
  QInputDialog dialog(parent_);
  dialog.setWindowTitle(title);
  dialog.setLabelText(prompt);
  dialog.setComboBoxItems(items);
  dialog.setComboBoxEditable(false);
  dialog.setOkButtonText(tr("OK"));
  dialog.setCancelButtonText(tr("Abbrechen"));
  if (dialog.exec() != QDialog::Accepted)
    return std::nullopt;
  const int index = static_cast<int>(items.indexOf(dialog.textValue()));
  return index >= 0 ? std::optional<int>(index) : std::nullopt;
}

bool TQtWindowingServices::PrintDialog() {
  QPrintDialog dialog(&Printer(), parent_);
  return dialog.exec() == QDialog::Accepted;
}

namespace {

// The private type under which elements travel between editors.
const char* const kElementMime = "application/x-struktogramm-element";

}  // namespace

void TQtWindowingServices::SetClipboardElement(const QByteArray& record, const QString& text) {
  auto* data = new QMimeData;  // the clipboard takes it over
  data->setData(QLatin1String(kElementMime), record);
  data->setText(text);
  QApplication::clipboard()->setMimeData(data);
}

std::optional<QByteArray> TQtWindowingServices::ClipboardElement() {
  const QMimeData* data = QApplication::clipboard()->mimeData();
  if (!data || !data->hasFormat(QLatin1String(kElementMime))) return std::nullopt;
  return data->data(QLatin1String(kElementMime));
}

void TQtWindowingServices::SetClipboardText(const QString& text) {
  QClipboard* clipboard = QApplication::clipboard();
  clipboard->clear();
  clipboard->setText(text);
}
