// Two administrators at work on one store at the same time. What a save makes of the other's
// classes is decided by two pure functions, tested here with tables; a few end-to-end cases show
// that neither window loses what the other wrote.

#include <gtest/gtest.h>

#include <limits>
#include <memory>
#include <optional>

#include "editor/EstructuraDeClases.h"
#include "store/Statements.h"
#include "tests/support/DialogoFixture.h"
#include "tests/support/FailureOf.h"
#include "tests/support/TreeAndStore.h"

namespace xel::testing {
namespace {

using Texts = std::vector<std::string>;
using Avisos = std::vector<ScriptedSession::Aviso>;

// Ventas (0001) holds Descuentos (0002, stored at position "2"); Compras (0003) at the top.
const EstructuraDeClases kCargada{
    {"0001", {"0001", "0000"}}, {"0002", {"2", "0001"}}, {"0003", {"0003", "0000"}}};

EstructuraDeClases Con(EstructuraDeClases estructura, const std::string& codigo,
                       std::optional<LugarDeClase> lugar) {
  if (lugar) {
    estructura[codigo] = *lugar;
  } else {
    estructura.erase(codigo);
  }
  return estructura;
}

TEST(CambioDesdeLaCargaTest, OnlyWhatAReloadWouldShowOtherwiseCounts) {
  struct Caso {
    std::string caso, codigo;
    std::optional<LugarDeClase> lugar;  // none: deleted
    bool cambio;
  };
  for (const Caso& c : {
           Caso{"nothing changed", "0003", LugarDeClase{"0003", "0000"}, false},
           {"a loaded class deleted", "0003", std::nullopt, true},
           {"a loaded class moved", "0003", LugarDeClase{"0003", "0001"}, true},
           {"a loaded class renumbered", "0003", LugarDeClase{"0004", "0000"}, true},
           {"a loaded class unlinked", "0003", LugarDeClase{"0003", std::nullopt}, true},
           {"a class added at the top", "0009", LugarDeClase{"0009", "0000"}, true},
           {"a class added under a loaded one", "0009", LugarDeClase{"0009", "0002"}, true},
           {"a class added under no class", "0009", LugarDeClase{"0009", "0099"}, false},
           {"a class added without a link", "0009", LugarDeClase{"0009", std::nullopt}, false},
       }) {
    EXPECT_EQ(CambioDesdeLaCarga(kCargada, Con(kCargada, c.codigo, c.lugar)), c.cambio) << c.caso;
  }
}

TEST(UbicaNoNumeradasTest, EachUnnumberedClassFollowsItsParentOrGoesToTheTop) {
  using Numeradas = std::unordered_map<std::string, long>;
  struct Caso {
    std::string caso;
    EstructuraDeClases actual;
    Numeradas numeradas;
    Texts nuevas;  // "code position parent", in the order given
  };
  for (const Caso& c : {
           Caso{"under a numbered class, its position written short",
                {{"0001", {"1", "0000"}}, {"0009", {"0009", "0001"}}},
                {{"0001", 5}},
                {"0009 11 5"}},
           {"a link that names no class", {{"0009", {"0002", "0099"}}}, {}, {"0009 11 0"}},
           {"the root's link, with a class stored at position 0000",
            {{"X", {"0000", "0000"}}, {"0009", {"0002", "0000"}}},
            {{"X", 3}},
            {"0009 11 0"}},
           {"no link", {{"0009", {"0002", std::nullopt}}}, {}, {"0009 11 0"}},
           {"the parent placed first although stored after",
            {{"A", {"0002", "0003"}}, {"B", {"0003", "0000"}}},
            {},
            {"B 11 0", "A 12 11"}},
           {"two classes linked to each other",
            {{"A", {"0002", "0003"}}, {"B", {"0003", "0002"}}},
            {},
            {"B 11 0", "A 12 11"}},
           {"only numbered classes", {{"0001", {"0001", "0000"}}}, {{"0001", 1}}, {}},
       }) {
    long contador = 10;
    Texts nuevas;
    for (const PosicionNueva& p : UbicaNoNumeradas(c.actual, c.numeradas, contador)) {
      nuevas.push_back(p.clase + " " + std::to_string(p.posicion) + " " + std::to_string(p.padre));
    }
    EXPECT_EQ(nuevas, c.nuevas) << c.caso;
    EXPECT_EQ(contador, 10 + std::ssize(c.nuevas)) << c.caso;
  }
  long lleno = std::numeric_limits<std::int32_t>::max();
  EXPECT_EQ(FailureOf([&] {
              UbicaNoNumeradas({{"0009", {"0002", "0000"}}}, {}, lleno);
            }).Number(),
            err::Overflow);
}

// RAIZ > Almacen, Compras, Ventas (Descuentos (DESC_MAX), IVA, MONEDA), open in both windows: the
// fixture's own is the first administrator's, `otra` the second's.
struct DosAdministradoresTest : OnEveryBackend<DialogoFixture> {
  std::unique_ptr<Connection> otraConexion = store.OpenAnother();
  VentanaEditor otra{*otraConexion};

