<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="en_US">
<context>
    <name>Befehlszeile</name>
    <message>
        <source>Warnung: Die Datei %1 ist beschädigt und wurde nur teilweise gelesen.</source>
        <translation>Warning: the file %1 is damaged and was read only in part.</translation>
    </message>
    <message>
        <source>Warnung: Die Datei %1 enthält Daten hinter dem Programm; sie werden mitgeschrieben, aber nicht gezeigt.</source>
        <translation>Warning: the file %1 holds data after the program; it is written along but not shown.</translation>
    </message>
    <message>
        <source>Aufruf: struktogramme --run DATEI [--max-steps N] [--trace TABELLE.csv] [--seed N] (DATEI ist ein Struktogramm .str oder Pascal-Quelltext .pas)</source>
        <translation>Usage: struktogramme --run FILE [--max-steps N] [--trace TABLE.csv] [--seed N] (FILE is a structogram .str or Pascal source .pas)</translation>
    </message>
    <message>
        <source>Aufruf: struktogramme --check DATEI</source>
        <translation>Usage: struktogramme --check FILE</translation>
    </message>
    <message>
        <source>Der Lauf wurde nach %1 Schritten abgebrochen (--max-steps).</source>
        <translation>The run was stopped after %1 steps (--max-steps).</translation>
    </message>
    <message>
        <source>Aufruf: struktogramme --export AUSGABE EINGABE (AUSGABE endet auf .str, .pas, .py, .java, .c, .png, .svg oder .pdf; EINGABE ist ein Struktogramm oder Pascal-Quelltext .pas)</source>
        <translation>Usage: struktogramme --export OUTPUT INPUT (OUTPUT ends in .str, .pas, .py, .java, .c, .png, .svg or .pdf; INPUT is a structogram or Pascal source .pas)</translation>
    </message>
    <message>
        <source>%1 kann nicht gestartet werden: %2</source>
        <translation>%1 cannot be started: %2</translation>
    </message>
    <message>
        <source>Das Programm struktogramme-editor fehlt neben %1.</source>
        <translation>The program struktogramme-editor is missing beside %1.</translation>
    </message>
    <message>
        <source>Struktogramme: Programme als Fluss-Diagramme entwerfen.

Ohne --export startet der Editor und öffnet die angegebene Datei.
Mit --export AUSGABE wird EINGABE ohne Fenster umgewandelt; das Format folgt der
Endung von AUSGABE: .str (Struktogramm), .pas (Pascal), .py (Python 3), .java (Java),
.c (C), .png, .svg, .pdf (Bild). EINGABE ist ein Struktogramm (.str) oder
Pascal-Quelltext (.pas), aus dem ein Struktogramm erzeugt wird.

Mit --run DATEI läuft das Programm ohne Fenster, mit Ein- und Ausgabe auf der
Konsole; --max-steps N bricht nach N Schritten ab, --trace TABELLE.csv schreibt den
Schreibtischtest (jeder Schritt mit den Werten aller Variablen), --seed N startet die
Zufallszahlen immer gleich.</source>
        <translation>Struktogramme: design programs as flowcharts.

Without --export the editor starts and opens the file given.
With --export OUTPUT, INPUT is converted without a window; the format follows the
extension of OUTPUT: .str (structogram), .pas (Pascal), .py (Python 3), .java (Java),
.c (C), .png, .svg, .pdf (picture). INPUT is a structogram (.str) or
Pascal source (.pas), from which a structogram is built.

