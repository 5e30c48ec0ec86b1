// SPDX-License-Identifier: MIT
#include "ui/main/text_codec.h"

#include <gtest/gtest.h>

namespace {

struct TCodecCase {
  const char* name;
  std::string bytes;
  QString text;
};

class CodecTable : public testing::TestWithParam<TCodecCase> {};

TEST_P(CodecTable, ConvertsBothWays) {
  const TCodecCase& c = GetParam();
  EXPECT_EQ(FromCp1252(c.bytes), c.text);
  EXPECT_EQ(ToCp1252(c.text), c.bytes);
}

INSTANTIATE_TEST_SUITE_P(
    Windows1252, CodecTable,
    testing::Values(TCodecCase{"ascii", "i := 1 bis 10", QStringLiteral("i := 1 bis 10")},
                    TCodecCase{"umlauts", "Z\xE4hlschleife \xF6\xFC\xDF",
                               QStringLiteral("Zählschleife öüß")},
                    TCodecCase{"euro_and_quotes", "\x80 \x84x\x93",
                               QString::fromUtf8("€ „x“")},
                    TCodecCase{"undefined_bytes_keep_their_number", "\x81\x8D\x8F\x90\x9D",
                               QString::fromUtf16(u"\u0081\u008D\u008F\u0090\u009D")},
                    TCodecCase{"empty", "", QString()}),
    [](const testing::TestParamInfo<TCodecCase>& info) { return std::string(info.param.name); });

TEST(Codec, EveryByteSurvivesARoundTrip) {
  std::string all;
  for (int b = 1; b < 256; ++b) all.push_back(static_cast<char>(b));
  const QString text = FromCp1252(all);
  EXPECT_EQ(text.size(), 255);
  EXPECT_EQ(ToCp1252(text), all);
}

TEST(Codec, CharactersOutsideTheCodePageBecomeQuestionMarks) {
  EXPECT_EQ(ToCp1252(QString::fromUtf8("a\u0416b")), "a?b");            // Cyrillic
  EXPECT_EQ(ToCp1252(QString::fromUtf8("x\U0001F600y")), "x?y");        // one ? per character
}

TEST(Codec, FailureTextAcceptsUtf8AndWindows1252) {
  EXPECT_EQ(FailureText("Datei a.str kann nicht ge\xC3\xB6" "ffnet werden"),
            QStringLiteral("Datei a.str kann nicht geöffnet werden"));
  EXPECT_EQ(FailureText("Datei a.str kann nicht ge\xF6" "ffnet werden"),
            QStringLiteral("Datei a.str kann nicht geöffnet werden"));
  EXPECT_EQ(FailureText("Stream-Lesefehler"), QStringLiteral("Stream-Lesefehler"));
}

}  // namespace
