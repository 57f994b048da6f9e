#pragma once

#include <string>
#include <vector>

#include "platform/data/Database.h"
#include "tests/support/StoreTest.h"

namespace xel::testing {

inline void Insert(Connection& on, const std::string& k, const std::string& v) {
  on.Execute("INSERT INTO t (k, v) VALUES (?, ?)", {k, v});
}

inline std::vector<std::string> Keys(Connection& on) {
  std::vector<std::string> keys;
  for (auto rs = on.Execute("SELECT k FROM t ORDER BY k"); !rs->Eof(); rs->MoveNext()) {
    keys.push_back(rs->Field("k").Text());
  }
  return keys;
}

// The value of an expression, over the rows the rest of the query names.
inline std::string ValueOf(Connection& on, const std::string& expression,
                           const std::string& rest = "") {
  return on.Execute("SELECT " + expression + " AS r " + rest)->Field("r").Text();
}

// A fresh store of the backend under test, holding the table t (k text PRIMARY KEY, v text).
struct TableTest : StoreTest {
  void SetUp() override {
    StoreTest::SetUp();
    if (!IsSkipped()) {
      Db().Execute("CREATE TABLE t (k text PRIMARY KEY, v text)");
    }
  }
};

}  // namespace xel::testing