With --run FILE the program runs without a window, with input and output on the
console; --max-steps N stops after N steps, --trace TABLE.csv writes the
desk check (every step with the values of all variables), --seed N starts the
random numbers the same way every time.</translation>
    </message>
    <message>
        <source>Wandelt DATEI ohne Fenster in AUSGABE um.</source>
        <translation>Converts FILE into OUTPUT without a window.</translation>
    </message>
    <message>
        <source>AUSGABE</source>
        <translation>OUTPUT</translation>
    </message>
    <message>
        <source>Bilder mit --export als Flussdiagramm (flow, so ohne Angabe) oder als Nassi-Shneiderman-Struktogramm (nsd).</source>
        <translation>Pictures from --export as a flowchart (flow, the default) or as a Nassi-Shneiderman diagram (nsd).</translation>
    </message>
    <message>
        <source>ART</source>
        <translation>KIND</translation>
    </message>
    <message>
        <source>Führt DATEI ohne Fenster aus.</source>
        <translation>Runs FILE without a window.</translation>
    </message>
    <message>
        <source>DATEI</source>
        <translation>FILE</translation>
    </message>
    <message>
        <source>Bricht den Lauf nach N Schritten ab.</source>
        <translation>Stops the run after N steps.</translation>
    </message>
    <message>
        <source>Schreibt den Schreibtischtest als CSV.</source>
        <translation>Writes the desk check as CSV.</translation>
    </message>
    <message>
        <source>TABELLE</source>
        <translation>TABLE</translation>
    </message>
    <message>
        <source>Startwert der Zufallszahlen.</source>
        <translation>Seed of the random numbers.</translation>
    </message>
    <message>
        <source>Prüft DATEI und nennt, was nach einem Fehler aussieht.</source>
        <translation>Checks FILE and names what looks like a mistake.</translation>
    </message>
    <message>
        <source>Sprache für diesen Start: de (Deutsch, so ohne Angabe) oder en (Englisch).</source>
        <translation>Language for this start: de (German, the default) or en (English).</translation>
    </message>
    <message>
        <source>SPRACHE</source>
        <translation>LANGUAGE</translation>
    </message>
    <message>
        <source>Struktogramm-Datei (*.str); mit --export auch Pascal-Quelltext (*.pas)</source>
        <translation>Structogram file (*.str); with --export also Pascal source (*.pas)</translation>
    </message>
    <message>
        <source>[DATEI]</source>
        <translation>[FILE]</translation>
    </message>
    <message>
        <source>Aufruf: struktogramme --export AUSGABE EINGABE</source>
        <translation>Usage: struktogramme --export OUTPUT INPUT</translation>
    </message>
    <message>
        <source>Aufruf: --notation flow oder --notation nsd</source>
        <translation>Usage: --notation flow or --notation nsd</translation>
    </message>
</context>
<context>
    <name>Drucken</name>
    <message>
        <source>Seite %1 von %2</source>
        <translation>Page %1 of %2</translation>
    </message>
</context>
<context>
    <name>TApplication</name>
    <message>
        <source>Unbekannter Fehler</source>
        <translation>Unknown error</translation>
    </message>
</context>
<context>
    <name>TConsolePanel</name>
    <message>
        <source>Ein- und Ausgabe</source>
        <translation>Input and Output</translation>
    </message>
    <message>
        <source>Ende der Eingabe</source>
        <translation>End of Input</translation>
    </message>
    <message>
        <source>Eingabe für read und readln, mit Enter abschicken</source>
        <translation>Input for read and readln, send with Enter</translation>
    </message>
    <message>
        <source>Das Programm liest danach das Ende der Eingabe</source>
        <translation>After this the program reads the end of the input</translation>
    </message>
</context>
<context>
    <name>TDeskCheckModel</name>
    <message>
        <source>Schritt</source>
        <translation>Step</translation>
    </message>
    <message>
        <source>Element</source>
        <translation>Element</translation>
    </message>
</context>
<context>
    <name>TDeskCheckPanel</name>
    <message>
        <source>Schreibtischtest</source>
        <translation>Desk Check</translation>
    </message>
    <message>
        <source>Als CSV speichern…</source>
        <translation>Save as CSV…</translation>
    </message>
    <message>
        <source>CSV-Datei (*.csv)|*.csv</source>
        <translation>CSV file (*.csv)|*.csv</translation>
    </message>
