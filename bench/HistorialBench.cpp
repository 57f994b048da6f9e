// The history's cost: 1,000 dialog changes with and without the history table, one variable's
// history among 1,000,000 entries, and the store as of a date told by 1,000,000 entries. On
// stores of their own ("history_"), so that the other benchmarks' stores stay as they are.

#include <benchmark/benchmark.h>

#include <string>

#include "bench/BenchEditor.h"
#include "dialog/RegistroGuardado.h"
#include "store/Exportacion.h"
#include "store/Historial.h"
#include "store/Schema.h"

namespace xel::bench {
namespace {

constexpr int kAccepts = 1000;
constexpr long kEntries = 1000000;
constexpr char kKind[] = "history_";

// With the history table (and, on PostgreSQL, its triggers) or without.
void SetHistory(Connection& db, bool on) {
  if (on) {
    CreateSchema(db);
    return;
  }
  if (db.Dialect() == SqlDialect::PostgreSql) {
    db.Execute("DROP TRIGGER IF EXISTS xel_historial_XEL_Configuracion ON XEL_Configuracion");
    db.Execute("DROP TRIGGER IF EXISTS xel_historial_XEL_Clase_Variable ON XEL_Clase_Variable");
  }
  db.Execute("DROP TABLE IF EXISTS XEL_Historial");
}

// 1,000 changes of one variable's value through the dialog's accept, each in its own transaction.
void BM_HistoryDialogChanges(benchmark::State& state, Backend backend) {
  const bool withHistory = state.range(0) == 1;
  auto db = OpenBenchStore(kStoreSizes[0], backend, kKind);
  SetHistory(*db, withHistory);
  db->Execute("DELETE FROM XEL_Configuracion WHERE Cf_Variable = 'BANCO_H'");
  db->Execute(
      "INSERT INTO XEL_Configuracion (Cv_Cve_Clase_Variable, Cf_Variable, Cf_Valor, "
      "Cf_Descripcion, Cf_Tipo) VALUES ('BANCO', 'BANCO_H', '0', 'x', 'T')");
  BenchEditor bench(std::move(db), ModoDeCarga::PorClase);
  bench.Reload();
  frmZULAddVariables& dialog = bench.Editor().Dialogo();
  dialog.Load();
  dialog.EsNuevo = false;
  dialog.opVariable.UserClick();
  dialog.cboTipo.UserSelect(2);
  dialog.txtPadre.SetText("BANCO");
  dialog.txtClave.SetText("BANCO_H");
  dialog.txtTexto.SetText("x");
  int refused = 0;
  long round = 0;
  for (auto _ : state) {
    for (int n = 0; n < kAccepts; ++n) {
      dialog.Add = false;
      // As the editor opens a change: the record's stamp as stored, watched until the write.
      dialog.FechaAlAbrir = LeeRegistro(bench.Db(), false, "BANCO_H").fecha;
      dialog.txtValor.SetText(std::to_string(++round));
      dialog.cmdAceptar.PerformClick();
      refused += dialog.Add ? 0 : 1;
    }
  }
  dialog.Unload();
  if (refused > 0) {
    state.SkipWithError("accepts refused");
  }
}

// The history holds 1,000,000 entries over the store's variables, dated over a year.
Connection& WithEntries(Connection& db) {
  SetHistory(db, true);
  auto count = db.Execute("SELECT COUNT(*) AS n FROM XEL_Historial");
  if (count->Field("n").AsLong() >= kEntries) {
    return db;
  }
  count->Close();
  RunInTransaction(db, [&] {
    db.Execute("DELETE FROM XEL_Historial");
    // The variables numbered, so that entry i changes variable i modulo their count.
    db.Execute(
        "CREATE TEMP TABLE IF NOT EXISTS bench_v (k INTEGER PRIMARY KEY, clave, clase, tipo)");
    db.Execute("DELETE FROM bench_v");
    db.Execute(
        "INSERT INTO bench_v (clave, clase, tipo) SELECT Cf_Variable, "
        "Cv_Cve_Clase_Variable, Cf_Tipo FROM XEL_Configuracion ORDER BY Cf_Variable");
    db.Execute(
        "WITH RECURSIVE n(i) AS (SELECT 0 UNION ALL SELECT i + 1 FROM n WHERE i < " +
        std::to_string(kEntries - 1) +
        ") INSERT INTO XEL_Historial (Hi_Fecha, Hi_Usuario, Hi_Accion, Hi_Entidad, Hi_Clave, "
        "Hi_Clase, Hi_Valor_Antes, Hi_Descripcion_Antes, Hi_Tipo_Antes, Hi_Valor, "
        "Hi_Descripcion, Hi_Tipo) SELECT strftime('%Y-%m-%d %H:%M:%S.000', '2026-01-01', "
        "'+' || (n.i * 31) || ' seconds'), 'ana', 'C', 'V', v.clave, v.clase, CAST(n.i AS text), "
        "'d', v.tipo, CAST(n.i + 1 AS text), 'd', v.tipo FROM n JOIN bench_v v ON v.k = "
        "1 + n.i % (SELECT COUNT(*) FROM bench_v)");
  });
  return db;
}

void BM_HistoryOfOneVariable(benchmark::State& state) {
  auto db = OpenBenchStore(kStoreSizes[0], Backend::Sqlite, kKind);
  Connection& history = WithEntries(*db);
  auto first = history.Execute("SELECT MIN(Cf_Variable) AS k FROM XEL_Configuracion");
  const std::string key = first->Field("k").Text();
  first->Close();
  size_t entries = 0;
  for (auto _ : state) {
    entries = LeeHistorial(history, {.variable = key}).size();
  }
  state.counters["entries"] = static_cast<double>(entries);
}

void BM_ExportAsOf(benchmark::State& state) {
  auto db = OpenBenchStore(kStoreSizes[2], Backend::Sqlite, kKind);
  Connection& history = WithEntries(*db);
  size_t bytes = 0;
  for (auto _ : state) {
    bytes = Exporta(Arbol(ContenidoAl(history, "2026-03-01 00:00:00.000")).ComoContenido(),
                    FormatoDeArchivo::Json)
                .size();
  }
  state.counters["bytes"] = static_cast<double>(bytes);
}

[[maybe_unused]] const bool kRegistered = [] {
  RegisterOnEachBackend(
      "BM_HistoryDialogChanges", &BM_HistoryDialogChanges,
      [](benchmark::internal::Benchmark* b) { b->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond); });
  benchmark::RegisterBenchmark("BM_HistoryOfOneVariable", &BM_HistoryOfOneVariable)
      ->Unit(benchmark::kMillisecond);
  benchmark::RegisterBenchmark("BM_ExportAsOf", &BM_ExportAsOf)
      ->Unit(benchmark::kMillisecond)
      ->Iterations(3);
  return true;
}();

}  // namespace
}  // namespace xel::bench
