// SPDX-License-Identifier: MIT
#include "scripted_services.h"

#include <QPrinter>

TScriptedServices::TScriptedServices() = default;
TScriptedServices::~TScriptedServices() = default;

bool TScriptedServices::InputQuery(const QString& title, const QString& prompt, QString& text) {
  Prompts << title + QStringLiteral(": ") + prompt;
  Offered << text;
  if (InputAnswers.empty()) return false;
  const std::optional<QString> answer = InputAnswers.front();
  InputAnswers.pop_front();
  if (!answer) return false;
  text = *answer;
  return true;
}

void TScriptedServices::ShowMessage(const QString& text, TMessageKind kind) {
  Messages.push_back({text, kind});
}

TAnswer TScriptedServices::Ask(const QString& question) {
  Questions << question;
  if (Answers.empty()) return TAnswer::No;
  const TAnswer answer = Answers.front();
  Answers.pop_front();
  return answer;
}

std::optional<QString> TScriptedServices::OpenFileName(const QString& filter) {
  Filters << filter;
  DefaultExtensions << QString();
  if (FileAnswers.empty()) return std::nullopt;
  const std::optional<QString> answer = FileAnswers.front();
  FileAnswers.pop_front();
  return answer;
}

std::optional<QString> TScriptedServices::SaveFileName(const QString& filter,
                                                       const QString& defaultExt) {
  std::optional<QString> answer = OpenFileName(filter);
  DefaultExtensions.back() = defaultExt;
  return answer;
}

QPrinter& TScriptedServices::Printer() {
  if (!printer_) {
    printer_ = std::make_unique<QPrinter>(QPrinter::HighResolution);
    printer_->setOutputFormat(QPrinter::PdfFormat);
  }
  return *printer_;
}

void TScriptedServices::SetPrintFile(const QString& path) { Printer().setOutputFileName(path); }

void TScriptedServices::PrintPreview(const std::function<void(QPrinter&, TPrintLayout)>& paint) {
  Preview = paint;
}

std::optional<int> TScriptedServices::ChooseItem(const QString& title, const QString& prompt,
                                                 const QStringList& items) {
  Prompts << title + QStringLiteral(": ") + prompt;
  ChoiceItems = items;
  if (Choices.empty()) return std::nullopt;
  const std::optional<int> choice = Choices.front();
  Choices.pop_front();
  return choice;
}

bool TScriptedServices::PrintDialog() {
  ++PrintDialogs;
  return PrintAnswer;
}

void TScriptedServices::SetClipboardText(const QString& text) {
  Clipboard = text;
  ClipboardRecord.reset();
}

void TScriptedServices::SetClipboardElement(const QByteArray& record, const QString& text) {
  Clipboard = text;
  ClipboardRecord = record;
}

std::optional<QByteArray> TScriptedServices::ClipboardElement() { return ClipboardRecord; }
