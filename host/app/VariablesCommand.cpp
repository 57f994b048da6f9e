#include "host/app/VariablesCommand.h"

#include <iostream>

#include "host/app/StoreAccess.h"
#include "platform/text/VisibleText.h"
#include "store/ContenidoDelStore.h"

namespace xel::app {

namespace {

// One line per entry, its fields separated by tabs and escaped, so that no field spans lines or
// acts on a terminal.
int List(const Options& options, Connection& db) {
  Arbol tree = TreeToShow(options, db);
  for (const Arbol::Rama& rama : tree.Ramas()) {
    std::string path = VisibleText(rama.ruta);
    std::cout << "class\t" << path << '\t' << VisibleText(rama.clase.descripcion) << '\n';
    for (const Variable& variable : rama.variables) {
      std::cout << "variable\t" << path << '\t' << VisibleText(variable.clave) << '\t'
                << VisibleText(variable.valor) << '\n';
    }
  }
  return OutputWritten();
}

int Get(const Options& options, Connection& db) {
  std::cout << ForTheOutput(LeeVariable(db, options.key).valor) << '\n';
  return OutputWritten();
}

}  // namespace

int RunVariablesCommand(const Options& options) {
  return RunOnStore(options, [&](Connection& db) {
    switch (options.command) {
      case Options::Command::List:
        return List(options, db);
      case Options::Command::Get:
        return Get(options, db);
      default: {
        Historial history = HistoryOf(db);
        CambiaValor(history, options.key, options.value);
        return 0;
      }
    }
  });
}

}  // namespace xel::app
