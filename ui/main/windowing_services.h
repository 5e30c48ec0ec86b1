// SPDX-License-Identifier: MIT
// Everything the windows ask of the desktop besides drawing: dialogs, message boxes, printer and
// clipboard. The editor uses the Qt implementation; tests script their own.
#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <exception>
#include <functional>
#include <optional>

class QPrinter;

enum class TMessageKind { Error, Information };

// The three answers of a question box.
enum class TAnswer { Yes, No, Cancel };

// How the print preview lays out a printout: as "Drucken" prints it (one page, cut at its
// edge), scaled to fit one page, or over as many pages as it needs at full size.
enum class TPrintLayout { AsPrinted, FitPage, Tiled };

class TWindowingServices {
public:
  TWindowingServices() = default;
  TWindowingServices(const TWindowingServices&) = delete;
  TWindowingServices& operator=(const TWindowingServices&) = delete;
  virtual ~TWindowingServices() = default;

  // Modal text input; true when the user pressed OK. On cancel text is left as it was.
  virtual bool InputQuery(const QString& title, const QString& prompt, QString& text) = 0;
  // Message box captioned with the application title, with an OK button.
  virtual void ShowMessage(const QString& text, TMessageKind kind) = 0;
  // Question box captioned with the application title, with "Ja", "Nein" and "Abbrechen";
  // closing it counts as "Abbrechen".
  virtual TAnswer Ask(const QString& question) = 0;
  // filter: "description|pattern|description|pattern...". The chosen file name, or nothing.
  virtual std::optional<QString> OpenFileName(const QString& filter) = 0;
  // As OpenFileName; a name without extension gets defaultExt.
  virtual std::optional<QString> SaveFileName(const QString& filter, const QString& defaultExt) = 0;
  // The printer all print jobs go to; it outlives every job.
  virtual QPrinter& Printer() = 0;
  // Modal print dialog for Printer(); true when printing was confirmed.
  virtual bool PrintDialog() = 0;
  // Modal print preview of what paint draws on Printer(), in the layout the user chooses there;
  // printing from it prints what it shows.
  virtual void PrintPreview(const std::function<void(QPrinter&, TPrintLayout)>& paint) = 0;
  // Modal choice of one of items; the index chosen, or nothing when cancelled.
  virtual std::optional<int> ChooseItem(const QString& title, const QString& prompt,
                                        const QStringList& items) = 0;
  // Replaces the clipboard's contents by plain text.
  virtual void SetClipboardText(const QString& text) = 0;
  // Replaces the clipboard's contents by one element: its structogram record (for pasting into
  // this or another running editor) and its source text (for pasting into a text editor).
  virtual void SetClipboardElement(const QByteArray& record, const QString& text) = 0;
  // The structogram record on the clipboard, or nothing when it holds none.
  virtual std::optional<QByteArray> ClipboardElement() = 0;

  // The default failure report: an error box with the failure's text.
  void ReportFailure(const QString& text) { ShowMessage(text, TMessageKind::Error); }
  void ReportFailure(const std::exception& failure);
};

// Runs a command; a failure it does not handle itself is reported and the command abandoned,
// so the event loop goes on.
template <class F> void Guarded(TWindowingServices& services, F&& command) {
  try {
    command();
  } catch (const std::exception& failure) {
    services.ReportFailure(failure);
  } catch (...) {
    services.ReportFailure(QStringLiteral("Unbekannter Fehler"));
  }
}
