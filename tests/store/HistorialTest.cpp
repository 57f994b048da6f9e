#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

#include "store/ContenidoDelStore.h"
#include "store/Historial.h"
#include "store/Importacion.h"
#include "store/Statements.h"
#include "tests/support/FailureOf.h"
#include "tests/support/StoreTest.h"
#include "tests/support/TreeAndStore.h"

namespace xel {
namespace {

using testing::FailureOf;
using testing::RowsByHistory;
using testing::StoreRows;
using testing::TempStore;
using Texts = std::vector<std::string>;

struct HistorialTest : testing::StoreTest {
  HistorialTest() : StoreTest(TempStore::Contents::Demo) {}
  std::optional<Historial> ana;

  // The demo's rows, written straight into the tables, are no change under test.
  void SetUp() override {
    StoreTest::SetUp();
    if (!IsSkipped()) {
      Db().Execute("DELETE FROM XEL_Historial");
      ana.emplace(Db(), "ana", true);
    }
  }
  long long UltimaEntrada() { return LeeHistorial(Db(), {}).at(0).id; }
  // Imports rows as a file would hold them.
  void Importa(const Contenido& filas) { ::xel::Importa(*ana, filas, "f", false); }
  void Borra(const std::string& clave) {
    RunInTransaction(Db(), [&] { ana->BorraVariable(clave); });
  }
  // Retenciones (0008, under Impuestos) and its variables.
  void BorraRetenciones() {
    RunInTransaction(Db(), [&] {
      ana->BorraVariablesDeClase("0008");
      ana->BorraClase("0008", "0001");
    });
  }
};

// A created variable, a class's new description and a created class are each undone by their
// revert, which is itself an entry naming the change undone. A value's revert is the command line's
// and the history window's; a deletion's, the next test's.
TEST_P(HistorialTest, RevertBringsBackWhatEachKindOfChangeChanged) {
  const Contenido kCambios[] = {{{}, {{"0001", "NUEVA", "x", "T", "d"}}},
                                {{{"0001", "0000", "0005", "Otra"}}, {}},
                                {{{"0099", "0000", "0099", "Vacía"}}, {}}};
  for (const Contenido& cambio : kCambios) {
    const Texts antes = StoreRows(Db());
    Importa(cambio);
    const Texts despues = StoreRows(Db());
    ASSERT_NE(despues, antes) << testing::RowsOf(cambio)[0];
    const long long id = UltimaEntrada();
    EXPECT_FALSE(Revierte(*ana, id, true).empty());
    EXPECT_EQ(StoreRows(Db()), despues) << "a dry run writes nothing";
    Revierte(*ana, id, false);
    EXPECT_EQ(StoreRows(Db()), antes) << testing::RowsOf(cambio)[0];
    EXPECT_EQ(LeeHistorial(Db(), {}).front().revierte, id);
  }
}

// A deleted class comes back under its parent, at a free position, and its variables after it.
TEST_P(HistorialTest, ADeletedClassAndItsVariablesComeBackInThatOrder) {
  const Texts filas = StoreRows(Db());
  BorraRetenciones();
  const auto entradas = LeeHistorial(Db(), {.clases = Texts{"0008"}});
  ASSERT_GE(entradas.size(), 2u);
  EXPECT_EQ(FailureOf([&] { Revierte(*ana, entradas.back().id, false); }).Number(),
            err::InvalidProcedureCall)
      << "a variable's class must come back first";
  for (const EntradaDeHistorial& e : entradas) {  // newest first: the class, then its variables
    Revierte(*ana, e.id, false);
  }
  Arbol arbol(LeeContenido(Db()));
  const Arbol retenciones = arbol.Subarbol("0008");
  EXPECT_EQ(retenciones.Ramas().size(), 1u);
  EXPECT_EQ(retenciones.Ramas()[0].ruta, "0001/0008") << "under Impuestos again";
  EXPECT_EQ(retenciones.Ramas()[0].variables.size(), entradas.size() - 1);
  EXPECT_EQ(RowsByHistory(filas, Db()), StoreRows(Db()));
}

TEST_P(HistorialTest, WhatCannotBeUndoneIsRefusedAndChangesNothing) {
  CambiaValor(*ana, "IVA", "17");
  const long long valor = UltimaEntrada();
  Borra("IVA");
  DepuraHistorial(*ana, "2000-01-01 00:00:00.000");
  const long long depuracion = UltimaEntrada();
  ana->Registra({.accion = Accion::Movimiento, .entidad = Entidad::Clase, .clave = "0001"});
  const long long movimiento = UltimaEntrada();
  const Texts store = testing::DumpStore(Db());
  for (long long id : {valor, depuracion, movimiento}) {  // the variable is gone; a prune; a move
    EXPECT_EQ(FailureOf([&] { Revierte(*ana, id, false); }).Number(), err::InvalidProcedureCall)
        << id;
    EXPECT_EQ(testing::DumpStore(Db()), store) << id;
  }
}

// The store as it stood at a date: every row changed since taken back, created ones left out,
// deleted ones back.
TEST_P(HistorialTest, TheStoreAsOfADateIsTheStoreAsItStoodThen) {
  const Texts alPrincipio = StoreRows(Db());
  CambiaValor(*ana, "IVA", "17");
  Importa({{}, {{"0001", "NUEVA", "x", "T", "d"}}});
  // The changes so far were made on 2 January.
  Db().Execute("UPDATE XEL_Historial SET Hi_Fecha = '2026-01-02 00:00:00.000'");
  const Texts alSegundoDia = StoreRows(Db());
  CambiaValor(*ana, "IVA", "18");
  BorraRetenciones();
  Importa({{{"0098", "0000", "0098", "Nueva"}}, {}});
  EXPECT_EQ(testing::RowsOf(ContenidoAl(Db(), "2026-01-01 12:00:00.000")), alPrincipio);
  EXPECT_EQ(testing::RowsOf(ContenidoAl(Db(), "2026-01-02 12:00:00.000")), alSegundoDia);
}

// A class's history with everything under it (also what was deleted), by user and date: each query
// gives exactly the entries that match, newest first.
TEST_P(HistorialTest, QueriesGiveTheMatchingEntriesNewestFirst) {
  Historial luis(Db(), "luis", true);
  CambiaValor(*ana, "IVA", "17");
  CambiaValor(luis, "IVA", "18");
  CambiaValor(luis, "RET_IVA_FLETES", "5");
  Borra("IVA_FRONTERA");
  CambiaValor(*ana, "VTA_MONEDA", "USD");
  auto claves = [&](const ConsultaDeHistorial& consulta) {
    Texts texto;
    for (const EntradaDeHistorial& e : LeeHistorial(Db(), consulta)) {
      texto.push_back(e.usuario + " " + e.clave + " " + (e.despues ? e.despues->valor : "-"));
    }
    return texto;
  };
  EXPECT_EQ(claves({.clases = ClasesDelSubarbol(Db(), "0001")}),
            (Texts{"ana IVA_FRONTERA -", "luis RET_IVA_FLETES 5", "luis IVA 18", "ana IVA 17"}));
  EXPECT_EQ(claves({.usuario = "luis"}), (Texts{"luis RET_IVA_FLETES 5", "luis IVA 18"}));
  EXPECT_EQ(claves({.desde = "2999-01-01 00:00:00.000"}), Texts{});
}

// On PostgreSQL the writes other programs make straight into the tables are recorded, once each,
// with the server's user and no session user, and XEL02's own are not recorded twice; an update
// that changes nothing the history keeps is not recorded. SQLite records only XEL02's writes. A
// session that records its own writes' history says so, and the triggers then leave it alone.
TEST_P(HistorialTest, WritesOfOtherProgramsAreRecordedOnPostgreSqlOnly) {
  const Texts filas = StoreRows(Db());
  Db().Execute("UPDATE XEL_Configuracion SET Cf_Valor = '17' WHERE Cf_Variable = 'IVA'");
  Db().Execute(sql::InsertaVariable("0001", "OTRA", "x", "d", "T"));
  Db().Execute("UPDATE XEL_Configuracion SET Fecha_Ult_Modif = getdate()");
  Db().Execute(sql::BorraVariable("IVA_FRONTERA"));
  CambiaValor(*ana, "VTA_MONEDA", "USD");
  const auto entradas = LeeHistorial(Db(), {});
  ASSERT_EQ(entradas.size(), OnServer() ? 4u : 1u);
  EXPECT_EQ(entradas.front().usuario, "ana");
  if (OnServer()) {
    EXPECT_EQ(RowsByHistory(filas, Db()), StoreRows(Db()));
    EXPECT_EQ(entradas.back().usuario, "");
    EXPECT_FALSE(entradas.back().usuarioBd.empty());
  }
  DeclaraHistorialPropio(Db());
  Db().Execute("UPDATE XEL_Configuracion SET Cf_Valor = '18' WHERE Cf_Variable = 'IVA'");
  EXPECT_EQ(LeeHistorial(Db(), {}).size(), entradas.size());
}

TEST(FechaDeHistorial, ReadsTheThreeFormsAndRefusesAnythingElse) {
  for (const auto& [texto, fecha] : {std::pair{"2026-12-01", "2026-12-01 00:00:00.000"},
                                     {"2026-12-01 09:00", "2026-12-01 09:00:00.000"},
                                     {"2024-02-29T23:59:59", "2024-02-29 23:59:59.000"}}) {
    EXPECT_EQ(FechaDeHistorial(texto), fecha);
  }
  for (const char* texto : {"2026-02-29", "2026-13-01", "2026-12-01 24:00", "2026-12-01 09:00:60",
                            "2026-12-1", "2026-12-01 09:00'--", ""}) {
    EXPECT_EQ(FailureOf([&] { FechaDeHistorial(texto); }).Number(), err::InvalidPropertyValue)
        << texto;
  }
}

XEL_ON_EVERY_BACKEND(HistorialTest);

}  // namespace
}  // namespace xel
