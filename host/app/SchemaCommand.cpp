#include "host/app/SchemaCommand.h"

#include <iostream>

#include "host/app/StoreAccess.h"
#include "platform/data/Database.h"
#include "platform/text/VisibleText.h"
#include "store/DemoStore.h"
#include "store/Schema.h"

namespace xel::app {

namespace {
bool StoreIsEmpty(Connection& db) {
  auto rows = db.Execute("SELECT COUNT(*) AS Filas FROM XEL_Clase_Variable");
  bool empty = rows->Field("Filas").AsLong() == 0;
  rows->Close();
  return empty;
}
}  // namespace

int RunSchemaCommand(const Options& options) {
  try {
    std::unique_ptr<Connection> store = OpenConnection(options.db);
    TracedStore traced(*store, options);
    Connection& db = traced.Get();
    if (!options.apply) {
      for (const std::string& statement : SchemaStatements(db.Dialect())) {
        std::cout << statement << ";\n";
      }
      return 0;
    }
    CreateSchema(db);
    if (options.demo) {
      if (StoreIsEmpty(db)) {
        SeedDemoStore(db);
        std::cout << "The store's tables are there, with the demo settings.\n";
      } else {
        std::cout << "The store's tables are there; they already hold classes, so no demo "
                     "settings were added.\n";
      }
    } else {
      std::cout << "The store's tables are there.\n";
    }
    return 0;
  } catch (const RuntimeError& e) {
    std::cerr << "xel02 schema: " << VisibleText(e.Description()) << " (" << e.Number() << ")\n";
    return 1;
  }
}

}  // namespace xel::app
