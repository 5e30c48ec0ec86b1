// SPDX-License-Identifier: MIT
// Fuzz target: programs compiled and run by the interpreter. A text that cannot run is a normal
// outcome; a run must stop within its step limit without fault, a plain run must end exactly
// where a recorded, chunked or interrupted one ends, and a recorded run, taken back step by step,
// must return to exactly the state it started from (taken back part of the way and run forward
// again, to exactly where it ended). What compiles must translate to Python; where a program
// keeps clear of the known differences, its Python export must print what the interpreter prints.
//
// Input: a flags byte, a length byte n and n bytes of program input, then the program:
//   "GEN..."  the file generator of fuzz_load (structured_input.h),
//   "B:..."   a structogram file,
//   else      a program built from a table of runnable fragments, the input's bytes choosing
//             fragments, variables and numbers and splicing raw texts in now and then.
// Flags: 1 record the run, 2 run a few steps per call, 4 breakpoints, 8 stream the desk-check
// table; for fragment programs 16 no declaring first statement, 32 risky fragments, 64 raw
// texts, 128 the program input's bytes unchanged.
//
// Comparing with Python means starting python3, some 40 ms, as long as fifteen fuzz runs under
// the sanitizers. The corpus runner (make test) compares every eligible run; the libFuzzer build
// only one eligible run in 128, chosen by the input's bytes so that a fault found reproduces:
// about a hundred comparisons in CI's minute, under a tenth of its time.
#include "fuzz/structured_input.h"
#include "language/desk_check.h"
#include "language/language_export.h"
#include "language/machine.h"
#include "language/program_input.h"
#include "model/stream.h"
#include "model/structogram_file.h"

#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

extern char** environ;

