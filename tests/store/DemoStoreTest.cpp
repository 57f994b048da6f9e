#include <gtest/gtest.h>

#include <map>
#include <set>
#include <string>

#include "platform/text/Numeric.h"
#include "store/ContenidoDelStore.h"
#include "store/DemoStore.h"
#include "store/Schema.h"
#include "store/Sql.h"
#include "store/ValorPorTipo.h"
#include "tests/support/FailureOf.h"
#include "tests/support/FaultyConnection.h"
#include "tests/support/StoreTest.h"

namespace xel {
namespace {

using testing::FailureOf;
using testing::FaultyConnection;
using testing::TempStore;

long CountOf(Connection& db, const char* table) {
  return db.Execute(std::string("SELECT count(*) AS n FROM ") + table)->Field("n").AsLong();
}

bool IsFourDigitCode(const std::string& text) {
  return text.size() == 4 && text.find_first_not_of("0123456789") == std::string::npos;
}

struct DemoStoreTest : testing::StoreTest {
  DemoStoreTest() : StoreTest(TempStore::Contents::Demo) {}
};

struct DemoSeedingTest : testing::StoreTest {};

TEST_P(DemoStoreTest, HoldsAThreeLevelTreeAndVariablesOfEveryType) {
  std::map<std::string, std::string> parentOf;  // class code -> parent's code
  std::map<std::string, std::string> codeOf;    // position -> code
  for (const Clase& c : LeeContenido(Db()).clases) {
    EXPECT_TRUE(IsFourDigitCode(c.codigo) && IsFourDigitCode(c.posicion)) << c.codigo;
    EXPECT_TRUE(codeOf.emplace(c.posicion, c.codigo).second) << c.posicion;
    parentOf[c.codigo] = c.padre;
  }
  size_t deepest = 0;
  for (const auto& [code, parent] : parentOf) {
    size_t depth = 1;
    for (std::string up = parent; up != "0000"; up = parentOf.at(codeOf.at(up)), ++depth) {
      ASSERT_TRUE(codeOf.contains(up)) << code << " names the missing parent " << up;
    }
    deepest = std::max(deepest, depth);
  }
  EXPECT_GE(parentOf.size(), 10u);
  EXPECT_EQ(deepest, 3u);
  std::set<std::string> keys, types;
  for (const Variable& v : LeeContenido(Db()).variables) {
    EXPECT_TRUE(!ReadsAsNumber(v.clave) && !parentOf.contains(v.clave)) << v.clave;
    EXPECT_TRUE(parentOf.contains(v.clase) && RechazoDeValor(v.valor, v.tipo).empty()) << v.clave;
    keys.insert(v.clave);
    types.insert(v.tipo);
  }
  EXPECT_EQ(keys.size(), 40u);
  EXPECT_EQ(types, (std::set<std::string>{"B", "N", "T"}));
}

TEST_P(DemoSeedingTest, SeedingThatFailsHalfWayWritesNothing) {
  TempStore& store = Store();
  FaultyConnection faulty(store.Db());
  faulty.FailCall(20, RuntimeError(err::DatabaseError, "disk full"),
                  FaultyConnection::Counting::ExecuteOnly);
  EXPECT_EQ(FailureOf([&] { SeedDemoStore(faulty); }).Description(), "disk full");
  EXPECT_FALSE(store.Db().InTransaction());
  EXPECT_EQ(CountOf(store.Db(), sql::XEL_Clase_Variable), 0);
  EXPECT_EQ(CountOf(store.Db(), sql::XEL_Configuracion), 0);
}

TEST(DemoStoreFileTest, OpeningSeedsOnlyAFileWithoutTheStore) {
  TempStore place{TempStore::Contents::Empty};
  std::string path = (place.Path().parent_path() / "demo.db").string();
  OpenOrCreateDemoStore(path)->Execute("DELETE FROM XEL_Configuracion WHERE Cf_Variable = 'IVA'");
  auto reopened = OpenOrCreateDemoStore(path);
  EXPECT_EQ(CountOf(*reopened, sql::XEL_Configuracion), 39);

  TempStore emptied;  // the tables exist, without rows
  auto kept = OpenOrCreateDemoStore(emptied.Path().string());
  EXPECT_EQ(CountOf(*kept, sql::XEL_Clase_Variable), 0);

  CreateSchema(place.Db());
  place.Db().Execute("DROP TABLE XEL_Configuracion");
  auto completed = OpenOrCreateDemoStore(place.Path().string());
  EXPECT_TRUE(HasSchema(*completed));
  EXPECT_EQ(CountOf(*completed, sql::XEL_Clase_Variable), 0);
}

XEL_ON_EVERY_BACKEND(DemoStoreTest);
XEL_ON_EVERY_BACKEND(DemoSeedingTest);

}  // namespace
}  // namespace xel
