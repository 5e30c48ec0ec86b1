<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="en_US">
<context>
    <name>Ausführung</name>
    <message>
        <source>ganze Zahl</source>
        <translation>integer</translation>
    </message>
    <message>
        <source>Kommazahl</source>
        <translation>real number</translation>
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
        <source>unbekannt</source>
        <translation>unknown</translation>
    </message>
    <message>
        <source>die Zahl %1 ist zu groß für eine ganze Zahl</source>
        <translation>the number %1 is too large for an integer</translation>
    </message>
    <message>
        <source>nur eine Zeichenkette lässt sich mit einer ganzen Zahl indizieren</source>
        <translation>only a string can be indexed with an integer</translation>
    </message>
    <message>
        <source>Zeiger, Verbunde, Felder und Mengen kann das Programm nicht ausführen</source>
        <translation>the program cannot run pointers, records, arrays or sets</translation>
    </message>
    <message>
        <source>der Typ von »%1« ist unbekannt</source>
        <translation>the type of »%1« is unknown</translation>
    </message>
    <message>
        <source>»%1« braucht ein Argument in Klammern</source>
        <translation>»%1« needs an argument in parentheses</translation>
    </message>
    <message>
        <source>»%1« ist eine Prozedur und hat keinen Wert</source>
        <translation>»%1« is a procedure and has no value</translation>
    </message>
    <message>
        <source>die Funktion »%1« ist unbekannt</source>
        <translation>the function »%1« is unknown</translation>
    </message>
    <message>
        <source>»%1« gibt es nicht für den Typ %2</source>
        <translation>»%1« is not defined for the type %2</translation>
    </message>
    <message>
        <source>»%1« gibt es nicht für die Typen %2 und %3</source>
        <translation>»%1« is not defined for the types %2 and %3</translation>
    </message>
    <message>
        <source>nur benannte Funktionen lassen sich aufrufen</source>
        <translation>only named functions can be called</translation>
    </message>
    <message>
        <source>copy braucht drei Argumente: Zeichenkette, Anfang und Anzahl</source>
        <translation>copy needs three arguments: string, start and count</translation>
    </message>
    <message>
        <source>pos braucht zwei Zeichenketten</source>
        <translation>pos needs two strings</translation>
    </message>
    <message>
        <source>copy braucht eine Zeichenkette und zwei ganze Zahlen</source>
        <translation>copy needs a string and two integers</translation>
    </message>
    <message>
        <source>»%1« braucht genau ein Argument</source>
        <translation>»%1« needs exactly one argument</translation>
    </message>
    <message>
        <source>»%1« ist keine ganze Zahl, sondern %2</source>
        <translation>»%1« is not an integer but %2</translation>
    </message>
    <message>
        <source>»%1« ist keine Zahl, sondern %2</source>
        <translation>»%1« is not a number but %2</translation>
    </message>
    <message>
        <source>»%1« ist kein Wahrheitswert, sondern %2</source>
        <translation>»%1« is not a boolean but %2</translation>
    </message>
    <message>
        <source>»%1« ist keine Zeichenkette, sondern %2</source>
        <translation>»%1« is not a string but %2</translation>
    </message>
    <message>
        <source>das ist keine Anweisung, die das Programm ausführen kann</source>
        <translation>this is not a statement the program can run</translation>
    </message>
    <message>
        <source>»break« steht außerhalb jeder Schleife</source>
        <translation>»break« stands outside any loop</translation>
    </message>
    <message>
        <source>»%1« braucht eine Variable, die eine ganze Zahl ist</source>
        <translation>»%1« needs a variable that is an integer</translation>
    </message>
    <message>
        <source>»%1« ist so nicht aufrufbar</source>
        <translation>»%1« cannot be called like this</translation>
    </message>
    <message>
        <source>die Prozedur »%1« ist unbekannt</source>
        <translation>the procedure »%1« is unknown</translation>
    </message>
    <message>
        <source>zuweisen lässt sich nur an eine Variable</source>
        <translation>only a variable can be assigned to</translation>
    </message>
    <message>
        <source>»%1« ist keine Variable</source>
        <translation>»%1« is not a variable</translation>
    </message>
    <message>
        <source>»%1« ist %2, »%3« aber %4</source>
        <translation>»%1« is %2, but »%3« is %4</translation>
    </message>
    <message>
        <source>Breite und Nachkommastellen müssen Zahlen von 0 bis 255 sein</source>
        <translation>width and decimal places must be numbers from 0 to 255</translation>
    </message>
    <message>
        <source>Nachkommastellen gibt es nur bei Kommazahlen</source>
        <translation>only real numbers have decimal places</translation>
    </message>
    <message>
        <source>read liest nur in Variablen, die ganze Zahlen, Kommazahlen oder Zeichenketten sind</source>
        <translation>read only reads into variables that are integers, real numbers or strings</translation>
    </message>
    <message>
        <source>die Bedingung lässt sich nicht als Pascal lesen</source>
        <translation>the condition cannot be read as Pascal</translation>
    </message>
    <message>
        <source>die Bedingung ist %1, kein Wahrheitswert</source>
        <translation>the condition is %1, not a boolean</translation>
    </message>
    <message>
        <source>Nicht ausführbar: »%1«: %2</source>
        <translation>Cannot be run: »%1«: %2</translation>
    </message>
    <message>
        <source>der Text lässt sich nicht als Pascal-Anweisung lesen</source>
        <translation>the text cannot be read as a Pascal statement</translation>
    </message>
    <message>
        <source>eine Zählschleife hat die Form »i := 1 bis 10«</source>
        <translation>a counting loop has the form »i := 1 bis 10«</translation>
    </message>
    <message>
        <source>die Zählvariable »%1« ist %2, keine ganze Zahl</source>
        <translation>the loop variable »%1« is %2, not an integer</translation>
    </message>
    <message>
        <source>eine ganze Zahl</source>
        <translation>an integer</translation>
    </message>
    <message>
        <source>eine Kommazahl</source>
        <translation>a real number</translation>
    </message>
    <message>
        <source>ein Wahrheitswert</source>
        <translation>a boolean</translation>
    </message>
    <message>
        <source>eine Zeichenkette</source>
        <translation>a string</translation>
    </message>
    <message>
        <source>ohne bekannten Typ</source>
        <translation>of no known type</translation>
    </message>
