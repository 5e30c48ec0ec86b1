// SPDX-License-Identifier: MIT
#include "language/text_translation.h"
#include "tests/model/tree_dump.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

const char kUntranslated[] = "(nicht übersetzt)";

// The text as an element of the kind in a program whose other statements fix the types of
// s (string), r and y (real), f (boolean); other variables are integers.
std::string Translate(TSourceLanguage language, TKind kind, const std::string& text) {
  TOwned<TBlock> root = NewDocumentRoot();
  for (const char* context : {"s := 'x'", "r := 1.5", "f := true", "y := a / 2"})
    AppendToBody(*root, TAnweisung::CreateWithText(context));
  const TElement* e =
      kind == TKind::Anweisung
          ? static_cast<TElement*>(AppendToBody(*root, TAnweisung::CreateWithText(text)))
      : kind == TKind::For ? static_cast<TElement*>(AppendToBody(*root, TFor::CreateWithText(text)))
                           : AppendToBody(*root, TIf::CreateWithText(text));
  const TProgramTexts texts(*root);
  TTextTranslator translator(language, texts);
  std::string out;
  if (kind == TKind::Anweisung) {
    std::vector<std::string> lines;
    if (!translator.Statements(texts.Of(*e), lines))
      return kUntranslated;
    for (const std::string& line : lines)
      out += (out.empty() ? "" : "\n") + line;
  } else if (kind == TKind::For) {
    TTextTranslator::TLoop loop;
    if (!translator.CountingLoop(texts.Of(*e), loop))
      return kUntranslated;
    out = loop.Variable + " | " + loop.From + " | " + loop.To + " | " + loop.ToPlusOne;
  } else if (!translator.Condition(texts.Of(*e), out)) {
    return kUntranslated;
  }
  return out;
}

struct TRow {
  TKind kind;
  const char* text;
  const char* python;
  const char* java;
  const char* c;
};

const TKind S = TKind::Anweisung, C = TKind::If, F = TKind::For;

