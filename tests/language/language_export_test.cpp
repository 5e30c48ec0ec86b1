// SPDX-License-Identifier: MIT
#include "language/language_export.h"
#include "model/structogram_file.h"
#include "tests/language/external_tools.h"
#include "tests/language/program_generator.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

std::string Lines(const std::vector<std::string>& lines) {
  std::string out;
  for (const std::string& line : lines)
    out += line + "\r\n";
  return out;
}

TOwned<TBlock> EveryKind() {
  TOwned<TBlock> root = NewDocumentRoot();
  auto statement = [](TBlock* b, const char* t) {
    AppendToBody(*b, TAnweisung::CreateWithText(t));
  };
  statement(root.get(), "x := 0");
  statement(AppendToBody(*root, TIf::CreateWithText("x < 10"))->Branch2, "x := 10");
  TWhile* loop = AppendToBody(*root, TWhile::CreateWithText("true"));
  statement(AppendToBody(*loop->Branch1, TFor::CreateWithText("i := 1 bis 3"))->Branch1, "inc(x)");
  TBlock* named = AppendToBody(*root, TBlock::CreateWithText("Ausgabe \xFC"));
  statement(AppendToBody(*named, TRepeat::CreateWithText("x = 0"))->Branch1, "x := x - 1");
  AppendToBody(*named, TDoWhile::CreateWithText("x > 5"));
  statement(named, "writeln(x, i)");
  statement(root.get(), "Tausche(x, y)");
  AppendToBody(*root, TIf::CreateWithText("x ="));
  return root;
}

TEST(LanguageExport, EveryKindInEachLanguage) {
  const TOwned<TBlock> root = EveryKind();
  EXPECT_EQ(ExportProgramAs(*root, TSourceLanguage::Python, "Beispiel"),
            Lines({"x = 0",
                   "i = 0",
                   "y = 0",
                   "",
                   "x = 0",
                   "if x < 10:",
                   "    pass",
                   "else:",
                   "    x = 10",
                   "while True:",
                   "    for i in range(1, 4):",
                   "        x += 1",
                   "",
                   "# Ausgabe \xC3\xBC",
                   "while True:",
                   "    x = x - 1",
                   "    if x == 0:",
                   "        break",
                   "while True:",
                   "    if not (x > 5):",
                   "        break",
                   "print(x, i, sep='')",
                   "# Ende Ausgabe \xC3\xBC",
                   "",
                   "Tausche(x, y)  # nicht übersetzt",
                   "if x =:  # nicht übersetzt",
                   "    pass"}));
  // Java reads sources in the platform's encoding: everything but the marker stays ASCII.
  // Constant loop conditions are hidden from javac, which refuses code after an endless loop;
  // i is read after its loop, which therefore stops at its end value as Pascal's does.
  EXPECT_EQ(ExportProgramAs(*root, TSourceLanguage::Java, "Beispiel"),
            Lines({"public class Beispiel {",
                   "    public static void main(String[] args) {",
                   "        int x = 0;",
                   "        int i = 0;",
                   "        int y = 0;",
                   "",
                   "        x = 0;",
                   "        if (x < 10) {",
                   "            ;",
                   "        } else {",
                   "            x = 10;",
                   "        }",
                   "        while (Boolean.valueOf(true)) {",
                   "            for (i = 1; i <= 3; i++) {",
                   "                x++;",
                   "                if (i == 3) break;",
                   "            }",
                   "        }",
                   "",
                   "        // Ausgabe \\u00fc",
                   "        do {",
                   "            x = x - 1;",
                   "        } while (!(x == 0));",
                   "        do {",
                   "            ;",
                   "        } while (x > 5);",
                   "        System.out.println(\"\" + x + i);",
                   "        // Ende Ausgabe \\u00fc",
                   "",
                   "        Tausche(x, y)  // nicht übersetzt",
                   "        if (x =) {  // nicht übersetzt",
                   "            ;",
                   "        }",
                   "    }",
                   "}"}));
  const std::string c = ExportProgramAs(*root, TSourceLanguage::C, "Beispiel");
  EXPECT_EQ(c.substr(0, c.find("int main")),
            Lines({"#include <stdbool.h>", "#include <stdio.h>", ""}));
  EXPECT_NE(
      c.find(Lines({"    while (true) {", "        for (i = 1; i <= 3; i++) {", "            x++;",
                    "            if (i == 3) break;", "        }", "    }"})),
      std::string::npos);
  EXPECT_NE(c.find("    printf(\"%d%d\\n\", x, i);\r\n    // Ende Ausgabe \xC3\xBC\r\n"),
            std::string::npos);
  EXPECT_EQ(ExportProgramAs(*root, TSourceLanguage::Pascal, "Beispiel"), ExportProgram(*root));
}

