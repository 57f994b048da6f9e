// A store damaged the ways real ones get damaged: a table gone, NULLs where texts belong, the file
// locked by another writer, the file itself broken. Each command that meets the damage says so
// once, in the database's words and with its own identifier where it has one, writes nothing and
// leaves no transaction open; the window goes on, and works again once the damage is repaired.

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <functional>
#include <random>
#include <string>
#include <vector>

#include "platform/data/SqliteConnection.h"
#include "tests/support/DialogoFixture.h"
#include "tests/support/TreeAndStore.h"

namespace xel::testing {
namespace {

using Texts = std::vector<std::string>;

// RAIZ > Almacen, Compras, Ventas (Descuentos (DESC_MAX), IVA, MONEDA)
struct StoreDanadoTest : DialogoFixture {
  StoreDanadoTest() { AddSmallStore(); }

  // What one command must do against the damage: show these messages (by identifier), the last
  // one in the database's words, leave no failure to the run time, and write nothing.
  void Falla(const std::string& comando, const Texts& ids, const std::string& motivo,
             const std::function<void()>& orden) {
    const Texts antes = DumpStore(store.Db());
    session->ClearMessages();
    orden();
    ASSERT_EQ(session->ErrorIds(), ids) << comando;
    if (!ids.empty()) {
      EXPECT_NE(session->Messages().back().prompt.find(motivo), std::string::npos)
          << comando << ": " << session->Messages().back().prompt;
    }
    EXPECT_TRUE(ui.UnhandledErrors().empty()) << comando;
    EXPECT_EQ(DumpStore(store.Db()), antes) << comando;
    EXPECT_FALSE(session->Conexion().InTransaction()) << comando;
    EXPECT_EQ(runtime.MousePointer(), MousePointer::Default) << comando;
    EXPECT_FALSE(Dialogo().Loaded()) << comando;
  }
  // Once the damage is repaired, a reload shows the whole store and a command writes again.
  void Repara() {
    session->ClearMessages();
    PressF5();
    EXPECT_TRUE(session->Messages().empty()) << session->Messages()[0].prompt;
    ASSERT_EQ(TreeShown(Nodes()), TreeOfStore(store.Db()));
    AgregaVariable("K0001");
    EXPECT_EQ(VariableGuardada("NUEVA"), "0001 x  T");
    EXPECT_TRUE(Nodes().Contains("KNUEVA"));
  }