namespace {

constexpr uint64_t kMaxSteps = 20000;
// Output kept per run; a program may print far more, which is counted but not kept.
constexpr std::size_t kKeptOutput = 1 << 20;
// A run that has printed this much stops early: it proves nothing more, it only takes time.
constexpr uint64_t kMaxOutput = 16u << 20;

[[noreturn]] void Fault(const std::string& what) {
  std::fprintf(stderr, "Fehler: %s\n", what.c_str());
  std::abort();
}

class TCappedOutput : public TOutputSink {
public:
  std::string Text; // the first bytes of the output, at most kKeptOutput
  void Write(const char* data, std::size_t size) override {
    total_ += size;
    if (Text.size() < kKeptOutput)
      Text.append(data, std::min(size, kKeptOutput - Text.size()));
  }
  uint64_t Length() const override { return total_; }
  void Truncate(uint64_t length) override {
    if (length > total_)
      Fault("Ausgabe auf eine größere Länge gekürzt");
    total_ = length;
    if (Text.size() > length)
      Text.resize(length);
  }
  bool Whole() const { return total_ == Text.size(); }

private:
  uint64_t total_ = 0;
};

class TBytes {
public:
  TBytes(const uint8_t* data, std::size_t size) : data_(data), size_(size) {}
  uint8_t Byte() { return pos_ < size_ ? data_[pos_++] : 0; }
  bool Done() const { return pos_ >= size_; }

private:
  const uint8_t* data_;
  std::size_t size_;
  std::size_t pos_ = 0;
};

// ---- programs built from fragments ----
//
// Holes: @ an integer variable, $ a string, % a real, ? a boolean, # a number 0..255, ~ 0..4,
// & the letters of a string literal. The first tables keep integers non-negative, so that div
// and mod agree with Python's, and strings within 255 bytes. The risky ones, taken only when the
// flags allow, mark a program that the Python export cannot match with a leading ! (random
// numbers, negative operands of div and mod, shl, strings that outgrow 255 bytes, huge reals).
const char* const kStatements[] = {
    "@ := #",
    "@ := @ + #",
    "@ := @ + @",
    "@ := @ * ~ + #",
    "@ := (@ + #) div ~",
    "@ := @ mod (# + 1)",
    "@ := (@ * @ + #) mod 1000",
    "@ := abs(@ - @)",
    "@ := sqr(@ mod 100)",
    "@ := @ and #",
    "@ := (@ or #) xor @",
    "@ := pred(@ + 1)",
    "inc(@)",
    "inc(@, #)",
    "@ := length($)",
    "@ := pos($, $)",
    "@ := ord(?) + ord($[~])",
    "@ := trunc(%)",
    "@ := round(% * ~)",
    "@ := trunc(sqrt(@))",
    "% := % + @ / (# + 1)",
    "% := % * 1.5",
    "% := sqrt(% + @)",
    "% := abs(sin(@))",
    "% := exp(~) + ln(@ + 1)",
    "% := @ / ~",
    "% := 0.1 * #",
    "? := @ > #",
    "? := not ?",
    "? := ? and (@ mod 2 = 0)",
    "? := odd(@) or ?",
    "? := $ < $",
    "? := (% >= @) = ?",
    "$ := '&'",
    "$ := copy($ + $, 1, #)",
    "$ := copy($, ~, #)",
    "$ := chr(@ mod 256)",
    "$ := copy('&' + $, 1, 20)",
    "writeln(@)",
    "write(@, ' ')",
    "writeln(@:~, '|', @:#)",
    "writeln(%)",
    "writeln(%:#)",
    "writeln(%:~:~)",
    "writeln(%:0:#)",
    "writeln(?, ' ', ?:~)",
    "writeln($, ' ', length($))",
    "write($:#, '|')",
    "writeln('&', @ div (~ + 1), ' ', @ mod 7)",
    "writeln(-@, ' ', not @, ' ', @ shr ~)",
    "writeln",
    "writeln(@ * @ + @, ' ', odd(@), ' ', succ(@))",
    "writeln(% * @ - %)",
    "writeln(copy($, ~, ~), pos('&', $), '|')",
    "readln(@)",
    "read(@)",
    "readln($)",
    "read(%)",
    "readln",
    "read(@, @)",
    "halt(~)",
    "break",
};
const char* const kRiskyStatements[] = {
    "!@ := random(#)", "!% := random",        "!randomize",      "!writeln(@ shl #)",
    "!dec(@, #)",      "!@ := @ - @",         "!$ := $ + $",     "!$ := $ + '&'",
    "!@ := -@ div ~",  "!@ := (@ - #) mod ~", "!@ := @ * 65536", "!% := 1e300 * %",
};
const char* const kConditions[] = {
    "@ < #",
    "@ mod ~ = 0",
    "odd(@)",
    "?",
    "not ?",
    "($ = '&') or ?",
    "% >= @",
    "length($) > ~",
    "(@ > @) and not ?",
    "@ <> @",
    "$ < $",
    "? = (@ >= #)",
    "(@ + @) div (~ + 1) < @",
    "pos('&', $) = 0",
};
const char* const kRiskyConditions[] = {"!random(~) = 0", "!(@ - #) div 2 < 0"};
const char* const kIntegers[] = {"a", "b", "c", "n", "i0"};
const char* const kLetters[] = {"a", "b", "x", "y", " ", "\xE4", "\xDF", "''"};
// Every variable's type fixed at the start, so that any choice of fragments compiles.
const char* const kPrologue = "a := 0; b := 0; c := 0; n := 0; i0 := 0; s := 'Gr\xF6\xDF"
                              "e'; t := ''; r := 0.5; x := 0.0; f := false; g := true";
constexpr std::size_t kMaxDepth = 6;

class TFragmentProgram {
public:
  TFragmentProgram(TBytes& bytes, bool prologue, bool risky, bool raw)
      : in_(bytes), risky_(risky), raw_(raw) {
    file_ = "B:gesamtes Programm\x01";
    if (prologue)
      Record('A', kPrologue);
  }

  // The structogram file; comparable when every text came from a fragment without "!".
  std::string Build(bool& comparable) {
    while (!in_.Done() && file_.size() < (1u << 20)) {
      const uint8_t op = in_.Byte();
      switch (op % 16) {
      default:
        Statement();
        break;
      case 8:
        Open('I', Condition(),
             "\x02\x02\x02\x02"
             "B:nein\x01\x02\x02\x02\x02",
             "B:ja\x01");
        break;
      case 9: // the no-branch of the decision open innermost
        if (!frames_.empty() && frames_.back().Else) {
          file_ += "\x02\x02\x02\x02"
                   "B:nein\x01";
          frames_.back() = {"\x02\x02\x02\x02", false, frames_.back().Loop};
        }
        break;
      case 10:
        CountedLoop('W', "(% < ~) and (", ")");
        break;
      case 11:
        if (frames_.size() < kMaxDepth)
          Open('F', "i" + std::to_string(frames_.size()) + Fill(" := ~ bis ~"), "\x02\x02\x02\x02",
               "B:\x01", true);
        break;
      case 12:
        CountedLoop('R', "(% >= ~) or (", ")");
        break;
      case 13:
        CountedLoop('D', "(% < ~) and (", ")");
        break;
      case 14:
        Close();
        break;
      case 15:
        if (raw_ && in_.Byte() < 64)
          RawText();
        else
          Open('B', "Teil " + std::to_string(++blocks_), "\x02\x02");
        break;
      }
    }
    while (!frames_.empty())
      Close();
    file_ += "\x02\x02";
    comparable = comparable_;
    return file_;
  }

private:
  struct TFrame {
    std::string Closing;
    bool Else = false; // a decision's yes-branch
    bool Loop = false; // inside a loop, break is allowed
  };

