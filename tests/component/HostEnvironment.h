#pragma once

#include <gtest/gtest.h>
#include <stdlib.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <functional>
#include <optional>
#include <sstream>
#include <string>

#include "tests/support/TempFolder.h"

namespace xel::testing {

// An environment variable set for one test, as it was afterwards.
class ScopedVariable {
 public:
  ScopedVariable(const char* name, const std::string& value) : name_(name) {
    if (const char* old = std::getenv(name)) {
      old_ = old;
    }
    setenv(name, value.c_str(), 1);
  }
  ~ScopedVariable() { old_ ? setenv(name_, old_->c_str(), 1) : unsetenv(name_); }
  ScopedVariable(const ScopedVariable&) = delete;
  ScopedVariable& operator=(const ScopedVariable&) = delete;

 private:
  const char* name_;
  std::optional<std::string> old_;
};

inline std::string ReadFile(const std::filesystem::path& file) {
  std::ostringstream text;
  text << std::ifstream(file, std::ios::binary).rdbuf();
  return text.str();
}

// Readable by all and writable by its owner only, whatever the umask, as an installer leaves it.
inline void WriteFile(const std::filesystem::path& file, const std::string& text) {
  std::ofstream(file, std::ios::binary) << text;
  std::filesystem::permissions(file, std::filesystem::perms(0644));
}

// Runs a scenario in a child process of its own, so that it meets the component as a host process
// that has just started does: library not loaded, start-up not run, no class registered. The child
// prints the scenario's failed expectations; the test fails with them. The child ends as soon as
// the scenario does, even by an exception, and never runs the rest of the tests.
inline void InFreshProcess(const std::function<void()>& scenario) {
  std::fflush(nullptr);
  pid_t child = fork();
  ASSERT_NE(child, -1);
  if (child == 0) {
    struct EndChild {
      ~EndChild() {
        std::fflush(nullptr);
        _exit(::testing::Test::HasFailure() || std::uncaught_exceptions() > 0 ? 1 : 0);
      }
    } end;
    try {
      scenario();
    } catch (const std::exception& e) {
      ADD_FAILURE() << "the scenario threw: " << e.what();
    }
    return;
  }
  int status = 0;
  ASSERT_EQ(waitpid(child, &status, 0), child);
  EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0)
      << "the scenario failed in its own process (see above)";
}

}  // namespace xel::testing
