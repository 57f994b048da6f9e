// The dialog's writes, a thousand at a time through its accept, each with the checks, the look-up
// of a new key and a transaction of its own: new variables, then changes of existing ones.

#include <benchmark/benchmark.h>

#include <string>
#include <utility>

#include "bench/BenchEditor.h"

namespace xel::bench {
namespace {

constexpr StoreShape kSmallest = kStoreSizes[0];
constexpr int kAccepts = 1000;
// The class the benchmark's variables are written under, which no generated class has: the tree
// never shows them, and they leave the store by their class alone.
constexpr char kClass[] = "BANCO";

std::string Key(int n) {
  return "BANCO_" + std::to_string(n);
}

void RemoveBenchVariables(Connection& db) {
  db.Execute("DELETE FROM XEL_Configuracion WHERE Cv_Cve_Clase_Variable = ?",
             Connection::Parameters{kClass});
}

// The dialog loaded in variable mode, text type, as a person fills it in before the key.
frmZULAddVariables& VariableDialog(BenchEditor& bench) {
  frmZULAddVariables& dialog = bench.Editor().Dialogo();
  dialog.Load();
  dialog.opVariable.UserClick();
  dialog.cboTipo.UserSelect(2);
  dialog.txtPadre.SetText(kClass);
  dialog.txtValor.SetText("valor");
  dialog.txtTexto.SetText("Variable del banco de pruebas");
  return dialog;
}

// One accept per key; how many the dialog did not accept.
int AcceptEach(frmZULAddVariables& dialog) {
  int refused = 0;
  for (int n = 0; n < kAccepts; ++n) {
    dialog.Add = false;
    dialog.txtClave.SetText(Key(n));
    dialog.cmdAceptar.PerformClick();
    refused += dialog.Add ? 0 : 1;
  }
  return refused;
}

void Report(benchmark::State& state, int refused) {
  if (refused > 0) {
    state.SkipWithError((std::to_string(refused) + " accepts refused").c_str());
  }
  state.counters["accepts"] =
      benchmark::Counter(kAccepts, benchmark::Counter::kIsIterationInvariantRate);
}

void BM_DialogInserts(benchmark::State& state, Backend backend) {
  BenchEditor bench(kSmallest, backend);
  RemoveBenchVariables(bench.Db());  // whatever a run cut short left behind
  frmZULAddVariables& dialog = VariableDialog(bench);
  dialog.EsNuevo = true;
  int refused = 0;
  for (auto _ : state) {
    refused += AcceptEach(dialog);
    state.PauseTiming();
    RemoveBenchVariables(bench.Db());
    state.ResumeTiming();
  }
  dialog.Unload();
  Report(state, refused);
}

void BM_DialogUpdates(benchmark::State& state, Backend backend) {
  BenchEditor bench(kSmallest, backend);
  RemoveBenchVariables(bench.Db());
  frmZULAddVariables& dialog = VariableDialog(bench);
  dialog.EsNuevo = true;
  int refused = AcceptEach(dialog);
  dialog.EsNuevo = false;
  int round = 0;
  for (auto _ : state) {
    dialog.txtValor.SetText("valor " + std::to_string(++round));
    refused += AcceptEach(dialog);
  }
  dialog.Unload();
  RemoveBenchVariables(bench.Db());
  Report(state, refused);
}

[[maybe_unused]] const bool kRegistered = [] {
  for (auto [name, run] : {std::pair{"BM_DialogInserts", &BM_DialogInserts},
                           std::pair{"BM_DialogUpdates", &BM_DialogUpdates}}) {
    RegisterOnEachBackend(
        name, run, [](benchmark::internal::Benchmark* b) { b->Unit(benchmark::kMillisecond); });
  }
  return true;
}();

}  // namespace
}  // namespace xel::bench
