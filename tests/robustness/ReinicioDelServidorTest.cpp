// The editor left open while its PostgreSQL server restarts: the next action works without a
// restart of the program, and a server that stays away is told in one message. The test stops the
// server, so it runs only where it has one of its own (the robustness_server_restart test).

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

#include "host/ReconnectingConnection.h"
#include "store/ContenidoDelStore.h"
#include "tests/support/DialogoFixture.h"

namespace xel::testing {
namespace {

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

TEST_F(ReinicioDelServidorTest, TheOpenWindowAndTheCommandsWorkOnAfterTheServerRestarts) {
  ventana.Open();
  Servidor("stop");
  Servidor("start");
  AgregaVariable("TRAS_REINICIO");
  EXPECT_TRUE(ventana.session->Messages().empty()) << ventana.session->Messages()[0].prompt;
  EXPECT_TRUE(ventana.Nodes().Contains("KTRAS_REINICIO"));

  Servidor("stop");
  Servidor("start");
  Historial historial = Historial::De(db, "ana");
  CambiaValor(historial, "IVA", "18");
  EXPECT_EQ(LeeVariable(*store.OpenAnother(), "IVA").valor, "18");
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
