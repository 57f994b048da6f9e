// Texts from the store, a file or a connection string on their way to a person: nothing in them
// may act on the terminal, and no password may show.

#include <gtest/gtest.h>

#include <string>

#include "platform/text/VisibleText.h"

namespace xel {
namespace {

TEST(VisibleTextTest, WhatCouldActOnATerminalShowsEscapedAndTheRestAsItIs) {
  const struct {
    std::string text, shown;
  } cases[] = {
      {"Facturación 16% ✓", "Facturación 16% ✓"},
      {"a\tb\nc\rd\\n", "a\\tb\\nc\\rd\\\\n"},
      {"\x1b]52;c;ZXZpbA==\x07", "\\x1b]52;c;ZXZpbA==\\x07"},  // a clipboard write
      {"\x1b[2J\x1b[H", "\\x1b[2J\\x1b[H"},                    // clear the screen, cursor home
      {std::string("nul\0del\x7f", 8), "nul\\x00del\\x7f"},
      {"\xc2\x9b"
       "31m",
       "\\u009b31m"},  // the one-character CSI
      {"abc\xe2\x80\xae"
       "fed",
       "abc\\u202efed"},  // a right-to-left override
      {"\xe2\x80\xa8", "\\u2028"},
      {"\xe2\x81\xa9\xe2\x81\xa6", "\\u2069\\u2066"},         // the last and first bidi isolates
      {"\x9b\xff\xc3", "\\x9b\\xff\\xc3"},                    // bytes that are no UTF-8
      {"\xc0\xaf\xed\xa0\x80", "\\xc0\\xaf\\xed\\xa0\\x80"},  // overlong, surrogate
      {"\xf0\x9f\x98\x80", "\xf0\x9f\x98\x80"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(VisibleText(c.text), c.shown) << c.shown;
  }
  EXPECT_EQ(VisibleText("one\ntwo\x1b\r\nthree\rfour", LineBreaks::Kept),
            "one\ntwo\\x1b\r\nthree\\rfour");
}

TEST(VisibleTextTest, PasswordsOfAConnectionStringAreMaskedAndNothingElse) {
  const struct {
    const char* connection;
    const char* shown;
  } cases[] = {
      {"odbc:Driver={PostgreSQL Unicode};Server=db1;Uid=admin;Pwd=s3cret;",
       "odbc:Driver={PostgreSQL Unicode};Server=db1;Uid=admin;Pwd=***;"},
      {"odbc:PWD=a;pwd=b;Password=c;PASSWORD = d",
       "odbc:PWD=***;pwd=***;Password=***;PASSWORD =***"},
      {"odbc:Uid=x; Pwd = {se;cr}}et};Database=erp", "odbc:Uid=x; Pwd =***;Database=erp"},
      {"odbc:Driver={Pwd=x;y};Server=s", "odbc:Driver={Pwd=x;y};Server=s"},
      {"odbc:DSN=erp", "odbc:DSN=erp"},
      {"odbc:Pwd=tail", "odbc:Pwd=***"},
      {"odbc:Pwd={never closed;Uid=x", "odbc:Pwd=***"},
      {"odbc:PwdHint=keep;;NoValue;Uid=u", "odbc:PwdHint=keep;;NoValue;Uid=u"},
      {"sqlite:/srv/erp/variables.db", "sqlite:/srv/erp/variables.db"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(WithoutSecrets(c.connection), c.shown) << c.connection;
  }
}

}  // namespace
}  // namespace xel