TEST(LanguageExport, JavaClassIsNamedAfterTheFile) {
  const TOwned<TBlock> root = NewDocumentRoot();
  struct Row {
    const char* file;
    const char* declaration;
  };
  const Row rows[] = {{"Zinsen.java", "public class Zinsen {"},
                      {"mein Programm.JAVA", "class mein_Programm {"},
                      {"1a.java", "class _1a {"},
                      {"class.java", "class class_ {"},
                      {".java", "class Programm {"}};
  TTempDir dir;
  for (const Row& row : rows) {
    SCOPED_TRACE(row.file);
    ExportProgramFileAs(*root, TSourceLanguage::Java, dir.File(row.file));
    const std::string text = ReadBytes(dir.File(row.file));
    EXPECT_EQ(text.substr(0, text.find('\r')), row.declaration);
  }
  EXPECT_THROW(ExportProgramFileAs(*root, TSourceLanguage::C, dir.File("fehlt/x.c")), TStreamError);
}

// --- The real tools -------------------------------------------------------------------------

struct TTool {
  const char* Name;
  const char* Extension;
};

TTool ToolFor(TSourceLanguage language) {
  switch (language) {
  case TSourceLanguage::Python:
    return {"python3", "py"};
  case TSourceLanguage::Java:
    return {"javac", "java"};
  case TSourceLanguage::C:
    return {"gcc", "c"};
  default:
    return {"fpc", "pas"};
  }
}

std::string Source(const TBlock& root, TSourceLanguage language, const std::string& name) {
  return language == TSourceLanguage::Pascal ? CompletePascalProgram(root, name)
                                             : ExportProgramAs(root, language, name);
}

std::string LanguageName(const ::testing::TestParamInfo<TSourceLanguage>& info) {
  return ToolFor(info.param).Extension;
}

class GeneratedPrograms : public ::testing::TestWithParam<TSourceLanguage> {};

TEST_P(GeneratedPrograms, CompileWithTheLanguagesTool) {
  const TTool tool = ToolFor(GetParam());
  if (!HasTool(tool.Name))
    GTEST_SKIP() << tool.Name << " fehlt";
  TTempDir dir;
  std::string files;
  for (int i = 0; i < kProgramCount; ++i) {
    const std::string name = "Programm" + std::to_string(i);
    const TOwned<TBlock> root = TProgramGenerator(100 + i, {true, i % 2 == 0}).Generate();
    WriteBytes(dir.File(name + "." + tool.Extension), Source(*root, GetParam(), name));
    files += " " + name + "." + tool.Extension;
  }
  std::string output;
  switch (GetParam()) {
  case TSourceLanguage::Python:
    EXPECT_TRUE(RunTool(dir, "python3 -m py_compile" + files, &output)) << output;
    break;
  case TSourceLanguage::Java:
    EXPECT_TRUE(RunTool(dir, "javac" + files, &output)) << output;
    break;
  case TSourceLanguage::C:
    EXPECT_TRUE(RunTool(dir, "gcc -std=c11 -fsyntax-only" + files, &output)) << output;
    break;
  case TSourceLanguage::Pascal:
    for (int i = 0; i < kProgramCount; ++i)
      EXPECT_TRUE(RunTool(dir, "fpc -v0 Programm" + std::to_string(i) + ".pas", &output)) << output;
    break;
  }
}

INSTANTIATE_TEST_SUITE_P(Languages, GeneratedPrograms,
                         ::testing::Values(TSourceLanguage::Python, TSourceLanguage::Java,
                                           TSourceLanguage::C, TSourceLanguage::Pascal),
                         LanguageName);

