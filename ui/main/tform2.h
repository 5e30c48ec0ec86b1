// SPDX-License-Identifier: MIT
// The main window: the multiple-document frame that owns the document and its undo history,
// carries the menu bar and toolbar, and forwards commands to the active diagram window.
#pragma once

#include "model/element.h"
#include "model/text_search.h"
#include "ui/main/recent_files.h"
#include "ui/main/undo_history.h"

#include <QList>
#include <QMainWindow>
#include <QString>

#include <memory>

#include <string>
#include <vector>

class QAction;
class QMdiArea;
class QMenu;
class QToolBar;
class QToolButton;
class TCheckController;
class TConsolePanel;
class TDeskCheckPanel;
class TForm1;
class TFindDialog;
class TForm3;
class TRunController;
class TVariablesPanel;
class TWindowingServices;
struct TCheckMarks;
class TProblemsPanel;
struct TRunMarks;

class TForm2 : public QMainWindow {
  Q_OBJECT
public:
  // Opens file (empty: none) or starts a new document; see FormCreate.
  TForm2(TWindowingServices& services, const QString& file, QWidget* parent = nullptr);
  ~TForm2() override;

  // The application's main window, which the diagram windows report to; nullptr when none.
  static TForm2* MainForm();

  TOwned<TBlock> Program;
  TUndoHistory History;

  // Undo history (the snapshots live in History).
  void PushUndo();
  void DropNewestUndo();
  // While set, PushUndo takes snapshots the caller drops again before anything could restore
  // them: they shift the history as any snapshot does, but hold nothing.
  void SetSnapshotsDropped(bool dropped) { snapshotsDropped_ = dropped; }
  void Rckgngig1Click(QObject* sender);
  // Redo: steps forward again through what undo took back, until the next change.
  void Wiederherstellen1Click(QObject* sender);
  // Zoom of the active diagram window: a step larger, a step smaller, the original size.
  void Vergrern1Click(QObject* sender);
  void Verkleinern1Click(QObject* sender);
  void Originalgre1Click(QObject* sender);
  // The active diagram window as a flowchart or as a Nassi-Shneiderman diagram.
  void AlsFlussdiagramm1Click(QObject* sender);
  void AlsNassiShneidermanStruktogramm1Click(QObject* sender);
  // The notation items' checks follow the active window.
  void UpdateNotationChecks();
  // Cut, copy and paste of elements, forwarded to the active diagram window.
  void Ausschneiden1Click(QObject* sender);
  void Kopieren1Click(QObject* sender);
  void AusZwischenablageeinfgen1Click(QObject* sender);

  // Find and replace in every text of the program (tform2_find.cpp): the dialog, the next
  // occurrence selected where a window shows it, replacing it, replacing all as one undo step.
  void Suchen1Click(QObject* sender);
  void Weitersuchen1Click(QObject* sender);
  void Ersetzen1Click(QObject* sender);
  TFindDialog* FindDialog();
  bool FindNext();
  void ReplaceFound();
  int ReplaceAll();

  void FormCreate(const QString& file);
  void FormShow();

  void ButtonClick(QObject* sender);
  void Blockvergrern1Click(QObject* sender);
  void BlockinneuemFensteranzeigen1Click(QObject* sender);
  void Programmbeenden1Click(QObject* sender);

  // Whether the document differs from what was last started, made new, loaded or saved; any
  // undo since then counts as a change.
  bool IsModified() const;
  // Asks "Änderungen speichern?" when the document has changed; true when the command may go
  // on ("Nein", or "Ja" and the save succeeded).
  bool MaybeSave();

  // "Datei" menu.
  void Neu1Click(QObject* sender);
  void Struktogrammladen1Click(QObject* sender);
  void Struktogrammspeichern1Click(QObject* sender);
  void InZwischenablage1Click(QObject* sender);
  void Exportieren1Click(QObject* sender);
  void Drucken2Click(QObject* sender);
  // Beyond the original program: pictures of the active window, its print preview, the program
  // in another language on the clipboard, and Pascal source read as a diagram.
  void AlsBildexportieren1Click(QObject* sender);
  void Seitenansicht1Click(QObject* sender);
  void InZwischenablagekopierenals1Click(QObject* sender);
  void PascalQuelltextimportieren1Click(QObject* sender);

  // "Ausführen" menu, beyond the original program: the document's program run in the editor.
  void Starten1Click(QObject* sender);
  void Einzelschritt1Click(QObject* sender);
  void Schrittzurck1Click(QObject* sender);
  void Pause1Click(QObject* sender);
  void Abbrechen1Click(QObject* sender);
  void BiszurAuswahl1Click(QObject* sender);
  void Haltepunktanaus1Click(QObject* sender);
  void AlleHaltepunkteentfernen1Click(QObject* sender);
  TRunController& Run() const { return *run_; }
  // What windows show of a run and the breakpoints; nullptr when there is nothing to show.
  const TRunMarks* RunMarks() const;
  QToolBar* ToolBar2 = nullptr; // "Ausführen", hidden until a run starts or the user shows it
  TVariablesPanel* Variablen1 = nullptr;
  TConsolePanel* EinundAusgabe1 = nullptr;
  TDeskCheckPanel* Schreibtischtest1 = nullptr;