const TRow kRows[] = {
    {S, "x := a + 1", "x = a + 1", "x = a + 1;", "x = a + 1;"},
    {S, "x := a div 2 * (b mod 3)", "x = a // 2 * (b % 3)", "x = a / 2 * (b % 3);",
     "x = a / 2 * (b % 3);"},
    {S, "y := a / (b + 1)", "y = a / (b + 1)", "y = (double) a / (b + 1);",
     "y = (double) a / (b + 1);"},
    {S, "x := -(-a) + $1F + sqr(b + 1)", "x = -(-a) + 0x1F + (b + 1) * (b + 1)",
     "x = -(-a) + 0x1F + (b + 1) * (b + 1);", "x = -(-a) + 0x1F + (b + 1) * (b + 1);"},
    {S, "writeln('Summe: ', a, ' ', b:3)", "print('Summe: ', a, ' ', format(b, '3'), sep='')",
     "System.out.println(\"Summe: \" + a + \" \" + String.format(\"%3d\", b));",
     "printf(\"Summe: %d %3d\\n\", a, b);"},
    {S, "write(a, b + 1)", "print(a, b + 1, sep='', end='')",
     "System.out.print(\"\" + a + (b + 1));", "printf(\"%d%d\", a, b + 1);"},
    {S, "writeln(r:6:2, r, f, s:4, '100%')",
     "print(real_str(r, 6, 2), real_str(r), 'TRUE' if f else 'FALSE', format(s, '>4'), '100%', "
     "sep='')",
     "System.out.println(realStr(r, 6, 2) + realStr(r, -1, -1) + (f ? \"TRUE\" : \"FALSE\") + "
     "String.format(\"%4s\", s) + \"100%\");",
     "printf(\"%s%s%s%4s100%%\\n\", real_str(r, 6, 2), real_str(r, -1, -1), f ? \"TRUE\" : "
     "\"FALSE\", s);"},
    {S, "writeln", "print()", "System.out.println();", "printf(\"\\n\");"},
    {S, "readln(a); readln(s); read(r)",
     "a = read_int()\nskip_line()\ns = read_string()\nskip_line()\nr = read_real()",
     "a = readInt();\nskipLine();\ns = readString();\nskipLine();\nr = readReal();",
     "a = read_int();\nskip_line();\nread_string(s);\nskip_line();\nr = read_real();"},
    {S, "inc(a); dec(b, 2);", "a += 1\nb -= 2", "a++;\nb -= 2;", "a++;\nb -= 2;"},
    {S, "s := s + '\xE4\x80?' + chr(65)", "s = s + '\xC3\xA4\\x80?' + chr(65)",
     "s = s + \"\\u00e4\\u0080?\" + String.valueOf((char) 65);",
     "str_set(s, str_cat(str_cat(s, \"\\344\\200?\"), str_chr(65)));"},
    {S, "s := 'it''s \"?\?/\"\\'", "s = 'it\\'s \"?\?/\"\\\\'", "s = \"it's \\\"?\?/\\\"\\\\\";",
     "str_set(s, \"it's \\\"?\\?/\\\"\\\\\");"},
    {S, "x := length(s) + ord(s[2]) + ord(f) + trunc(r) + round(r)",
     "x = len(s) + ord(s[1]) + int(f) + int(r) + round(r)",
     "x = s.length() + (int) String.valueOf(s.charAt(1)).charAt(0) + (f ? 1 : 0) + (int) r + "
     "(int) Math.rint(r);",
     "x = (int) strlen(s) + (unsigned char) str_at(s, 2)[0] + (int) f + (int) r + (int) "
     "nearbyint(r);"},
    {S, "print := 1; Int := print", "print_ = 1\nInt = print_", "print = 1;\nInt = print;",
     "print = 1;\nInt = print;"},
    {S, "Summe := 1; SUMME := summe + 1", "Summe = 1\nSumme = Summe + 1",
     "Summe = 1;\nSumme = Summe + 1;", "Summe = 1;\nSumme = Summe + 1;"},
    {S, "x := random(n + 1) + 1; r := sin(r) + ln(2) + random",
     "x = random.randrange(n + 1) + 1\nr = math.sin(r) + math.log(2) + random.random()",
     "x = (int) (Math.random() * (n + 1)) + 1;\nr = Math.sin(r) + Math.log(2) + Math.random();",
     "x = rand() % (n + 1) + 1;\nr = sin(r) + log(2) + rand() / (RAND_MAX + 1.0);"},
    {S, "s := copy(s, pos('x', s), 2)", "s = copy(s, pos('x', s), 2)",
     "s = copy(s, pos(\"x\", s), 2);", "str_set(s, str_copy(s, str_pos(\"x\", s), 2));"},
    {S, "break; halt", "break\nsys.exit(0)", "break;\nSystem.out.flush();\nSystem.exit(0);",
     "break;\nexit(0);"},
    {S, "", "", "", ""},
    {C, "(a > 0) and not f", "(a > 0) and not f", "(a > 0) && !f", "(a > 0) && !f"},
    {C, "not (a = b) or (s <> 'x')", "not (a == b) or (s != 'x')",
     "!(a == b) || (!s.equals(\"x\"))", "!(a == b) || (strcmp(s, \"x\") != 0)"},
    {C, "(a and 1) = 0", "(a & 1) == 0", "(a & 1) == 0", "(a & 1) == 0"},
    {C, "a and b = 0", "a & b == 0", "(a & b) == 0", "(a & b) == 0"},
    {C, "not f = (a < b)", "(not f) == (a < b)", "!f == (a < b)", "!f == (a < b)"},
    {C, "f and (a < b) or odd(b) xor (s < 'm')", "(f and (a < b) or b % 2 != 0) != (s < 'm')",
     "((f && (a < b)) || b % 2 != 0) != (s.compareTo(\"m\") < 0)",
     "((f && (a < b)) || b % 2 != 0) != (strcmp(s, \"m\") < 0)"},
    {C, "((r >= 1.5))", "r >= 1.5", "r >= 1.5", "r >= 1.5"},
    {F, "i := 1 bis n", "i | 1 | n | n + 1", "i | 1 | n | n + 1", "i | 1 | n | n + 1"},
    {F, "i := a+1 bis 2 * n - 1", "i | a + 1 | 2 * n - 1 | 2 * n - 1 + 1",
     "i | a + 1 | 2 * n - 1 | 2 * n - 1 + 1", "i | a + 1 | 2 * n - 1 | 2 * n - 1 + 1"},
    {F, "k := 0 bis 9", "k | 0 | 9 | 10", "k | 0 | 9 | 10", "k | 0 | 9 | 10"},
    // Refused: not a statement, unknown procedure, wrong types, values Java's int lacks,
    // widths that are not literals, a counting-loop text the Pascal export cuts apart.
    {S, "if a then b", kUntranslated, kUntranslated, kUntranslated},
    {S, "Tausche(a, b)", kUntranslated, kUntranslated, kUntranslated},
    {S, "a := ", kUntranslated, kUntranslated, kUntranslated},
    {S, "s := 1", kUntranslated, kUntranslated, kUntranslated},
    {S, "a := 2147483648", kUntranslated, kUntranslated, kUntranslated},
    {S, "writeln(a:b)", kUntranslated, kUntranslated, kUntranslated},
    {S, "readln(f)", kUntranslated, kUntranslated, kUntranslated},
    {S, "x := s + 1", kUntranslated, kUntranslated, kUntranslated},
    {C, "a + 1", kUntranslated, kUntranslated, kUntranslated},
    {C, "s = 1", kUntranslated, kUntranslated, kUntranslated},
    {C, "a in [1, 2]", kUntranslated, kUntranslated, kUntranslated},
    {F, "i := n - 1 bis 10", kUntranslated, kUntranslated, kUntranslated},
    {F, "???", kUntranslated, kUntranslated, kUntranslated},
    {F, "s := 1 bis 3", kUntranslated, kUntranslated, kUntranslated},
};

