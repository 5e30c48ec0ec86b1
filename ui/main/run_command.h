// SPDX-License-Identifier: MIT
// `struktogramme --run DATEI`: runs a program without a window, with the standard input and
// output the compiled Pascal program would use.
#pragma once

// Whether the command line asks for a run or the checks (it holds --run or --check).
bool IsRunCommand(int argc, char** argv);
// Whether the command line names a language (--lang), valid or not; a language other than
// German needs the translations, which only the editor's program loads.
bool HasLanguageArgument(int argc, char** argv);
// --check DATEI prints a line per finding of the checks (the element's blocks, its text and
// what looks wrong) and exits with 0 without findings, 1 with, 2 when the file cannot be read.
// Runs the program the command line names, with --max-steps N, --trace TABELLE.csv and
// --seed N. Returns the exit status: 0 (or halt's), 1 when the program cannot be loaded or run
// or fails with a runtime error, 2 for a wrong call, 3 when --max-steps stopped it.
int RunCommand(int argc, char** argv);
