#include <gtest/gtest.h>

#include <string>

#include "platform/Utf16.h"
#include "tests/support/FailureOf.h"

namespace xel {
namespace {

using testing::FailureOf;
using namespace std::string_literals;

TEST(Utf16Test, CarriesEveryPlaneBothWays) {
  const std::string text = "A ñ € 中 🚀 👩‍💻 \U0010FFFF \0 end"s;
  const std::u16string wide = u"A ñ € 中 🚀 👩‍💻 \U0010FFFF \0 end"s;
  EXPECT_EQ(Utf8ToUtf16(text), wide);
  EXPECT_EQ(Utf16ToUtf8(wide), text);
  EXPECT_EQ(Utf8ToUtf16(""), u"");
}

// Continuation alone, cut short, lead without continuation, over-long NUL and slash, an encoded
// surrogate, past U+10FFFF, a byte never in UTF-8.
TEST(Utf16Test, RefusesTextsThatAreNotUtf8) {
  for (std::string bad : {"\x80", "a\xC3", "\xC3(", "\xC0\x80", "\xE0\x80\xAF", "\xED\xA0\x80",
                          "\xF4\x90\x80\x80", "\xFF"}) {
    EXPECT_EQ(FailureOf([&] { Utf8ToUtf16(bad); }).Number(), err::InvalidProcedureCall) << bad;
  }
}

TEST(Utf16Test, ASurrogateWithoutItsHalfBecomesTheReplacementCharacter) {
  EXPECT_EQ(Utf16ToUtf8(std::u16string{char16_t(0xDE80), u'a', char16_t(0xD83D), char16_t(0xD83D),
                                       char16_t(0xDE80), char16_t(0xD83D)}),
            "\uFFFDa\uFFFD🚀\uFFFD");
}

}  // namespace
}  // namespace xel
