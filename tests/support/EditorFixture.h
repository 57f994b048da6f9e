#pragma once

#include <gtest/gtest.h>

#include <string>

#include "store/Sql.h"
#include "tests/support/StoreTest.h"
#include "tests/support/TempStore.h"
#include "tests/support/VentanaEditor.h"

namespace xel::testing {

// A temporary store with a few helpers to fill it, on SQLite unless a suite on every backend asks
// for another. On a backend this run cannot reach, the test is skipped, with the reason, before it
// starts; the fixture is still built, on SQLite in its place, since suites fill their store and
// open their window in their constructors.
struct StoreFixture : ::testing::Test {
  explicit StoreFixture(Backend backend = Backend::Sqlite)
      : store(TempStore::Contents::Schema, ReachableOr(backend)) {
    SkipWhenUnreachable(backend);
  }

  TempStore store;

  void AddClass(const std::string& code, const std::string& id, const std::string& parent,
                const std::string& description) {
    store.Db().Execute(
        "INSERT INTO XEL_Clase_Variable (Cv_Cve_Clase_Variable, Cv_Id, Cv_Padre, Cv_Descripcion, "
        "Fecha_Ult_Modif) VALUES ('" +
        Quote(code) + "', '" + Quote(id) + "', '" + Quote(parent) + "', '" + Quote(description) +
        "', getdate())");
  }
  void AddVariable(const std::string& clase, const std::string& key, const std::string& value,
                   const std::string& type = "T", const std::string& description = "") {
    store.Db().Execute(
        "INSERT INTO XEL_Configuracion (Cv_Cve_Clase_Variable, Cf_Variable, Cf_Valor, "
        "Cf_Descripcion, Cf_Tipo, Fecha_Ult_Modif) VALUES ('" +
        Quote(clase) + "', '" + Quote(key) + "', '" + Quote(value) + "', '" + Quote(description) +
        "', '" + Quote(type) + "', getdate())");
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

 private:
  static Backend ReachableOr(Backend backend) {
    return TempStore::Unavailable(backend).empty() ? backend : Backend::Sqlite;
  }
  static void SkipWhenUnreachable(Backend backend) {
    if (std::string why = TempStore::Unavailable(backend); !why.empty()) {
      GTEST_SKIP() << why;
    }
  }
};

// The editor window on that store, with the scripted host and screen; nothing shown yet.
struct EditorFixture : StoreFixture, VentanaEditor {
  explicit EditorFixture(Backend backend = Backend::Sqlite)
      : StoreFixture(backend), VentanaEditor(store.Db()) {}
};

// A suite of a fixture that runs once per backend on a store of its own: TEST_P its tests and
// instantiate it with XEL_ON_EVERY_BACKEND.
template <class Fixture>
struct OnEveryBackend : ::testing::WithParamInterface<Backend>, Fixture {
  OnEveryBackend() : Fixture(GetParam()) {}
};

}  // namespace xel::testing