  std::string Fill(const char* pattern) {
    if (*pattern == '!') {
      comparable_ = false;
      ++pattern;
    }
    std::string out;
    for (const char* p = pattern; *p; ++p) {
      switch (*p) {
      case '@':
        out += kIntegers[in_.Byte() % 5];
        break;
      case '$':
        out += in_.Byte() % 2 ? "s" : "t";
        break;
      case '%':
        out += in_.Byte() % 2 ? "r" : "x";
        break;
      case '?':
        out += in_.Byte() % 2 ? "f" : "g";
        break;
      case '#':
        out += std::to_string(in_.Byte());
        break;
      case '~':
        out += std::to_string(in_.Byte() % 5);
        break;
      case '&':
        for (int n = in_.Byte() % 4; n > 0; --n)
          out += kLetters[in_.Byte() % 8];
        break;
      default:
        out += *p;
      }
    }
    return out;
  }

  void Record(char tag, const std::string& text) {
    file_ += tag;
    file_ += ':';
    file_ += text;
    file_ += '\x01';
  }

  bool InLoop() const {
    for (const TFrame& f : frames_)
      if (f.Loop)
        return true;
    return false;
  }

  template <std::size_t N, std::size_t M>
  const char* Pick(const char* const (&usual)[N], const char* const (&risky)[M]) {
    const uint8_t b = in_.Byte();
    return risky_ && b >= 224 ? risky[b % M] : usual[b % N];
  }

  void Statement() {
    const char* pattern = Pick(kStatements, kRiskyStatements);
    if (std::string(pattern) == "break" && !InLoop())
      pattern = "writeln";
    Record('A', Fill(pattern));
  }

  std::string Condition() { return Fill(Pick(kConditions, kRiskyConditions)); }

  void Open(char tag, const std::string& text, const char* closing, const char* body = "",
            bool loop = false) {
    if (frames_.size() >= kMaxDepth)
      return;
    Record(tag, text);
    file_ += body;
    frames_.push_back({closing, tag == 'I', loop || InLoop()});
  }

  void Close() {
    if (frames_.empty())
      return;
    file_ += frames_.back().Closing;
    frames_.pop_back();
  }

  // A loop that tests before or after its body, ended after a few rounds by a counter of its
  // own that the body counts up first; % stands for that counter.
  void CountedLoop(char tag, const char* counted, const char* closing) {
    if (frames_.size() >= kMaxDepth)
      return;
    const std::string counter = "w" + std::to_string(frames_.size());
    Record('A', counter + " := 0");
    std::string text;
    for (const char* p = counted; *p; ++p)
      text +=
          *p == '%' ? counter : (*p == '~' ? std::to_string(in_.Byte() % 5) : std::string(1, *p));
    const bool alone = in_.Byte() % 2;
    text = alone ? text.substr(1, text.find(')') - 1) : text + Condition() + closing;
    Open(tag, text, "\x02\x02\x02\x02", "B:\x01", true);
    Record('A', "inc(" + counter + ")");
  }

  // Any bytes as the text of any kind of element.
  void RawText() {
    comparable_ = false;
    const char tag = "AIWFDR"[in_.Byte() % 6];
    std::string text;
    for (int n = in_.Byte() % 48; n > 0 && !in_.Done(); --n) {
      const char c = static_cast<char>(in_.Byte());
      text += c == '\0' || c == '\x01' ? ' ' : c;
    }
    if (tag == 'A')
      Record('A', text);
    else if (tag == 'I')
      Open('I', text,
           "\x02\x02\x02\x02"
           "B:nein\x01\x02\x02\x02\x02",
           "B:ja\x01");
    else
      Open(tag, text, "\x02\x02\x02\x02", "B:\x01", true);
  }