</context>
<context>
    <name>TFindDialog</name>
    <message>
        <source>Suchen &amp;nach:</source>
        <translation>Find &amp;what:</translation>
    </message>
    <message>
        <source>Ersetzen &amp;durch:</source>
        <translation>Replace wit&amp;h:</translation>
    </message>
    <message>
        <source>Nur ganze &amp;Wörter</source>
        <translation>Whole &amp;words only</translation>
    </message>
    <message>
        <source>&amp;Groß-/Kleinschreibung beachten</source>
        <translation>Match &amp;case</translation>
    </message>
    <message>
        <source>&amp;Weitersuchen</source>
        <translation>Find &amp;Next</translation>
    </message>
    <message>
        <source>&amp;Ersetzen</source>
        <translation>&amp;Replace</translation>
    </message>
    <message>
        <source>&amp;Alle ersetzen</source>
        <translation>Replace &amp;All</translation>
    </message>
    <message>
        <source>Schließen</source>
        <translation>Close</translation>
    </message>
    <message>
        <source>Ersetzen</source>
        <translation>Replace</translation>
    </message>
    <message>
        <source>Suchen</source>
        <translation>Find</translation>
    </message>
</context>
<context>
    <name>TFindingsModel</name>
    <message>
        <source>Element</source>
        <translation>Element</translation>
    </message>
    <message>
        <source>Meldung</source>
        <translation>Message</translation>
    </message>
    <message>
        <source>Ort</source>
        <translation>Location</translation>
    </message>
</context>
<context>
    <name>TForm1</name>
    <message>
        <source>Anweisung</source>
        <translation>Statement</translation>
    </message>
    <message>
        <source>Entscheidung</source>
        <translation>Decision</translation>
    </message>
    <message>
        <source>Schleife (Test vorher)</source>
        <translation>Loop (test before)</translation>
    </message>
    <message>
        <source>Schleife (Test danach)</source>
        <translation>Loop (test after)</translation>
    </message>
    <message>
        <source>Zählschleife</source>
        <translation>Counting loop</translation>
    </message>
    <message>
        <source>Text bearbeiten</source>
        <translation>Edit text</translation>
    </message>
    <message>
        <source>Genauer bestimmen</source>
        <translation>Refine</translation>
    </message>
    <message>
        <source>Löschen</source>
        <translation>Delete</translation>
    </message>
    <message>
        <source>Anzeige verkleinern/vergrößern</source>
        <translation>Collapse/expand display</translation>
    </message>
    <message>
        <source>In neuem Fenster anzeigen</source>
        <translation>Show in new window</translation>
    </message>
    <message>
        <source>Ausschneiden</source>
        <translation>Cut</translation>
    </message>
    <message>
        <source>Kopieren</source>
        <translation>Copy</translation>
    </message>
    <message>
        <source>Aus Zwischenablage einfügen</source>
        <translation>Paste from clipboard</translation>
    </message>
    <message>
        <source>Komplettes Programm</source>
        <translation>Complete program</translation>
    </message>
    <message>
        <source>Einfügen</source>
        <translation>Insert</translation>
    </message>
    <message>
        <source>Das Struktogramm kann nicht tiefer als %1 Ebenen verschachtelt werden.</source>
        <translation>The structogram cannot be nested deeper than %1 levels.</translation>
    </message>
    <message>
        <source>Gib eine neue Anweisung ein:</source>
        <translation>Enter a new statement:</translation>
    </message>
    <message>
        <source>If-Anweisung</source>
        <translation>If statement</translation>
    </message>
    <message>
        <source>Gib eine neue Bedingung ein:</source>
        <translation>Enter a new condition:</translation>
    </message>
    <message>
        <source>Anweisungsblock</source>
        <translation>Statement block</translation>
    </message>
    <message>
        <source>Gib eine neue Bezeichnung ein:</source>
        <translation>Enter a new name:</translation>
    </message>
    <message>
        <source>Schleife</source>
        <translation>Loop</translation>
    </message>
    <message>
        <source>Nur Anweisungen können genauer spezifiziert werden</source>
        <translation>Only statements can be refined</translation>
    </message>
