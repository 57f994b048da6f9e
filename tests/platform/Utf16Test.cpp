#include <gtest/gtest.h>

#include <string>

#include "platform/Utf16.h"
#include "tests/support/FailureOf.h"

namespace xel {
namespace {

using testing::FailureOf;

TEST(Utf16Test, CarriesEveryPlaneBothWays) {
  const std::string text = "A ñ € 中 🚀 👩‍💻";
  const std::u16string wide = u"A ñ € 中 🚀 👩‍💻";
  EXPECT_EQ(Utf8ToUtf16(text), wide);
  EXPECT_EQ(Utf16ToUtf8(wide), text);
  EXPECT_EQ(Utf8ToUtf16("\U0010FFFF"), (std::u16string{char16_t(0xDBFF), char16_t(0xDFFF)}));
  EXPECT_EQ(Utf8ToUtf16(""), u"");
  EXPECT_EQ(Utf8ToUtf16(std::string("a\0b", 3)), std::u16string(u"a\0b", 3));
}

TEST(Utf16Test, RefusesTextsThatAreNotUtf8) {
  for (std::string bad : {
           "\x80",              // a continuation byte alone
           "a\xC3",             // a sequence cut short
           "\xC3(",             // a lead byte without its continuation
           "\xC0\x80",          // an over-long NUL
           "\xE0\x80\xAF",      // an over-long slash
           "\xED\xA0\x80",      // an encoded surrogate
           "\xF4\x90\x80\x80",  // past U+10FFFF
           "\xFF",
       }) {
    EXPECT_EQ(FailureOf([&] { Utf8ToUtf16(bad); }).Number(), err::InvalidProcedureCall) << bad;
  }
}

TEST(Utf16Test, ASurrogateWithoutItsHalfBecomesTheReplacementCharacter) {
  EXPECT_EQ(Utf16ToUtf8(std::u16string{char16_t(0xD83D)}), "\uFFFD");
  EXPECT_EQ(Utf16ToUtf8(std::u16string{char16_t(0xDE80), u'a'}), "\uFFFDa");
  EXPECT_EQ(Utf16ToUtf8(std::u16string{char16_t(0xD83D), u'a', char16_t(0xD83D), char16_t(0xDE80)}),
            "\uFFFDa🚀");
}

}  // namespace
}  // namespace xel
