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
#include <string>

#include "tests/support/TempFolder.h"

namespace xel::testing {

// An environment variable set for one test, as it was afterwards.
struct ScopedVariable {
  ScopedVariable(const char* name, const std::string& value) : name(name) {
    if (const char* was = std::getenv(name)) {
      old = was;
    }
    setenv(name, value.c_str(), 1);
  }
  ~ScopedVariable() { old ? setenv(name, old->c_str(), 1) : unsetenv(name); }
  const char* name;
  std::optional<std::string> old;
};

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
    try {
      scenario();
    } catch (const std::exception& e) {
      ADD_FAILURE() << "the scenario threw: " << e.what();
    } catch (...) {
      ADD_FAILURE() << "the scenario threw something that is no exception class";
    }
    std::fflush(nullptr);
    _exit(::testing::Test::HasFailure() ? 1 : 0);
  }
  int status = 0;
  ASSERT_EQ(waitpid(child, &status, 0), child);
  EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0)
      << "the scenario failed in its own process (see above)";
}

}  // namespace xel::testing
