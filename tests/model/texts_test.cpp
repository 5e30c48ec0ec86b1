// SPDX-License-Identifier: MIT
// Placeholders of translatable messages, and the fall-back to German.
#include "model/texts.h"

#include <gtest/gtest.h>

#include <string>

namespace {

TEST(Format, ReplacesNumberedPlaceholders) {
  EXPECT_EQ(Format("Zeile %1, Spalte %2: %3", {"3", "7", "x"}), "Zeile 3, Spalte 7: x");
  // A translation may put the arguments in another order, or use one twice.
  EXPECT_EQ(Format("%2 before %1", {"a", "b"}), "b before a");
  EXPECT_EQ(Format("%1 = %1", {"x"}), "x = x");
  // A placeholder without its argument stays as written.
  EXPECT_EQ(Format("%1 %3", {"a", "b"}), "a %3");
  // Only %1 to %9: "%10" is the first argument followed by 0.
  EXPECT_EQ(Format("%10", {"a"}), "a0");
  // Arguments are not read as patterns again.
  EXPECT_EQ(Format("%1 %2", {"%2", "b"}), "%2 b");
  EXPECT_EQ(Format("100 % %0 %a %", {"x"}), "100 % %0 %a %");
}

struct TranslatorGuard {
  explicit TranslatorGuard(TTranslator t) { SetTranslator(t); }
  ~TranslatorGuard() { SetTranslator(nullptr); }
};

TEST(Tr, TranslatesByContextAndFallsBackToGerman) {
  const TranslatorGuard guard([](const char* context, const char* german) -> std::string {
    if (std::string(context) == "Datei" && std::string(german) == "Stream-Lesefehler")
      return "stream read error";
    return std::string(); // no translation
  });
  EXPECT_EQ(Tr("Datei", "Stream-Lesefehler"), "stream read error");
  EXPECT_EQ(Tr("Bild", "Stream-Lesefehler"), "Stream-Lesefehler");
  EXPECT_EQ(Tr("Datei", "Stream-Schreibfehler"), "Stream-Schreibfehler");
  SetTranslator(nullptr);
  EXPECT_EQ(Tr("Datei", "Stream-Lesefehler"), "Stream-Lesefehler");
}

} // namespace