  void AgregaVariable(const std::string& clase) {
    Agrega(clase, [](frmZULAddVariables& d) {
      LlenaVariable(d, "NUEVA", 2, "x");
      AceptaOCancela(d);
    });
  }
};

const Texts kBorrado{"ERR-ID:7500006", "ERR-ID:7500003"};  // the confirmation, then the failure

TEST_F(StoreDanadoTest, AMissingVariablesTableStopsTheLoadAndEveryWriteThatNeedsIt) {
  store.Db().Execute("ALTER TABLE XEL_Configuracion RENAME TO XEL_Configuracion_Aparte");
  Falla("load", {"ERR-ID:7500001"}, "no such table: XEL_Configuracion", [&] { Open(); });
  EXPECT_EQ(TreeShown(Nodes()), (Texts{"K0|RAIZ|", " K0004|Almacen|0004"}))
      << "the load stops at the first class's variables";
  Falla("add", {"ERR-ID:7500016"}, "no such table", [&] { AgregaVariable("K0004"); });
  Falla("delete", kBorrado, "no such table", [&] { Borra("K0004"); });
  EXPECT_TRUE(Nodes().Contains("K0004"));
  // Saved, Almacen alone would take position 0001, which Ventas still holds, and Ventas's
  // sub-classes would load under Almacen.
  Falla("save", {"ERR-ID:7500005"}, "F5", [&] { Graba(); });

  store.Db().Execute("ALTER TABLE XEL_Configuracion_Aparte RENAME TO XEL_Configuracion");
  Repara();
}

// NULLs where the tables' keys allow them (the keys themselves are NOT NULL): they read as empty
// texts, and the commands that meet them work, writing texts in their place.
TEST_F(StoreDanadoTest, NullTextsReadAsEmptyAndTheCommandsReplaceThem) {
  store.Db().Execute(
      "INSERT INTO XEL_Clase_Variable (Cv_Cve_Clase_Variable, Cv_Id, Cv_Padre, Cv_Descripcion) "
      "VALUES ('0005', '0005', '0000', NULL), ('0006', NULL, '0000', 'Sin posicion'), "
      "('0007', '0007', NULL, 'Sin padre')");
  store.Db().Execute(
      "INSERT INTO XEL_Configuracion (Cf_Variable, Cf_Valor, Cf_Descripcion, Cf_Tipo, "
      "Cv_Cve_Clase_Variable) VALUES ('VACIA', NULL, NULL, NULL, '0005'), "
      "('SUELTA', 'x', 'd', 'T', NULL)");
  Falla("load", {}, "", [&] { Open(); });
  EXPECT_EQ(TreeShown(Nodes()), TreeOfStore(store.Db())) << "no parent or class, not shown";

  Edita("KVACIA", [](frmZULAddVariables& d) {
    EXPECT_EQ(d.cboTipo.ListIndex(), -1) << "no type to show";
    EXPECT_EQ(d.txtTexto.Text(), "");
    d.cboTipo.UserSelect(0);
    d.txtValor.SetText("5");
    d.cmdAceptar.PerformClick();
  });
  EXPECT_EQ(VariableGuardada("VACIA"), "0005 5  N");
  Edita("K0005", [](frmZULAddVariables& d) {
    EXPECT_EQ(d.txtValor.Text(), "");
    d.txtValor.SetText("Nombrada");
    d.cmdAceptar.PerformClick();
  });
  EXPECT_EQ(ClaseGuardada("0005"), "0005 0000 Nombrada");
  Click("K0006");
  EXPECT_EQ(Ctl("txtID").Text(), "") << "no position to show";
  EXPECT_EQ(editor.Get_AutoClave("XEL_Clase_Variable", "Cv_Id"), 8);
  Graba();
  EXPECT_EQ(ClaseGuardada("0006"), "0004 0000 Sin posicion") << "the save gives it one";
  EXPECT_TRUE(session->Messages().empty()) << session->Messages()[0].prompt;
  EXPECT_TRUE(ui.UnhandledErrors().empty()) << ui.UnhandledErrors()[0].description;
  EXPECT_EQ(TreeShown(Nodes()), TreeOfStore(store.Db()));
}

// Another editor holds the file's write lock: reading goes on, and each write waits for the lock
// a short while, then fails with the database's words, having changed nothing.
TEST_F(StoreDanadoTest, AStoreLockedByAnotherWriterFailsEachWriteAfterTheWait) {
  Open();
  constexpr std::chrono::milliseconds kEspera{50};
  SqliteConnection impaciente(store.Path().string(), {kEspera});
  session->SetConnection(impaciente);
  auto otro = store.OpenAnother();
  otro->BeginTrans();
  const auto inicio = std::chrono::steady_clock::now();
  Falla("delete", kBorrado, "database is locked", [&] { Borra("K0003"); });
  EXPECT_GE(std::chrono::steady_clock::now() - inicio, kEspera) << "the write waited for the lock";
  Falla("save", {"ERR-ID:7500005"}, "database is locked", [&] { Graba(); });
  Falla("reload", {}, "", [&] { PressF5(); });
  EXPECT_EQ(TreeShown(Nodes()), TreeOfStore(store.Db()));

  otro->RollbackTrans();
  Repara();
}

// A copy of the store that breaks while the host's connection to it is open: the editor reports
// each failure, the file keeps every byte, and the window works on once the host gives it a sound
// store again. A file that is no store at all is refused by the connection itself.
struct StoreRotoTest : StoreDanadoTest {
  static constexpr size_t kPagina = 4096;
  std::filesystem::path copia = store.Path().parent_path() / "copia.db";

  StoreRotoTest() {
    AddClass("0008", "0008", "0000", "Relleno " + std::string(3 * kPagina, 'x'));  // more pages
    store.Db().Execute("VACUUM INTO '" + Quote(copia.string()) + "'");
    Open();
  }
  void Escribe(const std::string& bytes) {
    std::ofstream(copia, std::ios::binary | std::ios::trunc) << bytes;
  }
  static std::string Ruido(size_t largo) {
    std::mt19937 random(7);
    std::string ruido(largo, '\0');
    std::ranges::generate(ruido, [&] { return static_cast<char>(random()); });
    return ruido;
  }
};

TEST_F(StoreRotoTest, AFileThatIsNoStoreIsRefusedByTheConnection) {
  Escribe(Ruido(2 * kPagina));
  RuntimeError e = FailureOf([&] { OpenConnection("sqlite:" + copia.string()); });
  EXPECT_EQ(e.Number(), err::DatabaseError);
  EXPECT_NE(e.Description().find("not a database"), std::string::npos) << e.Description();
}

TEST_F(StoreRotoTest, PagesOverwrittenWithNoiseAreReportedByEachCommand) {
  auto rota = OpenConnection("sqlite:" + copia.string());
  const std::string sano = FileBytes(copia);
  Escribe(sano.substr(0, kPagina) + Ruido(sano.size() - kPagina));
  const std::string antes = FileBytes(copia);
  session->SetConnection(*rota);
  utility->SetFinder(BuscaEn(*rota));
  Falla("load", {"ERR-ID:7500001"}, "malformed", [&] { PressF5(); });
  Falla("add", {"ERR-ID:7500016"}, "malformed", [&] {
    Agrega("K0", [](frmZULAddVariables& d) {
      d.txtValor.SetText("Nueva");
      AceptaOCancela(d);
    });
  });
  Falla("save", {"ERR-ID:7500005"}, "F5", [&] { Graba(); });
  session->SetConnection(db);
  utility->SetFinder(BuscaEn(store.Db()));
  rota.reset();
  EXPECT_EQ(FileBytes(copia), antes) << "the broken file is left as it was";
  Repara();
}

}  // namespace
}  // namespace xel::testing