</context>
<context>
    <name>TForm2</name>
    <message>
        <source>Der Drucker kann nicht verwendet werden.</source>
        <translation>The printer cannot be used.</translation>
    </message>
    <message>
        <source>Datei</source>
        <translation>File</translation>
    </message>
    <message>
        <source>Bearbeiten</source>
        <translation>Edit</translation>
    </message>
    <message>
        <source>Ansicht</source>
        <translation>View</translation>
    </message>
    <message>
        <source>Ausführen</source>
        <translation>Run</translation>
    </message>
    <message>
        <source>Neu</source>
        <translation>New</translation>
    </message>
    <message>
        <source>Struktogramm laden</source>
        <translation>Open structogram</translation>
    </message>
    <message>
        <source>Struktogramm speichern</source>
        <translation>Save structogram</translation>
    </message>
    <message>
        <source>In Zwischenablage kopieren</source>
        <translation>Copy to clipboard</translation>
    </message>
    <message>
        <source>Exportieren</source>
        <translation>Export</translation>
    </message>
    <message>
        <source>Drucken</source>
        <translation>Print</translation>
    </message>
    <message>
        <source>Programm beenden</source>
        <translation>Quit</translation>
    </message>
    <message>
        <source>Zuletzt geöffnet</source>
        <translation>Recently opened</translation>
    </message>
    <message>
        <source>Als Bild exportieren…</source>
        <translation>Export as picture…</translation>
    </message>
    <message>
        <source>Seitenansicht…</source>
        <translation>Print preview…</translation>
    </message>
    <message>
        <source>In Zwischenablage kopieren als…</source>
        <translation>Copy to clipboard as…</translation>
    </message>
    <message>
        <source>Pascal-Quelltext importieren…</source>
        <translation>Import Pascal source…</translation>
    </message>
    <message>
        <source>Rückgängig</source>
        <translation>Undo</translation>
    </message>
    <message>
        <source>Anweisung einfügen</source>
        <translation>Insert statement</translation>
    </message>
    <message>
        <source>Entscheidung einfügen</source>
        <translation>Insert decision</translation>
    </message>
    <message>
        <source>Schleife (Test vorher)</source>
        <translation>Loop (test before)</translation>
    </message>
    <message>
        <source>Schleife (Test danach)</source>
        <translation>Loop (test after)</translation>
    </message>
    <message>
        <source>Zählschleife einfügen</source>
        <translation>Insert counting loop</translation>
    </message>
    <message>
        <source>Wiederherstellen</source>
        <translation>Redo</translation>
    </message>
    <message>
        <source>Ausschneiden</source>
        <translation>Cut</translation>
    </message>
    <message>
        <source>Kopieren</source>
        <translation>Copy</translation>
    </message>
    <message>
        <source>Aus Zwischenablage einfügen</source>
        <translation>Paste from clipboard</translation>
    </message>
    <message>
        <source>Suchen…</source>
        <translation>Find…</translation>
    </message>
    <message>
        <source>Weitersuchen</source>
        <translation>Find next</translation>
    </message>
    <message>
        <source>Ersetzen…</source>
        <translation>Replace…</translation>
    </message>
    <message>
        <source>Block vergrößern/verkleinern</source>
        <translation>Expand/collapse block</translation>
    </message>
    <message>
        <source>Block in neuem Fenster anzeigen</source>
        <translation>Show block in new window</translation>
    </message>
    <message>
        <source>Vergrößern</source>
        <translation>Zoom in</translation>
    </message>
    <message>
        <source>Verkleinern</source>
        <translation>Zoom out</translation>
    </message>
    <message>
        <source>Originalgröße</source>
        <translation>Actual size</translation>
    </message>
    <message>
        <source>Als Flussdiagramm</source>
        <translation>As flowchart</translation>
    </message>
    <message>
        <source>Als Nassi-Shneiderman-Struktogramm</source>
        <translation>As Nassi-Shneiderman diagram</translation>
    </message>
    <message>
        <source>Starten</source>
        <translation>Start</translation>
    </message>
    <message>
        <source>Einzelschritt</source>
        <translation>Single step</translation>
    </message>
    <message>
        <source>Schritt zurück</source>
        <translation>Step back</translation>
    </message>
    <message>
        <source>Pause</source>
        <translation>Pause</translation>
    </message>
    <message>
        <source>Abbrechen</source>
        <translation>Stop</translation>
    </message>
    <message>
        <source>Bis zur Auswahl</source>
        <translation>Run to selection</translation>
    </message>
    <message>
        <source>Haltepunkt an/aus</source>
        <translation>Toggle breakpoint</translation>
    </message>
    <message>
        <source>Alle Haltepunkte entfernen</source>
        <translation>Remove all breakpoints</translation>
    </message>
    <message>
        <source>Anweisung</source>
        <translation>Statement</translation>
    </message>
    <message>
        <source>Entscheidung</source>
        <translation>Decision</translation>
    </message>
    <message>
        <source>Zählschleife</source>
        <translation>Counting loop</translation>
    </message>
    <message>
        <source>Schleife (Test hinterher)</source>
        <translation>Loop (test after)</translation>
    </message>
    <message>
        <source>Fluss-Diagramme zeichnen</source>
        <translation>Draw flowcharts</translation>
    </message>
    <message>
        <source>Die Datei %1 ist beschädigt; sie wurde nur teilweise geladen.</source>
        <translation>The file %1 is damaged; it was loaded only in part.</translation>
    </message>
    <message>
        <source>Die Datei %1 enthält Daten hinter dem Programm; sie werden beim Speichern mitgeschrieben, aber nicht angezeigt.</source>
        <translation>The file %1 holds data after the program; it is written along when saving but not shown.</translation>
    </message>
    <message>
        <source>Prüfungen anzeigen</source>
        <translation>Show checks</translation>
    </message>
    <message>
        <source>gesamtes Programm</source>
        <translation>whole program</translation>
    </message>
    <message>
        <source>Struktogramme (*.str)|*.str|Alle Dateien|*.*</source>
        <translation>Structograms (*.str)|*.str|All files|*.*</translation>
    </message>
    <message>
        <source>Quellcode (*.pas)|*.pas|Python-Quellcode (*.py)|*.py|Java-Quellcode (*.java)|*.java|C-Quellcode (*.c)|*.c|Alle Dateien|*.*</source>
        <translation>Source code (*.pas)|*.pas|Python source (*.py)|*.py|Java source (*.java)|*.java|C source (*.c)|*.c|All files|*.*</translation>
    </message>
    <message>
        <source>PNG-Bild (*.png)|*.png|SVG-Bild (*.svg)|*.svg|PDF-Dokument (*.pdf)|*.pdf</source>
        <translation>PNG picture (*.png)|*.png|SVG picture (*.svg)|*.svg|PDF document (*.pdf)|*.pdf</translation>
    </message>
    <message>
        <source>Pascal-Quelltext (*.pas)|*.pas|Alle Dateien|*.*</source>
        <translation>Pascal source (*.pas)|*.pas|All files|*.*</translation>
    </message>
    <message>
        <source>Änderungen speichern?</source>
        <translation>Save changes?</translation>
    </message>
    <message>
        <source>(keine)</source>
        <translation>(none)</translation>
    </message>
    <message>
        <source>Die Datei %1 gibt es nicht mehr; sie wurde aus der Liste genommen.</source>
        <translation>The file %1 no longer exists; it was taken off the list.</translation>
    </message>
    <message>
        <source>In Zwischenablage kopieren als</source>
        <translation>Copy to clipboard as</translation>
    </message>
    <message>
        <source>Sprache:</source>
        <translation>Language:</translation>
    </message>
    <message>
        <source>»%1« wurde nicht gefunden.</source>
        <translation>»%1« was not found.</translation>
    </message>
    <message>
        <source>1 Stelle wurde ersetzt.</source>
        <translation>1 occurrence was replaced.</translation>
    </message>
    <message>
        <source>%1 Stellen wurden ersetzt.</source>
        <translation>%1 occurrences were replaced.</translation>
    </message>
    <message>
        <source>Sprache</source>
        <translation>Language</translation>
    </message>
    <message>
        <source>Die Sprache wechselt beim nächsten Start des Programms.</source>
        <translation>The language changes the next time the program starts.</translation>
    </message>
    <message>
        <source>Pause zwischen zwei Schritten beim Starten</source>
        <translation>Pause between two steps when started</translation>
    </message>
    <message>
        <source>Pause: keine</source>
        <translation>Pause: none</translation>
    </message>
    <message>
        <source>Pause: %1 ms</source>
        <translation>Pause: %1 ms</translation>
    </message>
    <message>
        <source>Zufallszahlen wiederholbar</source>
        <translation>Repeatable random numbers</translation>
    </message>
    <message>
        <source>Jeder Lauf zieht dieselben Zufallszahlen, auch nach randomize</source>
        <translation>Every run draws the same random numbers, also after randomize</translation>
    </message>
    <message>
        <source>Werkzeugleiste „Ausführen“</source>
        <translation>Toolbar “Run”</translation>
    </message>
