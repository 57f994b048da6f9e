#include <gtest/gtest.h>

#include "platform/forms/KeyCodes.h"
#include "store/Statements.h"
#include "tests/support/EditorFixture.h"
#include "tests/support/FaultyConnection.h"
#include "tests/support/TreeAndStore.h"

namespace xel::testing {
namespace {

using Texts = std::vector<std::string>;

// In tree order: Compras (IMPRESORA, PCT), Facturación (CITA, RUTA, RUTA2, SERIE),
// Ventas > Impuestos (IVA), then Ventas's own NOMBRE_CORTO, NOMBREXCORTO.
struct Busqueda : EditorFixture {
  explicit Busqueda(Backend backend = Backend::Sqlite) : EditorFixture(backend) {
    AddClass("0001", "0001", "0000", "Ventas");
    AddClass("0002", "0002", "0001", "Impuestos");
    AddClass("0003", "0003", "0000", "Facturación");
    AddClass("0004", "0004", "0000", "Compras");
    AddVariable("0004", "IMPRESORA", "LPT1", "T", "Impresora de pedidos");
    AddVariable("0004", "PCT", "50%");
    AddVariable("0003", "SERIE", "A-100", "T", "Serie de las facturas");
    AddVariable("0003", "CITA", "O'Brien");
    AddVariable("0003", "RUTA", "C:\\datos\\xel");
    AddVariable("0003", "RUTA2", "datosxel");
    AddVariable("0002", "IVA", "16", "N", "Impuesto al valor agregado");
    AddVariable("0001", "NOMBRE_CORTO", "x");
    AddVariable("0001", "NOMBREXCORTO", "y");
    Open();
  }
  // The window's keys reach it wherever the focus is.
  void Tecla(int keyCode, int shift) { editor.UserWindowKey({keyCode, shift}); }
  std::string Seleccionado() {
    Node node = Arbol().SelectedItem();
    return node ? node.Key() : "";
  }
  // Every node F3 reaches from the root, once round the tree.
  Texts Halla(const std::string& texto) {
    Click("K0");
    Ctl<TextBox>("txtBuscar").SetText(texto);
    Texts hallados;
    for (int vuelta = 0; vuelta < 20; ++vuelta) {
      Tecla(KeyCode::F3, 0);
      const std::string hallado = Seleccionado();
      if (hallado == "K0" || (!hallados.empty() && hallado == hallados[0])) {
        break;
      }
      hallados.push_back(hallado);
    }
    return hallados;
  }
};

struct BusquedaTest : OnEveryBackend<Busqueda> {};

TEST_P(BusquedaTest,
       FindsKeysDescriptionsAndValuesWhateverTheCaseAndAccentsAndTakesTheTextLiterally) {
  const Texts stored = DumpStore(store.Db());
  for (const auto& [texto, hallados] : std::initializer_list<std::pair<std::string, Texts>>{
           {"iva", {"KIVA"}},                               // variable key
           {"0003", {"K0003"}},                             // class code
           {"IMPUESTOS", {"K0002"}},                        // class description
           {"a-100", {"KSERIE"}},                           // value
           {"valor agregado", {"KIVA"}},                    // variable description
           {"facturacion", {"K0003"}},                      // accents
           {"imp", {"KIMPRESORA", "K0002", "KIVA"}},        // several, in tree order
           {"o'brien", {"KCITA"}},                          // a quote
           {"50%", {"KPCT"}},                               // % is no wildcard
           {"e_c", {"KNOMBRE_CORTO"}},                      // nor _
           {"s\\x", {"KRUTA"}},                             // nor \ an escape
           {"raiz", {}},                                    // the root is no row
           {"x'); DELETE FROM XEL_Configuracion; --", {}},  // a value stays a value
       }) {
    EXPECT_EQ(Halla(texto), hallados) << texto;
  }
  EXPECT_EQ(DumpStore(store.Db()), stored);
  EXPECT_TRUE(session->Messages().empty());
}

// Each search asks the store once; a match is selected and shown as a click shows it, and when
// there is none the bar says so and the selection stays.
TEST_P(BusquedaTest, F3GoesForwardAndShiftF3BackRoundTheTreeWithOneQueryEach) {
  Click("K0");
  Ctl<TextBox>("txtBuscar").SetText("IMP");
  Texts recorrido;
  for (int shift :
       {0, 0, 0, 0, ShiftState::Shift, ShiftState::Shift, ShiftState::Shift, ShiftState::Shift}) {
    Tecla(KeyCode::F3, shift);
    recorrido.push_back(Seleccionado());
  }
  EXPECT_EQ(recorrido, (Texts{"KIMPRESORA", "K0002", "KIVA", "KIMPRESORA", "KIVA", "K0002",
                              "KIMPRESORA", "KIVA"}));
  EXPECT_EQ(db.Statements(), Texts(8, sql::Busqueda("IMP", store.Db().Dialect())));
  EXPECT_TRUE(NodeOf("K0002").Expanded()) << "the match's classes are expanded";
  EXPECT_EQ(Texts({Ctl("txtClave").Text(), Ctl("txtDescripcion").Text()}), (Texts{"IVA", "16"}));
  EXPECT_FALSE(Barra().AddAvailable());

  Ctl<TextBox>("txtBuscar").SetText("inexistente");
  Tecla(KeyCode::F3, 0);
  EXPECT_EQ(Seleccionado(), "KIVA");
  EXPECT_TRUE(Ctl<TextBox>("txtBuscar").Visible()) << "the bar opens to show why nothing happened";
  EXPECT_EQ(Ctl<LabelZul>("lblResultado").Caption(), "Sin coincidencias");
  Ctl<TextBox>("txtBuscar").SetText("iva");
  Tecla(KeyCode::F3, 0);
  EXPECT_EQ(Seleccionado(), "KIVA") << "the only match, found again after going round";
  EXPECT_EQ(Ctl<LabelZul>("lblResultado").Caption(), "");
  EXPECT_TRUE(session->Messages().empty());
}

TEST_P(BusquedaTest, AStoreWithoutTheSearchFunctionAsksForTheSchemaAndAFailureIsReported) {
  Ctl<TextBox>("txtBuscar").SetText("iva");
  if (GetParam() == Backend::PostgreSql) {
    store.Db().Execute("DROP FUNCTION xel_contiene(text, text)");
    Tecla(KeyCode::F3, 0);
    ASSERT_EQ(session->ErrorIds(), Texts{"ERR-ID:7500025"});
    EXPECT_NE(session->Messages()[0].prompt.find("xel02 schema --db"), std::string::npos);
    session->ClearMessages();
  }
  FaultyConnection averiada(store.Db());
  session->SetConnection(averiada);
  averiada.FailCall(1, RuntimeError(err::DatabaseError, "conexión perdida"));
  Tecla(KeyCode::F3, 0);
  EXPECT_EQ(session->Avisos(),
            (std::vector<ScriptedSession::Aviso>{{"ERR-ID:7500026", MsgCode::Critical}}));
  EXPECT_EQ(Seleccionado(), "");
  EXPECT_EQ(runtime.MousePointer(), MousePointer::Default);
}

XEL_ON_EVERY_BACKEND(BusquedaTest);

}  // namespace
}  // namespace xel::testing