</context>
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
    <name>Bild</name>
    <message>
        <source>Unbekanntes Bildformat: %1</source>
        <translation>Unknown picture format: %1</translation>
    </message>
    <message>
        <source>Das Bild wäre mit %1 × %2 Pixeln zu groß; bitte als SVG exportieren.</source>
        <translation>At %1 × %2 pixels the picture would be too large; please export it as SVG.</translation>
    </message>
</context>
<context>
    <name>Datei</name>
    <message>
        <source>Stream-Lesefehler</source>
        <translation>Stream read error</translation>
    </message>
    <message>
        <source>Stream-Schreibfehler</source>
        <translation>Stream write error</translation>
    </message>
    <message>
        <source>Datei %1 kann nicht geöffnet werden</source>
        <translation>File %1 cannot be opened</translation>
    </message>
    <message>
        <source>Datei %1 kann nicht erstellt werden</source>
        <translation>File %1 cannot be created</translation>
    </message>
    <message>
        <source>Ein Text enthält ein Steuerzeichen (0x00 oder 0x01), das eine Struktogramm-Datei nicht speichern kann; es wurde nichts geschrieben.</source>
        <translation>A text contains a control character (0x00 or 0x01) that a structogram file cannot store; nothing was written.</translation>
    </message>
    <message>
        <source>Das Struktogramm ist tiefer verschachtelt als %1 Ebenen und kann nicht gespeichert werden; es wurde nichts geschrieben.</source>
        <translation>The structogram is nested deeper than %1 levels and cannot be saved; nothing was written.</translation>
    </message>
    <message>
        <source>Die Datei ist zu tief verschachtelt (mehr als %1 Ebenen).</source>
        <translation>The file is nested too deeply (more than %1 levels).</translation>
    </message>