  // Checks while editing, beyond the original program: "Ansicht" → "Prüfungen anzeigen" marks
  // the figures, the panel "Prüfergebnisse" lists the findings (tform2_checks.cpp).
  TCheckController& Checks() const { return *checks_; }
  // The marks windows draw, nullptr while they are not to be shown.
  const TCheckMarks* CheckMarks() const;
  // The findings at e, a line each, while the marks are shown; else empty.
  QString CheckMessages(const TElement* e) const;
  QAction* Prfungenanzeigen1 = nullptr;
  QMenu* Sprache1 = nullptr;
  TProblemsPanel* Prfergebnisse1 = nullptr;
  // Selects target in a window that shows it, the active one first, else in a new window for the
  // named block it lies in, brings that window forward, and edits the text when edit is set.
  // Returns the window, or nullptr where target is not in the document.
  TForm1* ShowElement(const TElement* target, bool edit);

  // Every change of the tree is reported by PushUndo before it and RefreshAll after it; windows
  // keep their measurements while the generation stays the same and no change is under way.
  uint64_t LayoutGeneration() const { return layoutGeneration_; }
  bool TreeChanging() const { return treeChanging_; }

  // Broadcasts to every diagram window, in the frame's order.
  void RefreshAll();
  void UpdateCaptions();
  void ToggleCollapsedEverywhere(TBlock* block);

  // Keeps a deleted block alive while a diagram window still shows it (or a block inside it).
  void KeepDetached(TOwned<TElement> tree);
  // Frees the kept blocks that no open diagram window shows any more.
  void ReleaseUnshownDetached();
  // Before tree (with its successors and everything it holds) is freed: no window may go on
  // selecting, listing as collapsed or marking as drop target any element of it.
  void ForgetElementsOf(const TElement& tree);
  // Before the elements are freed: the run's breakpoints and the checks' findings let go of them.
  void ElementsFreed(const std::vector<const TElement*>& gone);
  int DetachedCount() const { return static_cast<int>(detached_.size()); }
  const std::vector<TOwned<TElement>>& Detached() const { return detached_; }

  // The open diagram windows, in creation order; the first shows the whole program.
  QList<TForm1*> DiagramWindows() const;
  TForm1* FirstWindow() const { return first_; }
  TForm1* ActiveWindow() const;

  TWindowingServices& Services() const { return services_; }
  QMdiArea* MdiArea() const { return mdiArea_; }
  // The counting-loop dialog, created once at start-up after this window.
  void SetCountingLoopDialog(TForm3* dialog) { form3_ = dialog; }
  TForm3* CountingLoopDialog() const { return form3_; }

  QMenuBar* MainMenu1 = nullptr;
  // "Zuletzt geöffnet": the last eight files loaded or saved, filled when it opens.
  QMenu* Zuletztgeffnet1 = nullptr;
  void FillRecentFiles();
  // Loads a file of the list; a file gone since is reported and taken off the list.
  void OpenRecentFile(const QString& file);
  const TRecentFiles& RecentFiles() const { return recent_; }
  QToolBar* ToolBar1 = nullptr;

protected:
  void showEvent(QShowEvent* event) override;
  // "Programm beenden" and the close box: unsaved changes are offered for saving first.
  void closeEvent(QCloseEvent* event) override;
  // A new language installed: every text anew, the figures measured anew with its words.
  void changeEvent(QEvent* event) override;

private:
  static TOwned<TBlock> NewProgram();
  void createActions();
  void createMenus();
  void createToolBar();
  // The run's toolbar, panels and the menu items that switch them (tform2_run.cpp).
  void createRunUi();
  void UpdateRunActions();
  // The texts of the menu bar and toolbar (tform2_menus.cpp), of the run's toolbar
  // (tform2_run.cpp) and of the items added after them, in the language now installed.
  void RetranslateUi();
  void RetranslateRunUi();
  // A frame too small for the panels beside the diagram grows, as far as the screen allows.
  void GrowForPanels();
  // The checks' marks action and panel (tform2_checks.cpp).
  void createCheckUi();
  // "Ansicht" → "Sprache" (tform2_language.cpp).
  void createLanguageMenu();
  void UpdateChecksWanted();
  // Every window but the first is closed and destroyed.
  void CloseSecondaryWindows();
  // Makes block the document: the history is emptied and the first window shows it afresh.
  void ReplaceDocument(TOwned<TBlock> block);
  // partly: reading ended early; otherwise records follow the program that no window shows.
  void ReportDamaged(const QString& file, bool partly);
  // Replaces the document by the file's program and notes the file as recently used.
  void LoadFile(const QString& file);
  // Runs the save dialog and saves; false when the user cancelled.
  bool SaveAs();
  // The document as it stands now is the one the user has on disk (or started with).
  void MarkSaved();

  // Deleted blocks that secondary windows still show.
  std::vector<TOwned<TElement>> detached_;
  TWindowingServices& services_;
  QMdiArea* mdiArea_ = nullptr;
  TForm1* first_ = nullptr;
  TForm3* form3_ = nullptr;
  bool shown_ = false;
  QString damagedFile_;
  std::string savedImage_; // the document's file bytes when it was last saved, loaded or new
  bool undoneSinceSaved_ = false;
  uint64_t layoutGeneration_ = 1;
  bool treeChanging_ = false;
  bool snapshotsDropped_ = false;
  TRecentFiles recent_;
  bool damagedPartly_ = false;
  std::unique_ptr<TRunController> run_;
  std::unique_ptr<TCheckController> checks_;
  bool runUiShown_ = false;
  bool checksPanelShown_ = false;
  TFindDialog* findDialog_ = nullptr;
  TTextMatch found_; // the occurrence found last; its element may be gone since
  void ReportNotFound();
};