  DosAdministradoresTest() {
    AddSmallStore();
    Open();
    otra.Open();
  }
  // The other changes a shown value, stamping it with a time of its own: two writes of a fast
  // test may fall in one millisecond of the server's clock.
  void OtraEscribe(bool clase, const std::string& valor, const std::string& fecha) {
    otraConexion->Execute(
        clase ? "UPDATE XEL_Clase_Variable SET Cv_Descripcion = ?, Fecha_Ult_Modif = ? WHERE "
                "Cv_Cve_Clase_Variable = '0003'"
              : "UPDATE XEL_Configuracion SET Cf_Valor = ?, Fecha_Ult_Modif = ? WHERE "
                "Cf_Variable = 'IVA'",
        {valor, fecha});
  }
};

// The user names a new class and accepts.
VentanaEditor::Usuario NuevaClase(const std::string& descripcion) {
  return [=](frmZULAddVariables& d) {
    d.txtValor.SetText(descripcion);
    d.cmdAceptar.PerformClick();
  };
}

// Each record, a variable then a class, in turn: what the user is shown and what is written.
struct Registro {
  std::string nodo, clave, avisoCambiado;
  bool clase;
};
const Registro kRegistros[] = {{"KIVA", "IVA", "ERR-ID:7500020", false},
                               {"K0003", "0003", "ERR-ID:7500021", true}};

// The first administrator deletes what the other has open in the dialog; the other's change reaches
// no row, is rolled back and says so, and neither recreates nor loses anything.
TEST_P(DosAdministradoresTest, AChangeOfWhatTheOtherDeletedMeanwhileSaysTheRecordIsGone) {
  for (const Registro& r : kRegistros) {
    otra.session->ClearMessages();
    Texts trasBorrar;
    otra.Edita(r.nodo, [&](frmZULAddVariables& d) {
      Borra(r.nodo);
      trasBorrar = DumpStore(store.Db());
      d.txtValor.SetText("17");
      otra.db.Clear();
      d.cmdAceptar.PerformClick();
      EXPECT_TRUE(d.Visible() && !d.Add) << r.clave;
      d.cmdCancelar.PerformClick();
    });
    ASSERT_EQ(otra.session->ErrorIds(), Texts{"ERR-ID:7500016"}) << r.clave;
    EXPECT_NE(otra.session->Messages()[0].prompt.find(r.clave), std::string::npos) << r.clave;
    EXPECT_EQ(otra.db.Calls().back(), "RollbackTrans") << r.clave;
    EXPECT_EQ(DumpStore(*otraConexion), trasBorrar) << r.clave;
  }
  otra.PressF5();
  EXPECT_EQ(TreeShown(otra.Nodes()), TreeOfStore(store.Db())) << "nothing recreated or lost";
}

// The dialog shows the record as stored when it opens; what the other writes after that is shown,
// with its time, before it is overwritten, and checked once more, locked, inside the write.
TEST_P(DosAdministradoresTest, AChangeOverWhatTheOtherWroteSinceTheOpeningIsAskedForFirst) {
  for (const Registro& r : kRegistros) {
    session->ClearMessages();
    Click(r.nodo);
    OtraEscribe(r.clase, "17", "2031-05-06 07:08:09");
    const std::string lectura =
        r.clase ? sql::ClasePorClave(r.clave) : sql::VariablePorClave(r.clave);
    AlMostrarse([&](frmZULAddVariables& d) {
      EXPECT_EQ(d.txtValor.Text(), "17") << "what is stored at the opening, not the pane's";
      OtraEscribe(r.clase, "18", "2031-05-06 07:08:10");
      const Texts trasLaOtra = DumpStore(store.Db());
      d.txtValor.SetText("20");
      db.Clear();
      session->Answer(MsgCode::Cancel);
      d.cmdAceptar.PerformClick();
      EXPECT_EQ(session->Avisos(), (Avisos{{r.avisoCambiado, MsgCode::OkCancelQuestion}}));
      EXPECT_NE(session->Messages()[0].prompt.find("07:08:10"), std::string::npos);
      EXPECT_EQ(db.Calls(), Texts{lectura}) << "no transaction waits on the user";
      EXPECT_EQ(DumpStore(store.Db()), trasLaOtra);
      EXPECT_TRUE(d.Visible() && !d.Add) << r.clave;

      // Agreed to, but the other writes once more before the transaction begins.
      session->Answer(MsgCode::Ok, [&] { OtraEscribe(r.clase, "19", "2031-05-06 07:08:11"); });
      db.Clear();
      d.cmdAceptar.PerformClick();
      EXPECT_EQ(session->ErrorIds(), (Texts{r.avisoCambiado, r.avisoCambiado, "ERR-ID:7500016"}));
      EXPECT_EQ(db.Calls(),
                (Texts{lectura, "BeginTrans",
                       sql::Bloqueando(lectura,
                                       r.clase ? sql::XEL_Clase_Variable : sql::XEL_Configuracion,
                                       store.Db().Dialect()),
                       "RollbackTrans"}));
      EXPECT_TRUE(d.Visible() && !d.Add) << r.clave;

      d.cmdAceptar.PerformClick();
      EXPECT_EQ(session->Messages().size(), 4u);
      EXPECT_TRUE(d.Add) << r.clave;
    });
    Barra().ClickEdit();
    EXPECT_EQ(r.clase ? ClaseGuardada(r.clave) : VariableGuardada(r.clave),
              r.clase ? "0003 0000 20" : "0001 20  N");
  }
}

// A save after the other changed the classes asks first: declined, it writes nothing and shows the
// store; agreed, a class the other added keeps its parent and a class the other deleted stays
// deleted. The window's own writes ask nothing.
TEST_P(DosAdministradoresTest, ASaveAfterTheOtherChangedTheClassesAsksFirst) {
  otra.Agrega("K0002", NuevaClase("De la otra"));
  const Texts trasAgregar = DumpStore(store.Db());
  session->Answer(MsgCode::Cancel);
  Graba();
  EXPECT_EQ(session->ErrorIds(), Texts{"ERR-ID:7500022"});
  EXPECT_EQ(DumpStore(store.Db()), trasAgregar) << "declined, nothing is written";
  EXPECT_EQ(TreeShown(Nodes()), TreeOfStore(store.Db())) << "and the store is shown";

  otra.PressF5();
  otra.Borra("K0004");
  session->ClearMessages();
  session->Answer(MsgCode::Ok);
  Graba();
  EXPECT_EQ(session->ErrorIds(), Texts{"ERR-ID:7500022"});
  EXPECT_EQ(Filas("(SELECT DISTINCT Cv_Id FROM XEL_Clase_Variable) AS d"),
            Filas("XEL_Clase_Variable"))
      << "no two classes share a position";
  EXPECT_EQ(TreeShown(Nodes()), TreeOfStore(store.Db()));
  EXPECT_EQ(NodeOf("K0005").Parent().Key(), "K0002");
  EXPECT_FALSE(Nodes().Contains("K0004"));

  // The window's own add and delete are no news to its save.
  session->ClearMessages();
  Agrega("K0002", NuevaClase("Propia"));
  Borra("K0005");
  Graba();
  EXPECT_EQ(session->ErrorIds(), Texts{"ERR-ID:7500006"}) << "only the delete's confirmation";

  // A class moved while the question waits fails the save, even with as many classes as before;
  // the arrangement stays to be saved again.
  Click("K0003");
  Arbol().UserKeyPress('-');
  const Texts arreglado = Shape();
  Texts trasLaOtra;
  otra.Agrega("K0", NuevaClase("Otra"));
  session->ClearMessages();
  session->Answer(MsgCode::Ok, [&] {
    otraConexion->Execute(
        "UPDATE XEL_Clase_Variable SET Cv_Padre = '0000' WHERE Cv_Cve_Clase_Variable = '0002'");
    trasLaOtra = DumpStore(*otraConexion);
  });
  Graba();
  EXPECT_EQ(session->ErrorIds(), (Texts{"ERR-ID:7500022", "ERR-ID:7500005"}));
  EXPECT_EQ(DumpStore(store.Db()), trasLaOtra);
  EXPECT_FALSE(store.Db().InTransaction());
  EXPECT_EQ(Shape(), arreglado);
}

XEL_ON_EVERY_BACKEND(DosAdministradoresTest);

}  // namespace
}  // namespace xel::testing