</context>
<context>
    <name>TForm3</name>
    <message>
        <source>Zählvariable</source>
        <translation>Counter</translation>
    </message>
    <message>
        <source>von</source>
        <translation>from</translation>
    </message>
    <message>
        <source>bis</source>
        <translation>to</translation>
    </message>
    <message>
        <source>Zählschleife</source>
        <translation>Counting loop</translation>
    </message>
    <message>
        <source>Ok</source>
        <translation>OK</translation>
    </message>
    <message>
        <source>Abbrechen</source>
        <translation>Cancel</translation>
    </message>
</context>
<context>
    <name>TProblemsPanel</name>
    <message>
        <source>Prüfergebnisse</source>
        <translation>Check Results</translation>
    </message>
    <message>
        <source>Keine Befunde.</source>
        <translation>No findings.</translation>
    </message>
    <message>
        <source>1 Befund:</source>
        <translation>1 finding:</translation>
    </message>
    <message>
        <source>%1 Befunde:</source>
        <translation>%1 findings:</translation>
    </message>
</context>
<context>
    <name>TQtWindowingServices</name>
    <message>
        <source>OK</source>
        <translation>OK</translation>
    </message>
    <message>
        <source>Abbrechen</source>
        <translation>Cancel</translation>
    </message>
    <message>
        <source>Ja</source>
        <translation>Yes</translation>
    </message>
    <message>
        <source>Nein</source>
        <translation>No</translation>
    </message>
    <message>
        <source>Seitenansicht</source>
        <translation>Print Preview</translation>
    </message>
    <message>
        <source>Wie gedruckt (eine Seite)</source>
        <translation>As printed (one page)</translation>
    </message>
    <message>
        <source>Auf eine Seite verkleinert</source>
        <translation>Fitted to one page</translation>
    </message>
    <message>
        <source>Auf mehrere Seiten verteilt</source>
        <translation>Spread over several pages</translation>
    </message>
