#include "host/app/HistoryCommand.h"

#include <charconv>
#include <iostream>

#include "host/app/StoreAccess.h"
#include "platform/text/VisibleText.h"
#include "store/Historial.h"
#include "store/Json.h"

namespace xel::app {

namespace {

const char* KindOf(const EntradaDeHistorial& entry) {
  switch (entry.entidad) {
    case Entidad::Clase:
      return "class";
    case Entidad::Variable:
      return "variable";
    case Entidad::Historial:
      return "history";
  }
  return "";
}

const char* ActionOf(const EntradaDeHistorial& entry) {
  switch (entry.accion) {
    case Accion::Alta:
      return "created";
    case Accion::Cambio:
      return "changed";
    case Accion::Baja:
      return "deleted";
    case Accion::Movimiento:
      return "moved";
    case Accion::Depuracion:
      return "pruned";
  }
  return "";
}

std::string JsonState(const std::optional<EstadoDeFila>& state) {
  if (!state) {
    return "null";
  }
  return "{\"value\": " + TextoJson(state->valor) +
         ", \"description\": " + TextoJson(state->descripcion) +
         ", \"type\": " + TextoJson(state->tipo) + ", \"parent\": " + TextoJson(state->padre) +
         ", \"position\": " + TextoJson(state->posicion) + "}";
}

void WriteJson(const std::vector<EntradaDeHistorial>& entries) {
  std::cout << "[";
  const char* separator = "\n";
  for (const EntradaDeHistorial& e : entries) {
    std::cout << separator << "  {\"id\": " << e.id << ", \"date\": " << TextoJson(e.fecha)
              << ", \"user\": " << TextoJson(e.usuario)
              << ", \"db_user\": " << TextoJson(e.usuarioBd) << ", \"action\": \"" << ActionOf(e)
              << "\", \"entity\": \"" << KindOf(e) << "\", \"key\": " << TextoJson(e.clave)
              << ", \"class\": " << TextoJson(e.clase) << ", \"before\": " << JsonState(e.antes)
              << ", \"after\": " << JsonState(e.despues)
              << ", \"reverts\": " << (e.revierte ? std::to_string(e.revierte) : "null") << "}";
    separator = ",\n";
  }
  std::cout << "\n]\n";
}

void WriteText(const std::vector<EntradaDeHistorial>& entries) {
  for (const EntradaDeHistorial& e : entries) {
    std::cout << e.id << '\t' << e.fecha << '\t' << VisibleText(e.usuario) << '\t'
              << VisibleText(e.usuarioBd) << '\t' << KindOf(e) << '\t' << VisibleText(e.clave)
              << '\t' << VisibleText(DescribeEntrada(e)) << '\n';
  }
}

int History(const Options& options, Connection& db) {
  if (!options.pruneBefore.empty()) {
    Historial history = HistoryOf(db);
    const std::string date = FechaDeHistorial(options.pruneBefore);
    std::cout << "Removed " << DepuraHistorial(history, date) << " entries older than " << date
              << ".\n";
    return OutputWritten();
  }
  ConsultaDeHistorial query{.desde = options.since.empty() ? "" : FechaDeHistorial(options.since),
                            .usuario = options.user};
  if (!options.key.empty()) {
    query.variable = options.key;
  } else if (!options.classCode.empty()) {
    query.clases = ClasesDelSubarbol(db, options.classCode);
  }
  const std::vector<EntradaDeHistorial> entries = LeeHistorial(db, query);
  if (options.format == "json") {
    WriteJson(entries);
  } else {
    WriteText(entries);
  }
  return OutputWritten();
}

long long ChangeNumber(const std::string& text) {
  long long number = 0;
  auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), number);
  if (error != std::errc() || end != text.data() + text.size() || number < 1) {
    throw RuntimeError(err::InvalidPropertyValue,
                       "\"" + text + "\" is not a change's number; xel02 history lists them");
  }
  return number;
}

int Revert(const Options& options, Connection& db) {
  Historial history = HistoryOf(db);
  const std::string done = Revierte(history, ChangeNumber(options.change), options.dryRun);
  std::cout << done << (options.dryRun ? "\nNothing was written (dry run).\n" : "\n");
  return OutputWritten();
}

}  // namespace

int RunHistoryCommand(const Options& options) {
  return RunOnStore(options, [&](Connection& db) {
    RequireHistory(db);
    return options.command == Options::Command::Revert ? Revert(options, db) : History(options, db);
  });
}

}  // namespace xel::app
