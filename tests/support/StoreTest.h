#pragma once

#include <gtest/gtest.h>

#include <memory>
#include <ostream>
#include <string>

#include "tests/support/TempStore.h"

namespace xel::testing {

inline std::string BackendName(const ::testing::TestParamInfo<Backend>& info) {
  return info.param == Backend::Sqlite ? "Sqlite" : "PostgreSql";
}
inline void PrintTo(Backend backend, std::ostream* out) {
  *out << BackendName({backend, 0});
}

// A test that runs once per backend on a fresh store of its own, and is skipped (with the reason)
// on a backend this run cannot reach. Instantiate a suite with XEL_ON_EVERY_BACKEND(Suite).
class StoreTest : public ::testing::TestWithParam<Backend> {
 protected:
  explicit StoreTest(TempStore::Contents contents = TempStore::Contents::Schema)
      : contents_(contents) {}

  void SetUp() override {
    if (std::string why = TempStore::Unavailable(GetParam()); !why.empty()) {
      GTEST_SKIP() << why;
    }
    store_ = NewStore(contents_);
  }

  TempStore& Store() { return *store_; }
  Connection& Db() { return store_->Db(); }
  bool OnServer() const { return GetParam() != Backend::Sqlite; }
  // Another fresh store on the same backend.
  std::unique_ptr<TempStore> NewStore(TempStore::Contents contents) const {
    return std::make_unique<TempStore>(contents, GetParam());
  }

 private:
  TempStore::Contents contents_;
  std::unique_ptr<TempStore> store_;
};

#define XEL_ON_EVERY_BACKEND(Suite)                                                            \
  INSTANTIATE_TEST_SUITE_P(                                                                    \
      On, Suite,                                                                               \
      ::testing::Values(::xel::testing::Backend::Sqlite, ::xel::testing::Backend::PostgreSql), \
      ::xel::testing::BackendName)

}  // namespace xel::testing
