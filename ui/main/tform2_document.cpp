// SPDX-License-Identifier: MIT
// The main window's document commands: new, load, save, export, print, clipboard and import,
// and whether the document has unsaved changes.
#include "ui/main/tform2.h"

#include "language/language_export.h"
#include "language/pascal_import.h"
#include "model/stream.h"
#include "model/structogram_file.h"
#include "render/picture_export.h"
#include "render/qt_surface.h"
#include "ui/diagram/tform1.h"
#include "ui/main/print_layout.h"
#include "ui/main/text_codec.h"
#include "ui/main/windowing_services.h"

#include <QDir>
#include <QFileInfo>
#include <QMenu>
#include <QPainter>
#include <QPointer>
#include <QPrinter>

#include <stdexcept>

TOwned<TBlock> TForm2::NewProgram() {
  // The title a new program has is the user's text, in the user's language.
  TOwned<TBlock> program = TBlock::CreateWithText(ToCp1252(tr("gesamtes Programm")));
  program->Independent = false;
  program->Bracketed = false;
  return program;
}

namespace {

const char* const kStructogramFilter =
    QT_TRANSLATE_NOOP("TForm2", "Struktogramme (*.str)|*.str|Alle Dateien|*.*");
// Pascal first and by default, as the original program offers it; the other languages follow.
const char* const kSourceFilter = QT_TRANSLATE_NOOP(
    "TForm2", "Quellcode (*.pas)|*.pas|Python-Quellcode (*.py)|*.py|Java-Quellcode (*.java)|*.java|"
              "C-Quellcode (*.c)|*.c|Alle Dateien|*.*");
const char* const kPictureFilter = QT_TRANSLATE_NOOP(
    "TForm2", "PNG-Bild (*.png)|*.png|SVG-Bild (*.svg)|*.svg|PDF-Dokument (*.pdf)|*.pdf");
const char* const kPascalFilter =
    QT_TRANSLATE_NOOP("TForm2", "Pascal-Quelltext (*.pas)|*.pas|Alle Dateien|*.*");

// The file bytes of a document, for telling whether it changed.
std::string DocumentImage(const TBlock& program) {
  TMemoryStream image;
  SaveDocument(program, image);
  return image.Data;
}

} // namespace

void TForm2::MarkSaved() {
  savedImage_ = DocumentImage(*Program);
  undoneSinceSaved_ = false;
}

bool TForm2::IsModified() const {
  if (undoneSinceSaved_)
    return true;
  try {
    return DocumentImage(*Program) != savedImage_;
  } catch (const std::exception&) {
    return true; // a document that cannot be written is certainly not saved
  }
}

bool TForm2::MaybeSave() {
  if (!IsModified())
    return true;
  switch (services_.Ask(tr("Änderungen speichern?"))) {
  case TAnswer::No:
    return true;
  case TAnswer::Cancel:
    return false;
  case TAnswer::Yes:
    break;
  }
  try {
    return SaveAs();
  } catch (const std::exception& failure) {
    services_.ReportFailure(failure);
    return false;
  }
}

void TForm2::Neu1Click(QObject*) {
  if (!MaybeSave())
    return;
  ReplaceDocument(NewProgram());
}

void TForm2::Struktogrammladen1Click(QObject*) {
  if (!MaybeSave())
    return;
  const std::optional<QString> file = services_.OpenFileName(tr(kStructogramFilter));
  if (!file)
    return;
  LoadFile(*file);
}

void TForm2::LoadFile(const QString& file) {
  // A file that cannot be opened or read throws before anything is replaced.
  TLoadResult loaded = LoadDocumentFile(FileNameBytes(file));
  loaded.Root->Independent = false;
  loaded.Root->Bracketed = false;
  ReplaceDocument(std::move(loaded.Root));
  recent_.Add(file);
  if (loaded.Damaged || loaded.TrailingRecords)
    ReportDamaged(file, loaded.Damaged);
}

void TForm2::FillRecentFiles() {
  Zuletztgeffnet1->clear();
  const QStringList files = recent_.Files();
  if (files.isEmpty()) {
    Zuletztgeffnet1->addAction(tr("(keine)"))->setEnabled(false);
    return;
  }
  for (int i = 0; i < files.size(); ++i) {
    const QString file = files[i];
    QAction* action = Zuletztgeffnet1->addAction(
        QStringLiteral("&%1 %2").arg(i + 1).arg(QDir::toNativeSeparators(file)));
    connect(action, &QAction::triggered, this,
            [this, file] { Guarded(services_, [&] { OpenRecentFile(file); }); });
  }
}