</context>
<context>
    <name>Diagramm</name>
    <message>
        <source>ja</source>
        <translation>yes</translation>
    </message>
    <message>
        <source>nein</source>
        <translation>no</translation>
    </message>
    <message>
        <source>solange</source>
        <translation>while</translation>
    </message>
    <message>
        <source>bis</source>
        <translation>until</translation>
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
    <name>Laufzeit</name>
    <message>
        <source>Laufzeitfehler in »%1«: %2</source>
        <translation>Runtime error in »%1«: %2</translation>
    </message>
    <message>
        <source>die Zahl »%1« in der Eingabe ist zu groß</source>
        <translation>the number »%1« in the input is too large</translation>
    </message>
    <message>
        <source>in der Eingabe steht keine ganze Zahl mehr</source>
        <translation>the input holds no more integers</translation>
    </message>
    <message>
        <source>in der Eingabe steht keine Zahl mehr</source>
        <translation>the input holds no more numbers</translation>
    </message>
    <message>
        <source>in der Eingabe steht »%1«, keine ganze Zahl</source>
        <translation>the input holds »%1«, not an integer</translation>
    </message>
    <message>
        <source>in der Eingabe steht »%1«, keine Zahl</source>
        <translation>the input holds »%1«, not a number</translation>
    </message>
    <message>
        <source>Überlauf (ganze Zahlen reichen von -2147483648 bis 2147483647)</source>
        <translation>overflow (integers range from -2147483648 to 2147483647)</translation>
    </message>
    <message>
        <source>ungültige Rechenoperation</source>
        <translation>invalid arithmetic operation</translation>
    </message>
    <message>
        <source>Überlauf (die Zahl wird zu groß)</source>
        <translation>overflow (the number becomes too large)</translation>
    </message>
    <message>
        <source>Division durch 0</source>
        <translation>division by 0</translation>
    </message>
    <message>
        <source>ord braucht genau ein Zeichen, die Zeichenkette hat %1</source>
        <translation>ord needs exactly one character, the string has %1</translation>
    </message>
    <message>
        <source>Wurzel aus einer negativen Zahl</source>
        <translation>square root of a negative number</translation>
    </message>
    <message>
        <source>Logarithmus einer Zahl, die nicht größer als 0 ist</source>
        <translation>logarithm of a number that is not greater than 0</translation>
    </message>
    <message>
        <source>Index %1 liegt außerhalb der Zeichenkette (Länge %2)</source>
        <translation>index %1 lies outside the string (length %2)</translation>
    </message>
    <message>
        <source>chr(%1) ist kein Zeichen (erlaubt sind 0 bis 255)</source>
        <translation>chr(%1) is not a character (0 to 255 are allowed)</translation>
    </message>
