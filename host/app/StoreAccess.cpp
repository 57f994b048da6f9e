#include "host/app/StoreAccess.h"

#include <exception>
#include <iostream>

#include "host/HostServices.h"
#include "platform/CommandLine.h"
#include "store/DemoStore.h"
#include "store/Schema.h"

namespace xel::app {

std::unique_ptr<Connection> OpenStore(const Options& options) {
  if (options.db.empty()) {
    std::string demo = DemoStoreConnection();
    return OpenOrCreateDemoStore(demo.substr(std::string("sqlite:").size()));
  }
  return OpenConnection(options.db);
}

std::string MissingTablesText(const std::vector<std::string>& missing, const Options& options) {
  std::string names;
  for (const std::string& table : missing) {
    names += (names.empty() ? "" : ", ") + table;
  }
  return "The store lacks the table" + std::string(missing.size() > 1 ? "s " : " ") + names +
         ". Create them with: xel02 schema --db \"" + options.db + "\" --apply";
}

int Reported(const std::function<int()>& work) {
  try {
    return work();
  } catch (const RuntimeError& e) {
    std::cerr << "xel02: " << e.Description() << "\n";
  } catch (const std::exception& e) {
    std::cerr << "xel02: " << e.what() << "\n";
  }
  return 1;
}

int RunOnStore(const Options& options, const std::function<int(Connection&)>& operation) {
  return Reported([&] {
    std::unique_ptr<Connection> store;
    try {
      store = OpenStore(options);
    } catch (const RuntimeError& e) {
      throw RuntimeError(e.Number(), "The store cannot be opened: " + e.Description());
    }
    if (auto missing = MissingTables(*store); !missing.empty()) {
      throw RuntimeError(err::ItemNotFound, MissingTablesText(missing, options));
    }
    return operation(*store);
  });
}

int OutputWritten() {
  std::cout.flush();
  if (!std::cout) {
    throw RuntimeError(err::InvalidProcedureCall, "the output could not be written");
  }
  return 0;
}

std::string ListField(std::string_view text) {
  std::string field;
  for (char c : text) {
    switch (c) {
      case '\t':
        field += "\\t";
        break;
      case '\n':
        field += "\\n";
        break;
      case '\r':
        field += "\\r";
        break;
      case '\\':
        field += "\\\\";
        break;
      default:
        field += c;
    }
  }
  return field;
}

Connection& RequireHistory(Connection& db) {
  if (!TieneHistorial(db)) {
    throw RuntimeError(err::ItemNotFound,
                       "The store keeps no history of its changes yet. Add it with: xel02 schema "
                       "--db CONNECTION --apply (ERR-ID:7500040)");
  }
  return db;
}

Historial HistoryOf(Connection& db) {
  return Historial::De(db, UsuarioDeSesion(ProcessArguments()));
}

Arbol TreeToShow(const Options& options, Connection& db) {
  Arbol tree(options.asOf.empty()
                 ? LeeContenido(db)
                 : ContenidoAl(RequireHistory(db), FechaDeHistorial(options.asOf)));
  if (!options.classCode.empty()) {
    return tree.Subarbol(options.classCode);
  }
  if (tree.ClasesFuera() + tree.VariablesFuera() > 0) {
    std::cerr << "xel02: left out, as no class of the tree reaches them: " << tree.ClasesFuera()
              << " classes and " << tree.VariablesFuera() << " variables\n";
  }
  return tree;
}

}  // namespace xel::app
