// The rules every statement's values and names go through; that quoted values come back byte for
// byte on every backend is checked by the connections' tests and the robustness tests.

#include <gtest/gtest.h>

#include <string>

#include "store/Sql.h"
#include "tests/support/FailureOf.h"

namespace xel {
namespace {

using testing::FailureOf;

TEST(SqlTest, QuoteDoublesQuotesOnlyAndRefusesNul) {
  for (const auto& [text, quoted] : {std::pair{"O'Brien", "O''Brien"},
                                     {"''", "''''"},
                                     {"sin comillas \\ \"", "sin comillas \\ \""}}) {
    EXPECT_EQ(Quote(text), quoted);
  }
  EXPECT_EQ(FailureOf([] { Quote(std::string("a\0b", 3)); }).Number(), err::InvalidProcedureCall);
}

TEST(SqlTest, PlainIdentifiersAreLettersDigitsAndUnderscores) {
  for (const char* name : {"Cv_id", "XEL_Clase_Variable", "_x", "a1"}) {
    EXPECT_TRUE(IsPlainIdentifier(name)) << name;
  }
  for (const char* name : {"", "1a", "Cv id", "a;b", "a'", "x--", "[a]", "\"a\"", "ñ", "a.b"}) {
    EXPECT_FALSE(IsPlainIdentifier(name)) << name;
  }
}

// Positions are written in four digits keeping the sign; one read back from the store is written
// so when it is a number (rounded), and kept as it is otherwise or when too large.
TEST(SqlTest, PositionsAreWrittenInFourDigits) {
  for (const auto& [number, text] :
       {std::pair{0L, "0000"}, {7L, "0007"}, {123L, "0123"}, {-7L, "-0007"}, {12345L, "12345"}}) {
    EXPECT_EQ(Format0000(number), text);
  }
  const std::pair<const char*, const char*> kLeidas[] = {
      {"7", "0007"}, {" 2.6 ", "0003"}, {"-2.4", "-0002"}, {"A12", "A12"}, {"3e10", "3e10"}};
  for (const auto& [posicion, numero] : kLeidas) {
    EXPECT_EQ(NumeroDePosicion(posicion), numero) << posicion;
  }
}

}  // namespace
}  // namespace xel
