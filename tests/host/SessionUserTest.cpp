#include <gtest/gtest.h>

#include <string>

#include "host/HostServices.h"

namespace xel {
namespace {

// The user the host names on its command line goes into every history entry and message: no
// control character reaches them, and a long name is cut to 64 bytes without splitting a letter.
TEST(SessionUserTest, TheHostsUserComesWithoutControlCharactersAndCutWhole) {
  const std::string x63(63, 'x');
  const std::pair<std::string, std::string> cases[] = {{"/USR a\x1b[2J\tb\x7f /MOD x", "a[2Jb"},
                                                       {"/USR " + x63 + "yz", x63 + "y"},
                                                       {"/USR " + x63 + "ñ", x63},
                                                       {"/USR " + x63 + "🚀", x63}};
  for (const auto& [line, user] : cases) {
    EXPECT_EQ(UsuarioDeSesion(line), user) << line;
  }
}

}  // namespace
}  // namespace xel
