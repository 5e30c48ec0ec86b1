// SPDX-License-Identifier: MIT
// The windowing services on real Qt dialogs, message boxes, printer and clipboard.
#pragma once

#include "ui/main/windowing_services.h"

#include <QCoreApplication>
#include <QPointer>
#include <QWidget>

#include <memory>

class QPrinter;

class TQtWindowingServices : public TWindowingServices {
  Q_DECLARE_TR_FUNCTIONS(TQtWindowingServices)

public:
  TQtWindowingServices();
  ~TQtWindowingServices() override;

  // Dialogs and message boxes are centred over this window once it is set.
  void SetDialogParent(QWidget* parent) { parent_ = parent; }

  bool InputQuery(const QString& title, const QString& prompt, QString& text) override;
  void ShowMessage(const QString& text, TMessageKind kind) override;
  TAnswer Ask(const QString& question) override;
  std::optional<QString> OpenFileName(const QString& filter) override;
  std::optional<QString> SaveFileName(const QString& filter, const QString& defaultExt) override;
  QPrinter& Printer() override;
  bool PrintDialog() override;
  void PrintPreview(const std::function<void(QPrinter&, TPrintLayout)>& paint) override;
  std::optional<int> ChooseItem(const QString& title, const QString& prompt,
                                const QStringList& items) override;
  void SetClipboardText(const QString& text) override;
  void SetClipboardElement(const QByteArray& record, const QString& text) override;
  std::optional<QByteArray> ClipboardElement() override;

private:
  QPointer<QWidget> parent_;
  std::unique_ptr<QPrinter> printer_;
  // Both file dialogs propose the name chosen in their previous run; saving and exporting
  // share one dialog and so one name.
  QString lastOpenName_;
  QString lastSaveName_;
};

// "desc|pattern|desc|pattern" as a Qt name filter list ("desc (pattern);;...").
QString QtNameFilters(const QString& filter);