  TBytes& in_;
  std::string file_;
  std::vector<TFrame> frames_;
  bool risky_, raw_;
  int blocks_ = 0;
  bool comparable_ = true;
};

// ---- running ----

// Everything a run shows: where it stands, what it printed, read and drew, every value.
std::string Snapshot(const TMachine& m, const TCappedOutput& out) {
  const TRunState& s = m.RunState();
  std::string text = std::to_string(static_cast<int>(m.State())) + "|" +
                     std::to_string(m.NextStep()) + "|" + std::to_string(m.Steps()) + "|" +
                     std::to_string(s.InputPos) + "|" + std::to_string(s.Random.Seed) + "|" +
                     std::to_string(s.Random.Draws) + "|" + std::to_string(m.ExitCode()) + "|" +
                     m.Error() + "|" + std::to_string(out.Length()) + "|" + out.Text + "|";
  for (std::size_t i = 0; i < m.Program().Variables.size(); ++i)
    text += m.ValueText(i) + ";";
  return text;
}

struct TRunPlan {
  bool Record = false;
  uint64_t Chunk = 256;       // steps per call of Run
  std::vector<uint8_t> Stops; // breakpoints, or none
  bool DeskCheck = false;     // stream the desk-check table while running
};

// Runs to the step limit in calls of Run as the plan says; false when the output limit
// stopped it.
bool RunToLimit(TMachine& m, const TCappedOutput& out, const TRunPlan& plan) {
  while (m.State() == TMachine::TState::Ready && m.Steps() < kMaxSteps) {
    if (out.Length() > kMaxOutput)
      return false;
    const uint64_t before = m.Steps();
    const TMachine::TState state =
        m.Run(std::min(plan.Chunk, kMaxSteps - before), plan.Stops.empty() ? nullptr : &plan.Stops);
    if (state == TMachine::TState::Ready && m.Steps() == before)
      Fault("Run macht keinen Schritt");
    if (m.Steps() - before > plan.Chunk)
      Fault("Run macht mehr Schritte als erlaubt");
  }
  return true;
}

void CheckEndState(const TMachine& m, const TRunProgram& program) {
  const bool atEnd = program.Steps[m.NextStep()].Kind == TStepKind::End;
  switch (m.State()) {
  case TMachine::TState::Finished:
    if (!atEnd || m.NextElement() || !m.Error().empty())
      Fault("beendeter Lauf steht nicht am Ende oder meldet einen Fehler");
    break;
  case TMachine::TState::Failed:
    if (m.Error().rfind("Laufzeitfehler in »", 0) != 0 || atEnd)
      Fault("fehlgeschlagener Lauf ohne Meldung: " + m.Error());
    break;
  case TMachine::TState::Waiting:
    Fault("Lauf wartet auf Eingabe, die schon ganz da ist");
  case TMachine::TState::Ready:
    if (!m.Error().empty() || atEnd)
      Fault("unterbrochener Lauf mit Fehler oder am Ende");
    break;
  }
}

// ---- Python ----

class TPython {
public:
  static TPython& Get() {
    static TPython python;
    return python;
  }
  bool Present() const { return !executable_.empty(); }

  // Runs source with input on stdin; false when it did not exit on its own.
  bool Run(const std::string& source, const std::string& input, std::string& output, int& status) {
    Write("p.py", source);
    Write("in.txt", input);
    const std::string py = dir_ + "/p.py";
    // A program the interpreter finished in 20 000 steps takes Python well under a second.
    status = Spawn({"timeout", "20", executable_, py}, dir_ + "/in.txt", dir_ + "/out.txt");
    std::ifstream in(dir_ + "/out.txt", std::ios::binary);
    output.assign(std::istreambuf_iterator<char>(in), {});
    return status >= 0 && status != 124;
  }

private:
  TPython() {
    char pattern[] = "/tmp/fuzz-run-XXXXXX";
    if (!mkdtemp(pattern))
      return;
    dir_ = pattern;
    // The real interpreter, not a wrapper script that would cost a shell on every run.
    std::string found;
    Write("find.py", "import sys\nsys.stdout.write(sys.executable)\n");
    if (Spawn({"timeout", "20", "python3", dir_ + "/find.py"}, "/dev/null", dir_ + "/out.txt") ==
        0) {
      std::ifstream in(dir_ + "/out.txt", std::ios::binary);
      found.assign(std::istreambuf_iterator<char>(in), {});
    }
    if (!found.empty() && access(found.c_str(), X_OK) == 0)
      executable_ = found;
  }
  ~TPython() {
    std::error_code ignored;
    if (!dir_.empty())
      std::filesystem::remove_all(dir_, ignored);
  }

