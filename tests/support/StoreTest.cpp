#include "tests/support/StoreTest.h"

namespace xel::testing {

std::string BackendName(const ::testing::TestParamInfo<Backend>& info) {
  return info.param == Backend::Sqlite ? "Sqlite" : "PostgreSql";
}

void PrintTo(Backend backend, std::ostream* out) {
  *out << BackendName({backend, 0});
}

}  // namespace xel::testing
