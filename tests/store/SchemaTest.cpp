#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "platform/data/SqlText.h"
#include "store/DemoStore.h"
#include "store/Hallazgos.h"
#include "store/Schema.h"
#include "store/Sql.h"
#include "store/Statements.h"
#include "tests/support/FailureOf.h"
#include "tests/support/FaultyConnection.h"
#include "tests/support/StoreTest.h"

namespace xel {
namespace {

using testing::FailureOf;
using testing::TempStore;
using Texts = std::vector<std::string>;

long CountOf(Connection& db, const char* table) {
  return db.Execute(std::string("SELECT count(*) AS n FROM ") + table)->Field("n").AsLong();
}

// The schema met through the editor's own statements.
struct SchemaTest : testing::StoreTest {
  void InsertClass(const std::string& code, const std::string& id, const std::string& parent,
                   const std::string& description = "x") {
    Db().Execute(sql::InsertaClase(code, parent, id, description));
  }
  void InsertVariable(const std::string& key, const std::string& clase = "0001",
                      const std::string& valor = "16") {
    Db().Execute(sql::InsertaVariable(clase, key, valor, "", "N"));
  }
  Texts Column(const std::string& query, const char* column) {
    Texts values;
    for (auto rs = Db().Execute(query); !rs->Eof(); rs->MoveNext()) {
      values.push_back(rs->Field(column).Text());
    }
    return values;
  }
  // Each match as its kind, path and code or key.
  Texts Halla(const std::string& texto) {
    Texts hallados;
    for (const Hallazgo& h : Busca(Db(), texto)) {
      hallados.push_back((h.tipo == Hallazgo::Tipo::Clase ? "class " : "variable ") + h.ruta + " " +
                         h.clave);
    }
    return hallados;
  }
};

TEST_P(SchemaTest, KeysAreUniqueAndFoundWithoutRegardToCaseButPositionsMayRepeat) {
  InsertClass("0001", "0005", "0000", "beta");
  InsertClass("0002", "0005", "0000", "Alfa");  // a store with a repeated position still loads
  InsertClass("0003", "0006", "0000", "GAMMA");
  EXPECT_EQ(FailureOf([&] { InsertClass("0001", "0007", "0000"); }).Number(), err::DatabaseError);
  EXPECT_EQ(Column(sql::ClasesRaiz(), sql::Cv_Descripcion), (Texts{"Alfa", "beta", "GAMMA"}));

  InsertVariable("IVA");
  EXPECT_EQ(FailureOf([&] { InsertVariable("iva"); }).Number(), err::DatabaseError);
  EXPECT_EQ(Column(sql::VariablePorClave("Iva"), sql::Cf_Variable), Texts{"IVA"});
  auto noKey = [&] { Db().Execute("INSERT INTO XEL_Configuracion (Cf_Valor) VALUES('1')"); };
  EXPECT_EQ(FailureOf(noKey).Number(), err::DatabaseError);
}

// The search folds case and marks the same way on every backend, whatever the script: each text
// is a class's description and its variable's value, and the search must find both for the wanted
// text or neither.
TEST_P(SchemaTest, TheSearchFoldsEveryScriptAlikeOnEveryBackend) {
  struct Caso {
    const char* texto;
    const char* buscado;
    bool halla;
  } const kCasos[] = {
      // clang-format off
      {"IVA trasladado", "iva", true}, {"Crème brûlée", "CREME BRULEE", true},
      {"Đà Nẵng", "NANG", true},      // two marks on one letter
      {"Đà Nẵng", "da nang", false},  // Đ has a stroke, not a mark: a letter of its own
      {"ΩΜΈΓΑ", "ωμεγα", true}, {"Ωμέγα", "omega", false},  // no letter stands for another script's
      {"ΟΔΟΣ ΑΘΗΝΩΝ", "ς αθ", true},  // the final sigma is a sigma
      {"ϴ", "θ", true}, {"ᾼ", "αι", true},  // the theta symbol is a theta; the iota subscript an iota
      {"Ёлка", "ЕЛКА", true}, {"Łódź", "łodz", true},
      {"Łódź", "LODZ", false},  // Ł has a stroke, not a mark
      {"Straße", "STRASSE", true}, {"STRAẞE", "strasse", true},
      {"İstanbul", "istanbul", true}, {"DİYARBAKIR", "diyarbakir", true},  // İ is an i and its dot
      {"ılık", "ILIK", false}, {"ISPARTA", "ısparta", false},  // the dotless ı is its own letter
      {"5 µm", "5 μm", true}, {"ﬁnanzas", "FINANZAS", true},  // the micro sign, a ligature
      {"ガス", "カス", true},  // the Japanese voicing mark is a mark
      // clang-format on
  };
  for (size_t i = 0; i < std::size(kCasos); ++i) {
    const std::string codigo = Format0000(static_cast<long>(i) + 1);
    InsertClass(codigo, codigo, "0000", kCasos[i].texto);
    InsertVariable("V" + codigo, codigo, kCasos[i].texto);
    const std::string ruta = std::string("RAIZ/") + kCasos[i].texto;
    const Texts hallados = Halla(kCasos[i].buscado);
    EXPECT_EQ(std::ranges::count(hallados, "class " + ruta + " " + codigo) +
                  std::ranges::count(hallados, "variable " + ruta + "/V" + codigo + " V" + codigo),
              kCasos[i].halla ? 2 : 0)
        << kCasos[i].texto << " / " << kCasos[i].buscado;
  }
}

// A read for a change holds its row until the transaction ends: another writer waits for it.
TEST_P(SchemaTest, AReadForAChangeHoldsItsRowUntilTheEnd) {
  if (!OnServer()) {
    GTEST_SKIP() << "SQLite lets one writer at a time in";
  }
  InsertVariable("IVA");
  auto other = Store().OpenAnother();
  other->Execute("SET lock_timeout = '200ms'");
  const std::string escribe = "UPDATE XEL_Configuracion SET Cf_Valor = '1'";
  RunInTransaction(Db(), [&] {
    Db().Execute(
        sql::Bloqueando(sql::VariablePorClave("IVA"), sql::XEL_Configuracion, Db().Dialect()));
    EXPECT_EQ(FailureOf([&] { other->Execute(escribe); }).Number(), err::DatabaseError);
  });
  other->Execute(escribe);
}

// On a server the store's functions live in a schema of their own: another role's functions of the
// same names earlier on the search path are never called in their place, and a store made when
// they lived beside the tables is told to get them again.
TEST_P(SchemaTest, TheStoresFunctionsAreCalledInTheirOwnSchemaAndAskedForWhenMissing) {
  if (!OnServer()) {
    GTEST_SKIP() << "SQLite's functions are the connection's own";
  }
  Db().Execute("CREATE SCHEMA intruso");
  for (const char* function :
       {"getdate()", "isnull(text, integer)", "isnumeric(text)", "xel_contiene(text, text)"}) {
    Db().Execute(std::string("CREATE FUNCTION intruso.") + function +
                 " RETURNS integer LANGUAGE plpgsql AS $$BEGIN RAISE EXCEPTION 'intruso'; END$$");
  }
  Db().Execute("SET search_path = intruso, public");
  InsertClass("0001", "0001", "0000", "Ventas");
  EXPECT_EQ(Column(sql::AutoClave("XEL_Clase_Variable", "Cv_id", {}, {}, {}), "Clave"),
            Texts{"0001"});
  EXPECT_EQ(Column(sql::Busqueda("vent", SqlDialect::PostgreSql), "Clave"), Texts{"0001"});
  Db().Execute("RESET search_path");
  EXPECT_NO_THROW(RequireServerFunctions(Db()));
  Db().Execute(std::string("DROP SCHEMA ") + kServerFunctionSchema + " CASCADE");
  EXPECT_THAT(FailureOf([&] { RequireServerFunctions(Db()); }).Description(),
              ::testing::HasSubstr("Make them with: xel02 schema --db CONNECTION --apply"));
}

TEST_P(SchemaTest, DemoSeedingThatFailsHalfWayWritesNothing) {
  testing::FaultyConnection faulty(Db());
  faulty.FailCall(20, RuntimeError(err::DatabaseError, "disk full"));
  EXPECT_EQ(FailureOf([&] { SeedDemoStore(faulty); }).Description(), "disk full");
  EXPECT_FALSE(Db().InTransaction());
  EXPECT_EQ(CountOf(Db(), sql::XEL_Clase_Variable) + CountOf(Db(), sql::XEL_Configuracion), 0);
}

TEST(SchemaStatementsTest, EachServerStatementStandsAlone) {
  for (SqlDialect dialect : {SqlDialect::Sqlite, SqlDialect::PostgreSql, SqlDialect::SqlServer}) {
    for (const std::string& statement : SchemaStatements(dialect)) {
      EXPECT_EQ(CountStatements(statement, dialect), StatementCount::One) << statement;
    }
  }
}

// The demo store is made and seeded only where no store is: rows the user deleted stay deleted,
// and a store emptied by its user stays empty.
TEST(DemoStoreFileTest, OpeningSeedsOnlyAFileWithoutTheStore) {
  TempStore place{TempStore::Contents::Empty};
  std::string path = (place.Path().parent_path() / "demo.db").string();
  OpenOrCreateDemoStore(path)->Execute("DELETE FROM XEL_Configuracion WHERE Cf_Variable = 'IVA'");
  EXPECT_EQ(CountOf(*OpenOrCreateDemoStore(path), sql::XEL_Configuracion), 39);

  CreateSchema(place.Db());
  place.Db().Execute("DROP TABLE XEL_Configuracion");
  auto completed = OpenOrCreateDemoStore(place.Path().string());
  EXPECT_TRUE(HasSchema(*completed));
  EXPECT_EQ(CountOf(*completed, sql::XEL_Clase_Variable), 0);
}

XEL_ON_EVERY_BACKEND(SchemaTest);

}  // namespace
}  // namespace xel