void TForm2::OpenRecentFile(const QString& file) {
  if (!QFileInfo::exists(file)) {
    recent_.Remove(file);
    services_.ShowMessage(
        tr("Die Datei %1 gibt es nicht mehr; sie wurde aus der Liste genommen.").arg(file),
        TMessageKind::Information);
    return;
  }
  if (!MaybeSave())
    return;
  LoadFile(file);
}

void TForm2::Struktogrammspeichern1Click(QObject*) {
  SaveAs();
}

bool TForm2::SaveAs() {
  const std::optional<QString> file =
      services_.SaveFileName(tr(kStructogramFilter), QStringLiteral("str"));
  if (!file)
    return false;
  SaveDocumentFile(*Program, FileNameBytes(*file));
  MarkSaved();
  recent_.Add(*file);
  return true;
}

void TForm2::InZwischenablage1Click(QObject*) {
  services_.SetClipboardText(FromCp1252(ExportProgram(*Program)));
}

void TForm2::Exportieren1Click(QObject*) {
  const std::optional<QString> file =
      services_.SaveFileName(tr(kSourceFilter), QStringLiteral("pas"));
  if (!file)
    return;
  // The file's extension names the language; any other file gets Pascal.
  const std::string path = FileNameBytes(*file);
  ExportProgramFileAs(*Program, LanguageForPath(path).value_or(TSourceLanguage::Pascal), path);
}

void TForm2::InZwischenablagekopierenals1Click(QObject*) {
  QStringList names;
  for (TSourceLanguage language : kSourceLanguages)
    names << QString::fromUtf8(LanguageName(language));
  const std::optional<int> chosen =
      services_.ChooseItem(tr("In Zwischenablage kopieren als"), tr("Sprache:"), names);
  if (!chosen)
    return;
  const TSourceLanguage language = kSourceLanguages[*chosen];
  const std::string source = ExportProgramAs(*Program, language, "Programm");
  // Pascal keeps the program's own bytes; the other languages are written as UTF-8.
  services_.SetClipboardText(
      language == TSourceLanguage::Pascal
          ? FromCp1252(source)
          : QString::fromUtf8(source.data(), static_cast<qsizetype>(source.size())));
}

void TForm2::PascalQuelltextimportieren1Click(QObject*) {
  if (!MaybeSave())
    return;
  const std::optional<QString> file = services_.OpenFileName(tr(kPascalFilter));
  if (!file)
    return;
  // A source that is no Pascal throws with line and column before anything is replaced.
  TOwned<TBlock> imported = ImportPascalFile(FileNameBytes(*file));
  ReplaceDocument(std::move(imported));
  // Nothing of it is saved as a structogram yet.
  savedImage_.clear();
}

void TForm2::AlsBildexportieren1Click(QObject*) {
  TForm1* window = ActiveWindow();
  if (!window)
    return;
  const std::optional<QString> file =
      services_.SaveFileName(tr(kPictureFilter), QStringLiteral("png"));
  if (!file)
    return;
  ExportPicture(*window->Root, FileNameBytes(*file), window->Display.get());
}

void TForm2::Seitenansicht1Click(QObject*) {
  TForm1* window = ActiveWindow();
  if (!window)
    return;
  QPrinter& printer = services_.Printer();
  printer.setResolution(300);
  printer.setDocName(window->Caption());
  const QPointer<TForm1> shown(window);
  services_.PrintPreview([shown](QPrinter& target, TPrintLayout layout) {
    if (shown)
      PrintWindow(target, *shown, layout);
  });
}

void TForm2::Drucken2Click(QObject*) {
  TForm1* window = ActiveWindow();
  if (!window)
    return;
  if (!services_.PrintDialog())
    return;
  QPrinter& printer = services_.Printer();
  // Figures are laid out in printer dots, unscaled; 300 dots per inch keep them a sensible size.
  printer.setResolution(300);
  printer.setDocName(window->Caption());
  QPainter painter;
  if (!painter.begin(&printer))
    throw std::runtime_error(tr("Der Drucker kann nicht verwendet werden.").toStdString());
  QtSurface surface(painter, PrintFont(printer.resolution()));
  window->PrintStruktogramm(surface);
  painter.end();
}