// Numbers, some of them two to a line, for the programs that read.
std::string Input() {
  std::string input;
  for (int i = 0; i < 120; ++i)
    input += std::to_string(i * 7 % 23) + (i % 5 == 0 ? " " + std::to_string(i) : "") + "\n";
  return input;
}

// Reals at the edges of Pascal's rounding, each written in every form.
TOwned<TBlock> RealsProgram() {
  TOwned<TBlock> root = NewDocumentRoot();
  for (const char* value : {"0", "1.005", "2.675", "0.125", "1e22", "123456.789", "-1.5", "0.0096",
                            "0.00096", "99.96", "14.0049999", "5e-324", "1.7976931348623157e308",
                            "2.5", "-0.5", "1e-7", "0.1", "1.0049999999999999"}) {
    AppendToBody(*root, TAnweisung::CreateWithText(std::string("r := ") + value));
    AppendToBody(*root, TAnweisung::CreateWithText(
                            "writeln(r, '|', r:10, '|', r:3, '|', r:0:0, '|', r:0:2, '|', "
                            "r:12:5, '|', r:0:17, '|', r:30)"));
  }
  return root;
}

// What each program printed when compiled by fpc from its Pascal export, the last one being
// RealsProgram; empty when fpc is missing.
const std::vector<std::string>& PascalOutputs() {
  static const std::vector<std::string> outputs = [] {
    std::vector<std::string> out;
    if (!HasTool("fpc"))
      return out;
    TTempDir dir;
    for (int i = 0; i <= kProgramCount; ++i) {
      const TOwned<TBlock> root =
          i < kProgramCount ? TProgramGenerator(200 + i, {true, true}).Generate() : RealsProgram();
      WriteBytes(dir.File("p.pas"), CompletePascalProgram(*root, "p"));
      std::string output;
      if (!RunTool(dir, "fpc -v0 p.pas", &output) || !RunTool(dir, "./p", &output, Input()))
        output = "fpc: " + output;
      out.push_back(output);
    }
    return out;
  }();
  return outputs;
}

class ExportedPrograms : public ::testing::TestWithParam<TSourceLanguage> {};

TEST_P(ExportedPrograms, PrintWhatThePascalProgramPrints) {
  const TTool tool = ToolFor(GetParam());
  if (!HasTool(tool.Name) || !HasTool("fpc"))
    GTEST_SKIP() << tool.Name << " oder fpc fehlt";
  TTempDir dir;
  std::vector<std::string> sources;
  std::string files;
  for (int i = 0; i <= kProgramCount; ++i) {
    const TOwned<TBlock> root =
        i < kProgramCount ? TProgramGenerator(200 + i, {true, true}).Generate() : RealsProgram();
    const std::string name = "P" + std::to_string(i);
    sources.push_back(ExportProgramAs(*root, GetParam(), name));
    ASSERT_EQ(sources.back().find("nicht übersetzt"), std::string::npos) << sources.back();
    WriteBytes(dir.File(name + "." + tool.Extension), sources.back());
    files += " " + name + "." + tool.Extension;
  }
  std::string output;
  if (GetParam() == TSourceLanguage::Java) {
    ASSERT_TRUE(RunTool(dir, "javac" + files, &output)) << output;
  }
  for (int i = 0; i <= kProgramCount; ++i) {
    SCOPED_TRACE("Programm " + std::to_string(i));
    const std::string name = "P" + std::to_string(i);
    bool ran = false;
    switch (GetParam()) {
    case TSourceLanguage::Python:
      ran = RunTool(dir, "python3 " + name + ".py", &output, Input());
      break;
    case TSourceLanguage::Java:
      ran = RunTool(dir, "java -cp . " + name, &output, Input());
      break;
    default:
      ran = RunTool(dir, "gcc -std=c11 -o " + name + " " + name + ".c -lm", &output) &&
            RunTool(dir, "./" + name, &output, Input());
      break;
    }
    EXPECT_TRUE(ran) << output;
    EXPECT_EQ(output, PascalOutputs()[static_cast<std::size_t>(i)])
        << sources[static_cast<std::size_t>(i)];
  }
}

INSTANTIATE_TEST_SUITE_P(Languages, ExportedPrograms,
                         ::testing::Values(TSourceLanguage::Python, TSourceLanguage::Java,
                                           TSourceLanguage::C),
                         LanguageName);

} // namespace
