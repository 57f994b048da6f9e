#pragma once

#include <gtest/gtest.h>

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

// A temporary store with a few helpers to fill it, on SQLite unless a suite on every backend asks
// for another. On a backend this run cannot reach, the test is skipped, with the reason, before it
// starts; the fixture is still built, on SQLite in its place, since suites fill their store and
// open their window in their constructors.
struct StoreFixture : ::testing::Test {
  explicit StoreFixture(Backend backend = Backend::Sqlite,
                        TempStore::Contents contents = TempStore::Contents::Schema)
      : store(contents, TempStore::Unavailable(backend).empty() ? backend : Backend::Sqlite) {
    if (std::string why = TempStore::Unavailable(backend); !why.empty()) {
      [&] { GTEST_SKIP() << why; }();  // in a function of its own: a constructor returns nothing
    }
  }

  TempStore store;

  void AddClass(const std::string& code, const std::string& id, const std::string& parent,
                const std::string& description) {
    store.Db().Execute(
        "INSERT INTO XEL_Clase_Variable (Cv_Cve_Clase_Variable, Cv_Id, Cv_Padre, Cv_Descripcion, "
        "Fecha_Ult_Modif) VALUES (?, ?, ?, ?, getdate())",
        {code, id, parent, description});
  }
  void AddVariable(const std::string& clase, const std::string& key, const std::string& value,
                   const std::string& type = "T", const std::string& description = "") {
    store.Db().Execute(
        "INSERT INTO XEL_Configuracion (Cv_Cve_Clase_Variable, Cf_Variable, Cf_Valor, "
        "Cf_Descripcion, Cf_Tipo, Fecha_Ult_Modif) VALUES (?, ?, ?, ?, ?, getdate())",
        {clase, key, value, description, type});
  }
  // A → A1 (with variable v1), v; B; C: a small store in the shape of a real one.
  void AddSmallStore() {
    AddClass("0001", "0001", "0000", "Ventas");
    AddClass("0002", "0002", "0001", "Descuentos");
    AddClass("0003", "0003", "0000", "Compras");
    AddClass("0004", "0004", "0000", "Almacen");
    AddVariable("0001", "MONEDA", "MXN");
    AddVariable("0001", "IVA", "16", "N");
    AddVariable("0002", "DESC_MAX", "15", "N");
  }
};

// A suite of a fixture that runs once per backend on a store of its own: TEST_P its tests and
// instantiate it with XEL_ON_EVERY_BACKEND.
template <class Fixture>
struct OnEveryBackend : ::testing::WithParamInterface<Backend>, Fixture {
  OnEveryBackend() : Fixture(GetParam()) {}
};

// A store-level suite on every backend, on a fresh store of the contents it names.
class StoreTest : public ::testing::WithParamInterface<Backend>, public StoreFixture {
 protected:
  explicit StoreTest(TempStore::Contents contents = TempStore::Contents::Schema)
      : StoreFixture(GetParam(), contents) {}

  TempStore& Store() { return store; }
  Connection& Db() { return store.Db(); }
  bool OnServer() const { return GetParam() != Backend::Sqlite; }
};

#define XEL_ON_EVERY_BACKEND(Suite)                                                            \
  INSTANTIATE_TEST_SUITE_P(                                                                    \
      On, Suite,                                                                               \
      ::testing::Values(::xel::testing::Backend::Sqlite, ::xel::testing::Backend::PostgreSql), \
      ::xel::testing::BackendName)

}  // namespace xel::testing