  void Write(const char* name, const std::string& bytes) {
    std::ofstream(dir_ + "/" + name, std::ios::binary) << bytes;
  }

  // The exit status, or -1 when the program did not start or was killed.
  static int Spawn(std::vector<std::string> args, const std::string& in, const std::string& out) {
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 0, in.c_str(), O_RDONLY, 0);
    posix_spawn_file_actions_addopen(&actions, 1, out.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
    posix_spawn_file_actions_addopen(&actions, 2, "/dev/null", O_WRONLY, 0);
    std::vector<char*> argv;
    for (std::string& a : args)
      argv.push_back(a.data());
    argv.push_back(nullptr);
    pid_t pid = 0;
    const int started = posix_spawnp(&pid, argv[0], &actions, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    if (started != 0)
      return -1;
    int status = 0;
    while (waitpid(pid, &status, 0) < 0)
      if (errno != EINTR)
        return -1;
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  }

  std::string dir_;
  std::string executable_;
};

bool CompareThisRun(const uint8_t* data, std::size_t size) {
#ifdef STRUKT_COMPARE_EVERY_RUN
  (void)data;
  (void)size;
  return true;
#else
  uint32_t hash = 2166136261u;
  for (std::size_t i = 0; i < size; ++i)
    hash = (hash ^ data[i]) * 16777619u;
  return hash % 128 == 0;
#endif
}

void ComparePython(const std::string& source, const std::string& input, const TCappedOutput& out,
                   int exitCode, const TBlock& root) {
  TPython& python = TPython::Get();
  if (!python.Present())
    return;
  std::string printed;
  int status = 0;
  const bool ended = python.Run(source, input, printed, status);
  if (!ended || printed != out.Text || status != exitCode)
    Fault("Python gibt anderes aus als der Interpreter (Status " + std::to_string(status) +
          " statt " + std::to_string(exitCode) + ")\n--- Programm:\n" + ExportProgram(root) +
          "\n--- Eingabe:\n" + input + "\n--- Interpreter:\n" + out.Text + "\n--- Python:\n" +
          printed);
}

void Check(const std::string& file, const std::string& input, uint8_t flags, bool comparable,
           const uint8_t* data, std::size_t size) {
  TLoadResult loaded;
  try {
    TMemoryStream stream(file);
    loaded = LoadDocument(stream);
  } catch (const TStreamError&) {
    return; // not a file: fuzz_load's business
  }
  const TBlock& root = *loaded.Root;
  std::unique_ptr<TRunProgram> program;
  try {
    program = CompileProgram(root);
  } catch (const TCompileError& e) {
    if (!e.Element ||
        std::string(e.what()).find(QuotedElementText(*e.Element)) == std::string::npos)
      Fault(std::string("Übersetzungsfehler nennt sein Element nicht: ") + e.what());
    return;
  }
  // The compiler takes only what the exports translate, so no text may be marked untranslated
  // (unless a text or title holds the marker itself). Huge programs are left out: translating
  // them would take most of the run's time.
  std::string python;
  const bool exported = program->Elements.size() < 5000;
  if (exported) {
    python = ExportProgramAs(root, TSourceLanguage::Python, "Programm");
    if (python.find("nicht \xC3\xBC"
                    "bersetzt") != std::string::npos &&
        ExportProgram(root).find("bersetzt") == std::string::npos)
      Fault("übersetzbares Programm mit unübersetztem Text in Python:\n" + python);
  }

  TRunPlan plan;
  plan.Record = flags & 1;
  if (flags & 2)
    plan.Chunk = 1 + size % 16;
  if (flags & 4) {
    plan.Stops.assign(program->Steps.size(), 0);
    for (std::size_t i = size % 7; i < plan.Stops.size(); i += 7)
      plan.Stops[i] = 1;
  }
  plan.DeskCheck = plan.Record && (flags & 8);

  TCappedOutput out;
  TStringInput in(input);
  TMachineOptions options;
  options.Record = plan.Record;
  // Randomize keeps this seed, so that every run of the input is the same.
  options.Seed = static_cast<uint32_t>(size * 2654435761u);
  TMachine m(*program, out, in, options);
  std::string streamed;
  TDeskCheckWriter writer(*program, [&](const std::string& row) { streamed += row; });
  if (plan.DeskCheck)
    m.SetObserver(&writer);
  const std::string start = Snapshot(m, out);
  const bool whole = RunToLimit(m, out, plan);
  CheckEndState(m, *program);
  m.SetObserver(nullptr);
  const std::string end = Snapshot(m, out);

  // The plain loop, without history, stops or observer, must do exactly the same.
  if (whole && (plan.Record || plan.Chunk < 256 || !plan.Stops.empty())) {
    TCappedOutput plainOut;
    TStringInput plainIn(input);
    TMachineOptions plainOptions;
    plainOptions.Seed = options.Seed;
    TMachine plain(*program, plainOut, plainIn, plainOptions);
    RunToLimit(plain, plainOut, TRunPlan());
    if (Snapshot(plain, plainOut) != end)
      Fault("Lauf ohne Aufzeichnung und Haltepunkte endet anders:\n" + Snapshot(plain, plainOut) +
            "\n" + end);
  }

  // Only a run that ended on its own: Python knows no overflow, index or input errors, and a run
  // cut off at the step limit has nothing to compare.
  if (comparable && whole && exported && m.State() == TMachine::TState::Finished && out.Whole() &&
      CompareThisRun(data, size))
    ComparePython(python, input, out, m.ExitCode(), root);

  if (plan.DeskCheck && DeskCheckTable(m) != streamed)
    Fault("Schreibtischtest nach dem Lauf anders als während des Laufs");

  if (plan.Record) {
    // Part of the way back and forward again, then back to the start.
    const uint64_t back = m.Steps() ? 1 + (size * 31 + flags) % m.Steps() : 0;
    for (uint64_t k = 0; k < back; ++k)
      if (!m.StepBack())
        Fault("Schritt zurück verweigert, obwohl Schritte gemacht sind");
    // A failed step was taken back first without counting as a step; it fails again last.
    m.Run(back);
    if (Snapshot(m, out) != end)
      Fault("zurück und wieder vor endet anders:\n" + Snapshot(m, out) + "\n" + end);
    // A value shown must set back as it is, a value typed in must read back as typed, and both
    // go with the step back.
    if (m.Steps() > 0)
      for (std::size_t v = 0; v < program->Variables.size(); ++v) {
        const std::string text = m.ValueText(v);
        bool control = false;
        for (char c : text)
          control = control || static_cast<unsigned char>(c) < 0x20;
        if (!control && (!m.SetValue(v, text) || m.ValueText(v) != text))
          Fault("Wert »" + text + "« lässt sich nicht setzen");
        const TValueType type = program->Variables[v].Type;
        const char* value = type == TValueType::Real      ? "0.25"
                            : type == TValueType::Boolean ? "TRUE"
                            : type == TValueType::String  ? "neu"
                                                          : "-17";
        if ((v + size) % 3 == 0 && (!m.SetValue(v, value) || m.ValueText(v) != value))
          Fault(std::string("gesetzter Wert »") + value + "« liest sich als »" + m.ValueText(v) +
                "«");
      }
    while (m.StepBack()) {
    }
    if (Snapshot(m, out) != start)
      Fault("ganz zurück ist nicht der Anfang:\n" + Snapshot(m, out) + "\n" + start);
  }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size < 2)
    return 0;
  const uint8_t flags = data[0];
  const std::size_t inputLength = std::min<std::size_t>(data[1], size - 2);
  std::string input(reinterpret_cast<const char*>(data) + 2, inputLength);
  const uint8_t* rest = data + 2 + inputLength;
  const std::size_t restSize = size - 2 - inputLength;
  std::string file;
  if (GeneratedInput(rest, restSize, file)) {
    Check(file, input, flags, false, data, size);
  } else if (restSize >= 2 && rest[0] == 'B' && rest[1] == ':') {
    Check(std::string(reinterpret_cast<const char*>(rest), restSize), input, flags, false, data,
          size);
  } else {
    // Input the Python export reads as the interpreter does: digits, blanks, line ends and a
    // letter that no number reads; or, with the last flag, the bytes as they are.
    const bool rawInput = flags & 128;
    if (!rawInput)
      for (char& c : input)
        c = "0123456789   \n\nq"[static_cast<uint8_t>(c) % 16];
    TBytes bytes(rest, restSize);
    bool comparable = false;
    file = TFragmentProgram(bytes, !(flags & 16), flags & 32, flags & 64).Build(comparable);
    Check(file, input, flags, comparable && !rawInput, data, size);
  }
  return 0;
}