</context>
<context>
    <name>TRunController</name>
    <message>
        <source>Läuft</source>
        <translation>Running</translation>
    </message>
    <message>
        <source>Angehalten nach %1 Schritten</source>
        <translation>Paused after %1 steps</translation>
    </message>
    <message>
        <source>Wartet auf eine Eingabe</source>
        <translation>Waiting for input</translation>
    </message>
    <message>
        <source>Beendet nach %1 Schritten</source>
        <translation>Finished after %1 steps</translation>
    </message>
    <message>
        <source>Laufzeitfehler</source>
        <translation>Runtime error</translation>
    </message>
    <message>
        <source>Haltepunkte gibt es auf Anweisungen, Entscheidungen und Schleifen.</source>
        <translation>Breakpoints can be set on statements, decisions and loops.</translation>
    </message>
    <message>
        <source>»%1« ist kein Wert für %2.</source>
        <translation>»%1« is no value for %2.</translation>
    </message>
</context>
<context>
    <name>TVariablesPanel</name>
    <message>
        <source>Kommazahl</source>
        <translation>real</translation>
    </message>
    <message>
        <source>Wahrheitswert</source>
        <translation>boolean</translation>
    </message>
    <message>
        <source>Zeichenkette</source>
        <translation>string</translation>
    </message>
    <message>
        <source>ganze Zahl</source>
        <translation>integer</translation>
    </message>
    <message>
        <source>Variablen</source>
        <translation>Variables</translation>
    </message>
    <message>
        <source>Name</source>
        <translation>Name</translation>
    </message>
    <message>
        <source>Typ</source>
        <translation>Type</translation>
    </message>
    <message>
        <source>Wert</source>
        <translation>Value</translation>
    </message>
</context>
</TS>
