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
  for (const auto& [number, text] : {std::pair{0, "0000"},
                                     {7, "0007"},
                                     {12, "0012"},
                                     {12345, "12345"},
                                     {-7, "-0007"},
                                     {2147483647, "2147483647"}}) {
    EXPECT_EQ(Format0000(number), text);
  }
}

}  // namespace
}  // namespace xel
