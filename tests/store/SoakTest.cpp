#include <gtest/gtest.h>

#include <atomic>
#include <map>
#include <random>
#include <string>
#include <thread>
#include <vector>

#include "store/ContenidoDelStore.h"
#include "store/Historial.h"
#include "store/Importacion.h"
#include "tests/support/StoreTest.h"
#include "tests/support/TerminatingConnection.h"
#include "tests/support/TreeAndStore.h"

namespace xel {
namespace {

using testing::TempStore;

// Eight writers at once on a server, a fixed number of changes each: command-line sets and
// imports of a few variables that all of them change. Afterwards the history holds exactly one
// entry per committed change, each variable's value is its last entry's, the history tells the
// store row by row, and no transaction is left open. A change that failed must have left no trace.
struct SoakTest : testing::StoreTest {
  SoakTest() : StoreTest(TempStore::Contents::Demo) {}
};

TEST_P(SoakTest, EightWritersLeaveOneEntryPerCommittedChange) {
  if (!OnServer()) {
    GTEST_SKIP() << "SQLite lets one writer at a time in: nothing runs at once";
  }
  Db().Execute("DELETE FROM XEL_Historial");
  const std::vector<std::string> filas = testing::StoreRows(Db());
  const std::vector<std::string> claves{"IVA", "IVA_FRONTERA", "IEPS_APLICA", "IMP_DECIMALES"};
  constexpr int kEscritores = 8;
  constexpr int kCambios = 25;
  std::atomic<int> hechos = 0;
  std::vector<std::thread> escritores;
  for (int w = 0; w < kEscritores; ++w) {
    escritores.emplace_back([&, w] {
      auto db = Store().OpenAnother();
      Historial historial(*db, "escritor" + std::to_string(w), true);
      std::mt19937 azar(static_cast<unsigned>(w));
      for (int n = 0; n < kCambios; ++n) {
        const std::string& clave = claves[azar() % claves.size()];
        const std::string valor =
            clave == "IEPS_APLICA" ? std::to_string(n % 2) : std::to_string(w * 1000 + n);
        try {
          if (n % 2 == 0) {
            CambiaValor(historial, clave, valor);
          } else {
            Variable v = LeeVariable(*db, clave);
            v.valor = valor;
            const auto plan = Importa(historial, {{}, {v}}, "f", false);
            if (plan.cambios.empty()) {
              continue;  // the store already held that value: nothing changed
            }
          }
          ++hechos;
        } catch (const RuntimeError&) {
          // A change that lost to another (a deadlock, a row changed meanwhile) is not counted.
        }
      }
    });
  }
  for (std::thread& t : escritores) {
    t.join();
  }
  const auto entradas = LeeHistorial(Db(), {});
  EXPECT_EQ(static_cast<int>(entradas.size()), hechos.load());
  std::map<std::string, std::string> ultimo;
  for (auto e = entradas.rbegin(); e != entradas.rend(); ++e) {
    ultimo[e->clave] = e->despues->valor;
  }
  for (const auto& [clave, valor] : ultimo) {
    EXPECT_EQ(LeeVariable(Db(), clave).valor, valor) << clave;
  }
  EXPECT_EQ(testing::RowsByHistory(filas, Db()), testing::StoreRows(Db()));
  EXPECT_EQ(testing::OpenTransactionsOnServer(Db()), 0);
}

XEL_ON_EVERY_BACKEND(SoakTest);

}  // namespace
}  // namespace xel
