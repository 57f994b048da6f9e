// A server that ends the editor's session in the middle of a write: on the throwaway PostgreSQL
// server, a second connection ends the session just before each call of each write path. The store
// must then hold exactly the old state or exactly the new one, the user must see one message and no
// success, and no transaction may stay open on the server.

#include <gtest/gtest.h>

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

// What the user was told by one write: whether it claimed success, and how many failures it showed.
struct Desenlace {
  bool exito;
  size_t fallas;
  std::string dicho;  // what the user was told, for the failure's report
};

// The failures a window showed, and what it said.
Desenlace Visto(const VentanaEditor& ventana, bool exito) {
  Desenlace visto{exito, 0, ""};
  for (const Message& message : ventana.session->Messages()) {
    visto.fallas += message.code == MsgCode::Critical ? 1 : 0;
    visto.dicho += message.errorId + " " + message.prompt + "\n";
  }
  return visto;
}

// One write path, as the user makes it on the small store, through the window or the command line.
struct Escritura {
  std::string nombre;
  std::function<Desenlace(VentanaEditor&, Connection&)> escribe;
};

const Escritura kEscrituras[] = {
    {"DialogUpdate",
     [](VentanaEditor& v, Connection&) {
       bool aceptado = false;
       v.Edita("KIVA", [&](frmZULAddVariables& d) {
         d.txtValor.SetText("17");
         DialogoFixture::AceptaOCancela(d);
         aceptado = d.Add;
       });
       return Visto(v, aceptado);
     }},
    {"DeleteSubTree",
     [](VentanaEditor& v, Connection&) {
       v.Borra("K0001");
       return Visto(v, !v.Nodes().Contains("K0001"));
     }},
    {"SaveOrder",
     [](VentanaEditor& v, Connection&) {
       v.Drag("K0004", "K0003");
       v.session->ClearMessages();
       v.Graba();
       return Visto(v, v.session->Messages().empty());
     }},
    {"Import",  // a write of the core, which reports a failure by throwing it
     [](VentanaEditor&, Connection& db) -> Desenlace {
       try {
         Historial historial = Historial::De(db, "ana");
         Importa(historial,
                 {{{"0009", "0000", "0009", "Nueva", 1}},
                  {{"0009", "NUEVA", "1", "B", "", 2}, {"0001", "IVA", "17", "N", "", 3}}},
                 "vars.json", false);
       } catch (const RuntimeError& e) {
         return {false, 1, e.Description()};
       }
       return {true, 0, ""};
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
  Lines viejo, nuevo;
  {
    Intento intento;
    viejo = StoreRows(intento.store.Db());
    escritura.escribe(intento.ventana, intento.conexion);
    nuevo = StoreRows(intento.store.Db());
    ASSERT_NE(nuevo, viejo) << "the write changed nothing";
  }
  // The old state with one failure told, or the new one told as done: nothing in between.
  for (int call = 1;; ++call) {
    SCOPED_TRACE("session ended at call " + std::to_string(call));
    Intento intento;
    intento.terminador.TerminateAtCall(call);
    Desenlace desenlace = escritura.escribe(intento.ventana, intento.conexion);
    auto otra = intento.store.OpenAnother();
    Lines estado = StoreRows(*otra);
    EXPECT_EQ(RowsByHistory(viejo, *otra), estado)
        << "a change without its history entry, or an entry without its change";
    EXPECT_EQ(OpenTransactionsOnServer(*intento.killer), 0);
    const bool hecho = estado == nuevo;
    EXPECT_TRUE(hecho || estado == viejo) << "a part of the write is stored";
    EXPECT_EQ(std::pair(desenlace.exito, desenlace.fallas), std::pair(hecho, hecho ? 0ul : 1ul))
        << desenlace.dicho;
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
