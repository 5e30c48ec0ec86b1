// SPDX-License-Identifier: MIT
#include "language/desk_check.h"

#include "model/texts.h"
#include "model/windows1252.h"

namespace {

// A field quoted where it holds a separator, a quote or a line end.
std::string Field(const std::string& text) {
  if (text.find_first_of(";\"\r\n") == std::string::npos)
    return text;
  std::string out = "\"";
  for (const char c : text)
    out += c == '"' ? std::string("\"\"") : std::string(1, c);
  return out + "\"";
}

void Capture(const TMachine& machine, TValues& values) {
  const TRunState& s = machine.RunState();
  const std::size_t n = machine.Program().Variables.size();
  values.Cells.assign(s.Cells.begin(), s.Cells.begin() + static_cast<std::ptrdiff_t>(n));
  values.Strings.resize(n);
  for (std::size_t i = 0; i < n; ++i)
    if (machine.Program().Variables[i].Type == TValueType::String)
      values.Strings[i] = std::string(s.Strings[i].View());
}

} // namespace

std::string DeskCheckHeader(const TRunProgram& program) {
  std::string row = Field(Tr("Schreibtischtest", "Schritt")) + ";" +
                    Field(Tr("Schreibtischtest", "Element"));
  for (const TRunVariable& v : program.Variables)
    row += ";" + Field(v.Name);
  return row + "\r\n";
}

std::string DeskCheckValue(const TRunProgram& program, std::size_t variable,
                           const TValues& values) {
  const TCell c = values.Cells[variable];
  switch (program.Variables[variable].Type) {
  case TValueType::Real:
    return RealValueText(c.R);
  case TValueType::Boolean:
    return c.B ? "TRUE" : "FALSE";
  case TValueType::String:
    return Windows1252ToUtf8(values.Strings[variable]);
  default:
    return std::to_string(c.I);
  }
}

std::string DeskCheckRow(const TRunProgram& program, uint64_t number, uint32_t step,
                         const TValues& values) {
  const TRunStep& s = program.Steps[step];
  std::string row = std::to_string(number) + ";" +
                    Field(QuotedElementText(*program.Elements[s.Element].Element));
  for (std::size_t i = 0; i < program.Variables.size(); ++i)
    row += ";" + Field(DeskCheckValue(program, i, values));
  return row + "\r\n";
}

std::string DeskCheckTable(const TMachine& machine) {
  const TRunProgram& program = machine.Program();
  std::string out = DeskCheckHeader(program);
  const TChangeLog* history = machine.History();
  if (!history)
    return out;
  // The open record of a step that waits or failed is no row yet.
  const uint64_t rows = std::min<uint64_t>(history->Count(), machine.Steps() - history->First());
  TValues values;
  for (uint64_t i = 0; i < rows; ++i) {
    const uint64_t step = history->First() + i;
    history->ValuesAfter(step, values);
    out += DeskCheckRow(program, step + 1, history->Record(step).Step, values);
  }
  return out;
}

void TDeskCheckWriter::AfterStep(const TMachine& machine, uint32_t step) {
  Capture(machine, values_);
  write_(DeskCheckRow(machine.Program(), machine.Steps(), step, values_));
}
