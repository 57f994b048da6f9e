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

TEST(SqlTest, Format0000PadsToFourDigitsKeepingTheSign) {
  // clang-format off
  const std::pair<long, const char*> cases[] = {{0, "0000"}, {7, "0007"}, {12, "0012"},
      {123, "0123"}, {-7, "-0007"}, {12345, "12345"}, {2147483647, "2147483647"}};
  // clang-format on
  for (const auto& [number, text] : cases) {
    EXPECT_EQ(Format0000(number), text);
  }
}

// A position read back from the store: a number written as the editor writes it, rounded, and
// anything else (or a number too large) as it is.
TEST(SqlTest, NumeroDePosicionWritesNumbersInFourDigits) {
  for (const auto& [posicion, numero] : {std::pair{"7", "0007"},
                                         {" 2.6 ", "0003"},
                                         {"-2.4", "-0002"},
                                         {"A12", "A12"},
                                         {"3e10", "3e10"}}) {
    EXPECT_EQ(NumeroDePosicion(posicion), numero) << posicion;
  }
}

}  // namespace
}  // namespace xel
