// A server that ends the editor's session in the middle of a write: on the throwaway PostgreSQL
// server, a second connection ends the session just before each call of each write path. The store
// must then hold exactly the old state or exactly the new one, the user must see one message and no
// success, and no transaction may stay open on the server.

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <functional>
#include <string>
#include <vector>

#include "host/ReconnectingConnection.h"
#include "store/ContenidoDelStore.h"
#include "store/Historial.h"
#include "store/Importacion.h"
#include "tests/support/DialogoFixture.h"
#include "tests/support/TerminatingConnection.h"
#include "tests/support/TreeAndStore.h"

namespace xel::testing {
namespace {

using Lines = std::vector<std::string>;

// One write path, as the user makes it on the small store, through the window or the command line,
// and whether it claimed success; every failure it reports is a message to the window's user.
struct Escritura {
  std::string nombre;
  std::function<bool(VentanaEditor&, Connection&)> escribe;
};

const Escritura kEscrituras[] = {
    {"DialogUpdate",
     [](VentanaEditor& v, Connection&) {
       v.Edita("KIVA", [&](frmZULAddVariables& d) {
         d.txtValor.SetText("17");
         DialogoFixture::AceptaOCancela(d);
       });
       return v.Dialogo().Add;
     }},
    {"DeleteSubTree",
     [](VentanaEditor& v, Connection&) {
       v.Borra("K0001");
       return !v.Nodes().Contains("K0001");
     }},
    {"SaveOrder",
     [](VentanaEditor& v, Connection&) {
       v.Drag("K0004", "K0003");
       v.session->ClearMessages();
       v.Graba();
       return v.session->Messages().empty();
     }},
    {"Import",  // a write of the core, which throws its failure for the command line to report
     [](VentanaEditor& v, Connection& db) {
       try {
         Historial historial = Historial::De(db, "ana");
         Importa(historial,
                 {{{"0009", "0000", "0009", "Nueva", 1}},
                  {{"0009", "NUEVA", "1", "B", "", 2}, {"0001", "IVA", "17", "N", "", 3}}},
                 "vars.json", false);
       } catch (const RuntimeError& e) {
         v.session->Mensaje(e.Description(), MsgCode::Critical, "", 0, "", "");
         return false;
       }
       return true;
     }},
};

// The store of one attempt on the server, with the editor open on it through the host's
// reconnecting connection, as the program has it, and a second connection that can end the
// editor's session. One test makes many of them, so it is no test of its own.
struct Intento : StoreFixture {
  Intento() : StoreFixture(Backend::PostgreSql) {
    AddSmallStore();
    ventana.Open();
  }
  void TestBody() override {}
  std::unique_ptr<Connection> killer = store.OpenAnother();
  TerminatingConnection terminador{store.Db(), *killer};
  // The reconnecting connection drops the one it replaces; the terminating one must outlive it.
  ReconnectingConnection conexion{std::make_unique<RecordingConnection>(terminador),
                                  [this] { return store.OpenAnother(); }};
  VentanaEditor ventana{conexion};
};

struct ConexionPerdidaTest : ::testing::TestWithParam<Escritura> {};

TEST_P(ConexionPerdidaTest, AtEveryCallTheStoreIsOldOrNewAndTheUserIsToldWhich) {
  if (std::string why = TempStore::Unavailable(Backend::PostgreSql); !why.empty()) {
    GTEST_SKIP() << why;
  }
  const Escritura& escritura = GetParam();
  Intento primero;
  const Lines viejo = StoreRows(primero.store.Db());
  escritura.escribe(primero.ventana, primero.conexion);
  const Lines nuevo = StoreRows(primero.store.Db());
  ASSERT_NE(nuevo, viejo) << "the write changed nothing";
  // The old state with one failure told, or the new one told as done: nothing in between.
  for (int call = 1;; ++call) {
    SCOPED_TRACE("session ended at call " + std::to_string(call));
    Intento intento;
    intento.terminador.TerminateAtCall(call);
    const bool exito = escritura.escribe(intento.ventana, intento.conexion);
    auto otra = intento.store.OpenAnother();
    Lines estado = StoreRows(*otra);
    EXPECT_EQ(RowsByHistory(viejo, *otra), estado)
        << "a change without its history entry, or an entry without its change";
    EXPECT_EQ(OpenTransactionsOnServer(*intento.killer), 0);
    const bool hecho = estado == nuevo;
    EXPECT_TRUE(hecho || estado == viejo) << "a part of the write is stored";
    const auto& avisos = intento.ventana.session->Messages();
    const long fallas = std::ranges::count(avisos, MsgCode::Critical, &Message::code);
    EXPECT_EQ(std::pair(exito, fallas), std::pair(hecho, hecho ? 0L : 1L))
        << (avisos.empty() ? "" : avisos.back().prompt);
    if (!intento.terminador.Terminated()) {
      EXPECT_TRUE(hecho);
      EXPECT_GT(call, 2) << "the write made too few calls to be swept";
      return;
    }
    ASSERT_LT(call, 60) << "the write never ends";
  }
}

INSTANTIATE_TEST_SUITE_P(EachWritePath, ConexionPerdidaTest, ::testing::ValuesIn(kEscrituras),
                         [](const ::testing::TestParamInfo<Escritura>& info) {
                           return info.param.nombre;
                         });

void Servidor(const std::string& orden) {
  std::string ctl = std::getenv("XEL02_TEST_PG_CTL");
  ASSERT_EQ(std::system((ctl + " " + orden).c_str()), 0) << ctl << " " << orden;
}

struct ReinicioDelServidorTest : StoreFixture {
  ReinicioDelServidorTest() : StoreFixture(Backend::PostgreSql) { AddSmallStore(); }

  void SetUp() override {
    const char* own = std::getenv("XEL02_TEST_PG_OWN_SERVER");
    if (!own || std::string(own) != "1" || !std::getenv("XEL02_TEST_PG_CTL")) {
      GTEST_SKIP()
          << "stops its server: runs only on a server of its own (robustness_server_restart)";
    }
  }

  ReconnectingConnection db{store.OpenAnother(), [this] { return store.OpenAnother(); }};
  VentanaEditor ventana{db};

  void AgregaVariable(const std::string& clave) {
    ventana.Agrega("K0001", [&](frmZULAddVariables& d) {
      DialogoFixture::LlenaVariable(d, clave, 2, "x");
      DialogoFixture::AceptaOCancela(d);
    });
  }
};

TEST_F(ReinicioDelServidorTest, TheOpenWindowWorksOnAfterTheServerRestarts) {
  ventana.Open();
  Servidor("stop");
  Servidor("start");
  AgregaVariable("TRAS_REINICIO");
  EXPECT_TRUE(ventana.session->Messages().empty()) << ventana.session->Messages()[0].prompt;
  EXPECT_EQ(LeeVariable(*store.OpenAnother(), "TRAS_REINICIO").valor, "x");

  Servidor("stop");
  AgregaVariable("SIN_SERVIDOR");
  Servidor("start");
  ASSERT_EQ(ventana.session->Messages().size(), 1u);
  EXPECT_NE(ventana.session->Messages()[0].prompt.find("does not answer"), std::string::npos)
      << ventana.session->Messages()[0].prompt;
  EXPECT_FALSE(ventana.Nodes().Contains("KSIN_SERVIDOR"));
}

}  // namespace
}  // namespace xel::testing
