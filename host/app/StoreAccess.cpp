#include "host/app/StoreAccess.h"

#include <unistd.h>

#include <exception>
#include <iostream>

#include "host/HostServices.h"
#include "host/ReconnectingConnection.h"
#include "host/app/StoreConnection.h"
#include "platform/CommandLine.h"
#include "platform/VisibleText.h"
#include "store/DemoStore.h"
#include "store/Historial.h"
#include "store/Schema.h"

namespace xel::app {

namespace {

std::unique_ptr<Connection> OpenStoreOnce(const Options& options) {
  if (options.db.empty()) {
    std::string demo = DemoStoreConnection();
    return OpenOrCreateDemoStore(demo.substr(std::string("sqlite:").size()));
  }
  std::unique_ptr<Connection> store = OpenConnection(options.db);
  RequireServerFunctions(*store);
  DeclaraHistorialPropio(*store);
  return store;
}

}  // namespace

std::unique_ptr<Connection> OpenStore(const Options& options) {
  return std::make_unique<ReconnectingConnection>(OpenStoreOnce(options),
                                                  [options] { return OpenStoreOnce(options); });
}

TracedStore::TracedStore(Connection& store, const Options& options) : store_(store) {
  if (!options.traceSql.empty()) {
    file_ = OpenTraceFile(options.traceSql);
    traced_ = std::make_unique<TracingConnection>(store_, *file_);
  }
}

std::string MissingTablesText(const std::vector<std::string>& missing, const Options& options) {
  std::string names;
  for (const std::string& table : missing) {
    names += (names.empty() ? "" : ", ") + table;
  }
  return "The store lacks the table" + std::string(missing.size() > 1 ? "s " : " ") + names +
         ". Create them with: xel02 schema" + StoreArguments(options) + " --apply";
}

int Reported(const std::function<int()>& work) {
  try {
    return work();
  } catch (const RuntimeError& e) {
    std::cerr << "xel02: " << VisibleText(e.Description()) << "\n";
  } catch (const std::exception& e) {
    std::cerr << "xel02: " << VisibleText(e.what()) << "\n";
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
    TracedStore traced(*store, options);
    return operation(traced.Get());
  });
}

std::string ForTheOutput(std::string_view text) {
  static const bool terminal = isatty(STDOUT_FILENO) != 0;
  return terminal ? VisibleText(text, LineBreaks::Kept) : std::string(text);
}

int OutputWritten() {
  std::cout.flush();
  if (!std::cout) {
    throw RuntimeError(err::InvalidProcedureCall, "the output could not be written");
  }
  return 0;
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
