// SPDX-License-Identifier: MIT
// The desk-check table of a run: one row per step with the element's text and every variable's
// value after it, as CSV (UTF-8, ';' between fields, CR LF after each row).
#pragma once

#include "language/machine.h"

#include <cstdint>
#include <functional>
#include <string>

// "Schritt;Element;" (in the user's language) and the variables' names.
std::string DeskCheckHeader(const TRunProgram& program);
// Row `number` (counted from 1) for program step `step` with the values in `values`.
std::string DeskCheckRow(const TRunProgram& program, uint64_t number, uint32_t step,
                         const TValues& values);
// A value as the table shows it, in UTF-8.
std::string DeskCheckValue(const TRunProgram& program, std::size_t variable, const TValues& values);
// The rows the history keeps, after the header.
std::string DeskCheckTable(const TMachine& machine);

// Writes a row after every step of a run, as the run goes.
class TDeskCheckWriter : public TStepObserver {
public:
  // Every row is handed to `write` with its line end; the header at once.
  template <class F> explicit TDeskCheckWriter(const TRunProgram& program, F write)
      : write_(std::move(write)) {
    write_(DeskCheckHeader(program));
  }
  void AfterStep(const TMachine& machine, uint32_t step) override;

private:
  std::function<void(const std::string&)> write_;
  TValues values_;
};
