#include "host/app/ExchangeCommand.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cctype>
#include <iostream>

#include "host/app/StoreAccess.h"
#include "platform/text/FileDescriptor.h"
#include "store/Exportacion.h"
#include "store/Importacion.h"

namespace xel::app {

namespace {

int Export(const Options& options, Connection& db) {
  FormatoDeArchivo format =
      options.format == "csv" ? FormatoDeArchivo::Csv : FormatoDeArchivo::Json;
  std::cout << ForTheOutput(Exporta(TreeToShow(options, db).ComoContenido(), format));
  return OutputWritten();
}

RuntimeError TooLarge(const std::string& path, uint64_t limit) {
  return RuntimeError(err::PathFileAccessError,
                      path + ": the file is larger than " + std::to_string(limit) +
                          " bytes, the most an import reads; --max-size raises the limit");
}

// The whole file, refused before it is read when it is larger than the limit, and when a pipe or
// a device gives more than that as it is read.
std::string ReadFile(const std::string& path, uint64_t limit) {
  FileDescriptor file(open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NOCTTY));
  struct stat status {};
  if (!file.IsOpen() || fstat(file.Get(), &status) != 0 || S_ISDIR(status.st_mode)) {
    throw RuntimeError(err::InvalidProcedureCall, path + ": the file cannot be read");
  }
  bool plain = S_ISREG(status.st_mode);
  if (plain && static_cast<uint64_t>(status.st_size) > limit) {
    throw TooLarge(path, limit);
  }
  std::string text;
  text.reserve(plain ? static_cast<size_t>(status.st_size) : 0);
  bool whole = false;
  try {
    whole = ReadAtMost(file.Get(), limit, text);
  } catch (const RuntimeError& e) {
    throw RuntimeError(e.Number(), path + ": the file cannot be read: " + e.Description());
  }
  if (!whole) {
    throw TooLarge(path, limit);
  }
  return text;
}

std::string Count(size_t count, const char* one, const char* many) {
  return std::to_string(count) + " " + (count == 1 ? one : many);
}

// "1 class and 2 variables" of the changes of two kinds; empty when there are none.
std::string Rows(const PlanDeImportacion& plan, Cambio::Tipo classes, Cambio::Tipo variables) {
  std::string rows;
  if (size_t count = plan.Cuenta(classes); count > 0) {
    rows = Count(count, "class", "classes");
  }
  if (size_t count = plan.Cuenta(variables); count > 0) {
    rows += (rows.empty() ? "" : " and ") + Count(count, "variable", "variables");
  }
  return rows;
}

// "Would insert 2 variables, update 1 class; 49 rows unchanged. ..." after a dry run; "Inserted
// ..., updated ..." after an import.
std::string Summary(const PlanDeImportacion& plan, const Options& options) {
  std::string unchanged = Count(plan.sinCambio, "row", "rows") + " unchanged";
  if (plan.cambios.empty()) {
    return "Nothing changes: the store already matches " + options.file + " (" + unchanged + ").";
  }
  std::string done;
  auto tell = [&](const std::string& rows, const char* wouldDo, const char* did) {
    if (!rows.empty()) {
      done += (done.empty() ? "" : ", ") + std::string(options.dryRun ? wouldDo : did) + rows;
    }
  };
  tell(Rows(plan, Cambio::Tipo::InsertaClase, Cambio::Tipo::InsertaVariable), "insert ",
       "inserted ");
  tell(Rows(plan, Cambio::Tipo::ActualizaClase, Cambio::Tipo::ActualizaVariable), "update ",
       "updated ");
  if (options.dryRun) {
    return "Would " + done + "; " + unchanged + ". Nothing was written (dry run).";
  }
  done[0] = static_cast<char>(std::toupper(static_cast<unsigned char>(done[0])));
  return done + "; " + unchanged + ".";
}

int Import(const Options& options, const Contenido& file, Connection& db) {
  Historial history = HistoryOf(db);
  PlanDeImportacion plan = Importa(history, file, options.file, options.dryRun);
  for (const Cambio& change : plan.cambios) {
    std::cout << ForTheOutput("line " + std::to_string(change.linea) + ": " + change.texto) << '\n';
  }
  std::cout << ForTheOutput(Summary(plan, options)) << '\n';
  return OutputWritten();
}

}  // namespace

int RunExchangeCommand(const Options& options) {
  if (options.command == Options::Command::Export) {
    return RunOnStore(options, [&](Connection& db) { return Export(options, db); });
  }
  // The file is read whole and checked for its form before the store is touched.
  return Reported([&] {
    Contenido file = LeeExportacion(ReadFile(options.file, options.maxSize), options.file);
    return RunOnStore(options, [&](Connection& db) { return Import(options, file, db); });
  });
}

}  // namespace xel::app
