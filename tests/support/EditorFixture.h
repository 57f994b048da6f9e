#pragma once

#include "store/Sql.h"
#include "tests/support/StoreTest.h"
#include "tests/support/VentanaEditor.h"

namespace xel::testing {

// The editor window on a store of its own, with the scripted host and screen; nothing shown yet.
struct EditorFixture : StoreFixture, VentanaEditor {
  explicit EditorFixture(Backend backend = Backend::Sqlite)
      : StoreFixture(backend), VentanaEditor(store.Db()) {}
};

}  // namespace xel::testing