TEST(TextTranslation, TextsInEachLanguage) {
  for (const TRow& row : kRows) {
    SCOPED_TRACE(row.text);
    EXPECT_EQ(Translate(TSourceLanguage::Python, row.kind, row.text), row.python);
    EXPECT_EQ(Translate(TSourceLanguage::Java, row.kind, row.text), row.java);
    EXPECT_EQ(Translate(TSourceLanguage::C, row.kind, row.text), row.c);
  }
}

TEST(TextTranslation, VariablesAndTheirTypes) {
  struct Row {
    const char* name;
    std::vector<const char*> statements;
    std::vector<const char*> conditions;
    const char* expected;
  };
  const Row rows[] = {
      {"literals", {"x := 1", "y := 'a'", "z := 1.5", "w := true"}, {}, "x:I y:S z:R w:B"},
      {"through another variable", {"a := b", "b := c + 0.5", "c := 1"}, {}, "a:R b:R c:I"},
      {"string beats number", {"s := 1", "s := 'x'"}, {}, "s:S"},
      {"not and standing alone make booleans",
       {},
       {"fertig", "not gefunden and (n > 0)"},
       "fertig:B gefunden:B n:I"},
      {"an assignment beats a not", {"k := 1"}, {"not k = 0"}, "k:I"},
      {"compared with a string", {"readln(t)"}, {"t = 'ja'"}, "t:S"},
      {"called names are no variables",
       {"x := Fak(3)", "Fak := 1", "Tausche(a, b); writeln(x)", "Anweisung"},
       {},
       "x:I a:I b:I"},
      {"first spelling counts", {"Summe := 0", "summe := SUMME + i"}, {}, "Summe:I i:I"},
      {"texts that are not Pascal name nothing", {"x :=", "???"}, {"a <"}, ""},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.name);
    TOwned<TBlock> root = NewDocumentRoot();
    for (const char* s : row.statements)
      AppendToBody(*root, TAnweisung::CreateWithText(s));
    for (const char* c : row.conditions)
      AppendToBody(*root, TWhile::CreateWithText(c));
    std::string got;
    const TProgramTexts texts(*root);
    for (const TVariable& v : texts.Variables())
      got += (got.empty() ? "" : " ") + v.Name + ":" + "?IRBS"[static_cast<int>(v.Type)];
    EXPECT_EQ(got, row.expected);
  }
}

} // namespace
