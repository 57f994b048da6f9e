#include <gtest/gtest.h>

#include <string>

#include "platform/data/Database.h"
#include "platform/text/Numeric.h"
#include "tests/support/FailureOf.h"

namespace xel::testing {
namespace {

TEST(ReadsAsNumberTest, AcceptsWholeNumbersInEveryWrittenFormAndNothingThatOnlyLooksLikeOne) {
  for (const char* text :
       {"0", "25", "-3", "+7", "2.5", ".5", "5.", "1e5", "1E-5", "-2.5e+3", "  25  ", " .5"}) {
    EXPECT_TRUE(ReadsAsNumber(text)) << '"' << text << '"';
  }
  for (const char* text : {"", "   ", "-", "+", ".", "1e", "1e+", "e5", ".e5", "25A", "A25", "2 5",
                           "- 5", "+-5", "1.2.3", "1e5.0", "0x10", "\t5"}) {
    EXPECT_FALSE(ReadsAsNumber(text)) << '"' << text << '"';
  }
}

TEST(FieldValueTest, AsLongReadsWholeNumbersOfThirtyTwoBits) {
  EXPECT_EQ(FieldValue("0041").AsLong(), 41);
  EXPECT_EQ(FieldValue(" -7 ").AsLong(), -7);
  EXPECT_EQ(FieldValue("+2147483647").AsLong(), 2147483647);
  for (const char* text : {"2147483648", "-2147483649", "99999999999999999999"}) {
    EXPECT_EQ(FailureOf([&] { FieldValue(text).AsLong(); }).Number(), err::Overflow) << text;
  }
  for (const char* text : {"", "2.5", "12abc", "+-5", "+"}) {
    EXPECT_EQ(FailureOf([&] { FieldValue(text).AsLong(); }).Number(), err::TypeMismatch) << text;
  }
  EXPECT_EQ(FailureOf([] { FieldValue::Null().AsLong(); }).Number(), err::TypeMismatch);
}

}  // namespace
}  // namespace xel::testing