</context>
<context>
    <name>Pascal-Import</name>
    <message>
        <source>Ausdruck zu tief verschachtelt</source>
        <translation>expression nested too deeply</translation>
    </message>
    <message>
        <source>&apos;%1&apos; erwartet</source>
        <translation>&apos;%1&apos; expected</translation>
    </message>
    <message>
        <source>Ausdruck erwartet</source>
        <translation>expression expected</translation>
    </message>
    <message>
        <source>Anweisung erwartet</source>
        <translation>statement expected</translation>
    </message>
    <message>
        <source>zu tief verschachtelt (mehr als %1 Ebenen)</source>
        <translation>nested too deeply (more than %1 levels)</translation>
    </message>
    <message>
        <source>gesamtes Programm</source>
        <translation>whole program</translation>
    </message>
    <message>
        <source>Programm erwartet</source>
        <translation>program expected</translation>
    </message>
    <message>
        <source>Bezeichner erwartet</source>
        <translation>identifier expected</translation>
    </message>
    <message>
        <source>Marke erwartet</source>
        <translation>label expected</translation>
    </message>
    <message>
        <source>unerlaubtes Zeichen</source>
        <translation>character not allowed</translation>
    </message>
    <message>
        <source>Kommentar nicht abgeschlossen</source>
        <translation>comment not closed</translation>
    </message>
    <message>
        <source>Zahl erwartet nach &apos;%1&apos;</source>
        <translation>number expected after &apos;%1&apos;</translation>
    </message>
    <message>
        <source>ungültiges Zeichen nach &apos;#&apos;</source>
        <translation>invalid character after &apos;#&apos;</translation>
    </message>
    <message>
        <source>Zeichenkette nicht abgeschlossen</source>
        <translation>string not closed</translation>
    </message>
    <message>
        <source>unerwartetes Zeichen &apos;%1&apos;</source>
        <translation>unexpected character &apos;%1&apos;</translation>
    </message>
    <message>
        <source>unerwartetes Zeichen</source>
        <translation>unexpected character</translation>
    </message>
    <message>
        <source>Zeile %1, Spalte %2: %3</source>
        <translation>Line %1, column %2: %3</translation>
    </message>
</context>
<context>
    <name>Prüfungen</name>
    <message>
        <source>Variable ohne Wert gelesen</source>
        <translation>Variable read without a value</translation>
    </message>
    <message>
        <source>Vergleich statt Zuweisung</source>
        <translation>Comparison instead of assignment</translation>
    </message>
    <message>
        <source>Mögliche Endlosschleife</source>
        <translation>Possible endless loop</translation>
    </message>
    <message>
        <source>Zählvariable in der Schleife verändert</source>
        <translation>Loop variable changed inside the loop</translation>
    </message>
    <message>
        <source>Bedingung ohne Wahrheitswert</source>
        <translation>Condition that is not a boolean</translation>
    </message>
    <message>
        <source>Nicht ausführbarer Text</source>
        <translation>Text that cannot be run</translation>
    </message>
    <message>
        <source>Leere Zweige und Schleifen</source>
        <translation>Empty branches and loops</translation>
    </message>
    <message>
        <source>»%1« wird gelesen, bevor es einen Wert bekommt</source>
        <translation>»%1« is read before it gets a value</translation>
    </message>
    <message>
        <source>die Schleife hat nichts in ihrem Körper</source>
        <translation>the loop has nothing in its body</translation>
    </message>
    <message>
        <source>die Bedingung bleibt immer gleich, und nichts verlässt die Schleife: eine Endlosschleife</source>
        <translation>the condition never changes and nothing leaves the loop: an endless loop</translation>
    </message>
    <message>
        <source>keine Variable der Bedingung ändert sich in der Schleife: vielleicht eine Endlosschleife</source>
        <translation>no variable of the condition changes in the loop: perhaps an endless loop</translation>
    </message>
    <message>
        <source>die Zählvariable »%1« wird in ihrer eigenen Schleife verändert</source>
        <translation>the loop variable »%1« is changed inside its own loop</translation>
    </message>
    <message>
        <source>beide Zweige der Entscheidung sind leer</source>
        <translation>both branches of the decision are empty</translation>
    </message>
    <message>
        <source>vergleicht nur. Meinten Sie »%1«?</source>
        <translation>only compares. Did you mean »%1«?</translation>
    </message>
    <message>
        <source>die Bedingung ist %1, kein Wahrheitswert</source>
        <translation>the condition is %1, not a boolean</translation>
    </message>
</context>
<context>
    <name>Schreibtischtest</name>
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
    <message>
        <source>Die Übersetzung fehlt; die Sprache bleibt, wie sie ist.</source>
        <translation>The translation is missing; the language stays as it is.</translation>
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
