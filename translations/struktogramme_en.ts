<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="en_US">
<context>
    <name>Befehlszeile</name>
    <message>
        <source>Warnung: Die Datei %1 ist beschädigt und wurde nur teilweise gelesen.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Warnung: Die Datei %1 enthält Daten hinter dem Programm; sie werden mitgeschrieben, aber nicht gezeigt.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Aufruf: struktogramme --run DATEI [--max-steps N] [--trace TABELLE.csv] [--seed N] (DATEI ist ein Struktogramm .str oder Pascal-Quelltext .pas)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Aufruf: struktogramme --check DATEI</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Der Lauf wurde nach %1 Schritten abgebrochen (--max-steps).</source>
        <translation type="unfinished"></translation>
    </message>
</context>
</TS>
