#include <gtest/gtest.h>

#include "host/ReconnectingConnection.h"
#include "tests/support/FailureOf.h"
#include "tests/support/StoreTest.h"
#include "tests/support/TerminatingConnection.h"

namespace xel::testing {
namespace {

// One way the server ends the session, and what the next statement must meet.
struct Caso {
  std::string nombre;
  bool enTransaccion;     // the session ends while a transaction of ours is open
  std::string siguiente;  // the statement run after the session ended
  bool servidorVuelve;    // whether the server answers a new connection
  std::string falla;      // part of the next statement's failure; empty: it must succeed
};

const char kLee[] = "SELECT count(*) AS n FROM XEL_Configuracion";
const char kInserta[] =
    "INSERT INTO XEL_Configuracion (Cv_Cve_Clase_Variable, Cf_Variable, Cf_Valor, Cf_Tipo) VALUES "
    "('0001', 'V', '1', 'N')";

struct ReconnectingConnectionTest : ::testing::WithParamInterface<Caso>, StoreFixture {
  ReconnectingConnectionTest() : StoreFixture(Backend::PostgreSql) {}
};

TEST_P(ReconnectingConnectionTest, ALostSessionIsReplacedOnceOutsideATransactionOnly) {
  const Caso& caso = GetParam();
  int aperturas = 0;
  ReconnectingConnection db(store.OpenAnother(), [&] {
    ++aperturas;
    if (!caso.servidorVuelve) {
      throw RuntimeError(err::DatabaseError, "could not connect to server: Connection refused");
    }
    return store.OpenAnother();
  });
  std::string antes = BackendPid(db);
  if (caso.enTransaccion) {
    db.BeginTrans();
    db.Execute(kInserta);
  }
  store.Db().Execute("SELECT pg_terminate_backend(" + antes + ", 10000)");

  RuntimeError fallo = FailureOf([&] { db.Execute(caso.siguiente); });
  EXPECT_EQ(fallo.Number() == 0, caso.falla.empty()) << fallo.Description();
  EXPECT_NE(fallo.Description().find(caso.falla), std::string::npos) << fallo.Description();
  EXPECT_EQ(db.InTransaction(), caso.enTransaccion) << "a transaction is ended by its owner only";
  if (caso.enTransaccion) {
    EXPECT_NE(FailureOf([&] { db.Execute(caso.siguiente); }).Number(), 0)
        << "the transaction's later work never moves to a new session";
    db.RollbackTrans();
  }
  if (caso.servidorVuelve) {
    EXPECT_NE(BackendPid(db), antes) << "the statement after runs on a new session";
  }
  EXPECT_EQ(aperturas, 1) << "one new connection for the next statement and the one after it";
  EXPECT_TRUE(store.Db().Execute("SELECT * FROM XEL_Configuracion")->Eof())
      << "no write of the ended session is kept, nor run twice";
}

INSTANTIATE_TEST_SUITE_P(
    Casos, ReconnectingConnectionTest,
    ::testing::Values(
        Caso{"ReadRunsAgainOnANewSession", false, kLee, true, ""},
        Caso{"WriteFailsAndIsNotRepeated", false, kInserta, true, "terminating connection"},
        Caso{"NothingReconnectsInsideATransaction", true, kLee, true, "terminating connection"},
        Caso{"AServerThatDoesNotComeBackIsToldOnce", false, kLee, false,
             "the server does not answer a new one: could not connect"}),
    [](const ::testing::TestParamInfo<Caso>& info) { return info.param.nombre; });

}  // namespace
}  // namespace xel::testing
