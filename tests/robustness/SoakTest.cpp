#include <gtest/gtest.h>

#include <atomic>
#include <map>
#include <random>
#include <string>
#include <thread>
#include <vector>

#include "editor/EstructuraDeClases.h"
#include "store/ContenidoDelStore.h"
#include "store/Historial.h"
#include "store/Importacion.h"
#include "tests/support/DialogoFixture.h"
#include "tests/support/StoreTest.h"
#include "tests/support/TerminatingConnection.h"
#include "tests/support/TreeAndStore.h"

namespace xel {
namespace {

using testing::TempStore;

// Eight writers at once on a server, a fixed number of changes each: command-line sets and
// imports, the dialog's accept and the save of the tree's order, all on the same few rows.
// Afterwards the history holds exactly one entry per committed change, the history tells the store
// row by row (so each value is its last entry's), positions are unique, and no transaction is left
// open. A change that failed must have left no trace.
struct SoakTest : testing::StoreFixture {
  SoakTest() : StoreFixture(testing::Backend::PostgreSql, TempStore::Contents::Demo) {}
};

const std::vector<std::string> kClaves{"IVA", "IVA_FRONTERA", "IEPS_APLICA", "IMP_DECIMALES"};
constexpr int kCambios = 25;

std::string ValorPara(const std::string& clave, int escritor, int n) {
  return clave == "IEPS_APLICA" ? std::to_string(n % 2) : std::to_string(escritor * 1000 + n);
}

// A command-line writer: sets and imports in turn; returns the changes it committed.
int PorComandos(Connection& db, int escritor) {
  Historial historial(db, "escritor" + std::to_string(escritor), true);
  std::mt19937 azar(static_cast<unsigned>(escritor));
  int hechos = 0;
  for (int n = 0; n < kCambios; ++n) {
    const std::string& clave = kClaves[azar() % kClaves.size()];
    try {
      if (n % 2 == 0) {
        CambiaValor(historial, clave, ValorPara(clave, escritor, n));
        ++hechos;
      } else {  // no change when the store already held that value
        Variable v = LeeVariable(db, clave);
        v.valor = ValorPara(clave, escritor, n);
        hechos += static_cast<int>(Importa(historial, {{}, {v}}, "f", false).cambios.size());
      }
    } catch (const RuntimeError&) {
      // A change that lost to another (a deadlock, a row changed meanwhile) is not counted.
    }
  }
  return hechos;
}

// An administrator changing values through the editor's dialog, overwriting the others' writes
// when asked (the scripted host answers OK).
int PorDialogo(Connection& db, int escritor) {
  testing::VentanaEditor ventana(db);
  ventana.Open();
  int hechos = 0;
  for (int n = 0; n < kCambios; ++n) {
    const std::string& clave = kClaves[static_cast<size_t>(n) % kClaves.size()];
    ventana.Edita("K" + clave, [&](frmZULAddVariables& dialogo) {
      dialogo.txtValor.SetText(ValorPara(clave, escritor, n));
      testing::DialogoFixture::AceptaOCancela(dialogo);
    });
    hechos += ventana.Dialogo().Add ? 1 : 0;
  }
  return hechos;
}

// An administrator moving top-level classes with "+" and "-" and saving the order; each save
// commits one change per class whose place it changed (nobody else moves classes).
int PorGrabacion(Connection& db) {
  testing::VentanaEditor ventana(db);
  ventana.Open();
  int hechos = 0;
  for (int n = 0; n < kCambios; ++n) {
    ventana.Click(n % 2 == 0 ? "K0003" : "K0001");
    ventana.Arbol().UserKeyPress(n % 3 == 0 ? '-' : '+');
    const EstructuraDeClases antes = LeeEstructura(db);
    ventana.Graba();
    for (const auto& [codigo, lugar] : LeeEstructura(db)) {
      hechos += antes.at(codigo) == lugar ? 0 : 1;
    }
  }
  return hechos;
}

// SQLite lets one writer at a time in: nothing would run at once.
TEST_F(SoakTest, EightWritersLeaveOneEntryPerCommittedChange) {
  store.Db().Execute("DELETE FROM XEL_Historial");
  const std::vector<std::string> filas = testing::StoreRows(store.Db());
  // Six on the command line, one in the dialog, one saving the order.
  std::atomic<int> hechos = 0;
  {
    std::vector<std::jthread> hilos;
    for (int w = 0; w < 8; ++w) {
      hilos.emplace_back([&, w] {
        auto db = store.OpenAnother();
        hechos += w < 6 ? PorComandos(*db, w) : w == 6 ? PorDialogo(*db, w) : PorGrabacion(*db);
      });
    }
  }
  EXPECT_EQ(static_cast<int>(LeeHistorial(store.Db(), {}).size()), hechos.load());
  EXPECT_EQ(testing::RowsByHistory(filas, store.Db()), testing::StoreRows(store.Db()));
  std::map<std::string, int> posiciones;
  for (const auto& [codigo, lugar] : LeeEstructura(store.Db())) {
    EXPECT_EQ(++posiciones[lugar.id], 1) << "position " << lugar.id;
  }
  EXPECT_EQ(testing::OpenTransactionsOnServer(store.Db()), 0);
}

}  // namespace
}  // namespace xel
