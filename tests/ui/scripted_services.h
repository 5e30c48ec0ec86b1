// SPDX-License-Identifier: MIT
// Windowing services for tests: answers come from scripts, messages and clipboard are recorded,
// and the printer writes a PDF file.
#pragma once

#include "ui/main/windowing_services.h"

#include <QString>
#include <QStringList>

#include <deque>
#include <memory>
#include <optional>
#include <vector>

class QPrinter;

struct TRecordedMessage {
  QString text;
  TMessageKind kind;
};

class TScriptedServices : public TWindowingServices {
public:
  TScriptedServices();
  ~TScriptedServices() override;

  bool InputQuery(const QString& title, const QString& prompt, QString& text) override;
  void ShowMessage(const QString& text, TMessageKind kind) override;
  // Answers from Answers, front first; "Nein" when it is empty, so a command goes on as it
  // would without the question.
  TAnswer Ask(const QString& question) override;
  std::optional<QString> OpenFileName(const QString& filter) override;
  std::optional<QString> SaveFileName(const QString& filter, const QString& defaultExt) override;
  QPrinter& Printer() override;
  bool PrintDialog() override;
  // Keeps what the preview would draw, for the test to call with a printer of its own.
  void PrintPreview(const std::function<void(QPrinter&, TPrintLayout)>& paint) override;
  // Answers from Choices, front first; cancel when it is empty.
  std::optional<int> ChooseItem(const QString& title, const QString& prompt,
                                const QStringList& items) override;
  void SetClipboardText(const QString& text) override;
  void SetClipboardElement(const QByteArray& record, const QString& text) override;
  std::optional<QByteArray> ClipboardElement() override;

  // Where the printer writes its PDF.
  void SetPrintFile(const QString& path);

  // Answers, used front first; an empty script answers "cancel".
  std::deque<std::optional<QString>> InputAnswers;
  std::deque<std::optional<QString>> FileAnswers;
  bool PrintAnswer = true;
  std::deque<TAnswer> Answers;
  std::deque<std::optional<int>> Choices;
  std::function<void(QPrinter&, TPrintLayout)> Preview;
  QStringList ChoiceItems;

  // What the program asked and showed.
  std::vector<TRecordedMessage> Messages;
  QStringList Filters;
  QStringList DefaultExtensions;
  QStringList Prompts;
  QStringList Questions;
  // The text each input started with.
  QStringList Offered;
  std::optional<QString> Clipboard;
  std::optional<QByteArray> ClipboardRecord;
  int PrintDialogs = 0;

private:
  std::unique_ptr<QPrinter> printer_;
};
