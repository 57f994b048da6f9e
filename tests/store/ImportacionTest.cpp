#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <string>
#include <tuple>
#include <vector>

#include "store/ContenidoDelStore.h"
#include "store/Importacion.h"
#include "store/Statements.h"
#include "store/ValorPorTipo.h"
#include "tests/support/FailureOf.h"
#include "tests/support/StoreTest.h"
#include "tests/support/TreeAndStore.h"

namespace xel {
namespace {

using ::testing::AllOf;
using testing::FailureOf;
using ::testing::HasSubstr;
using ::testing::StartsWith;
using testing::TempStore;

// What the import's refusals, the command line and the number reading do not reach: blanks around
// a number or a text, an exponent, and a yes/no value that is only nearly 0 or 1.
TEST(ValorPorTipoTest, EachTypeTakesItsOwnValues) {
  for (const auto& [valor, tipo] : {std::pair{" 2.5 ", "N"}, {"-3e2", "N"}, {" x ", "T"}}) {
    EXPECT_EQ(RechazoDeValor(valor, tipo), "") << valor;
  }
  for (const char* valor : {" 1", "01"}) {
    EXPECT_NE(RechazoDeValor(valor, "B"), "") << valor;
  }
}

// The store a file is compared with: two classes, one under the other, and a variable in each.
const Contenido kStore = {
    {{"0001", "0000", "0001", "Impuestos"}, {"0002", "0001", "0002", "Retenciones"}},
    {{"0001", "IVA", "16", "N", "Tasa"}, {"0002", "RET", "1", "B", ""}}};

Clase C(const char* codigo, const char* padre, const char* posicion, const char* desc, long l) {
  return {codigo, padre, posicion, desc, l};
}
Variable V(const char* clase, const char* clave, std::string valor, const char* tipo, long l) {
  return {clase, clave, valor, tipo, "d", l};
}

// What is wrong, the file's rows, the line the refusal names and what it says.
const std::tuple<const char*, Contenido, long, const char*> kFilasErroneas[] = {
    {"class without a code", {{C("  ", "0000", "0009", "D", 2)}, {}}, 2, "needs a code"},
    {"blank description", {{C("0009", "0000", "0009", "  ", 3)}, {}}, 3, "needs a description"},
    {"unknown parent", {{C("0009", "0099", "0009", "D", 2)}, {}}, 2, "position of no class"},
    {"position taken", {{C("0009", "0000", "2", "D", 2)}, {}}, 2, "taken by class 0002"},
    {"top level's position", {{C("0009", "0000", "0000", "D", 2)}, {}}, 2, "the top level"},
    {"moved class", {{C("0002", "0000", "0002", "D", 4)}, {}}, 4, "moving classes"},
    {"class twice", {{C("a", "0000", "8", "D", 2), C("A", "0000", "9", "D", 5)}, {}}, 5, "line 2)"},
    {"variable without a key", {{}, {V("0001", " ", "1", "N", 2)}}, 2, "needs a key"},
    {"numeric key", {{}, {V("0001", " 25 ", "1", "N", 2)}}, 2, "cannot be a number"},
    {"unknown type", {{}, {V("0001", "K", "1", "n", 2)}}, 2, "unknown type"},
    {"blank value", {{}, {V("0001", "K", "  ", "T", 2)}}, 2, "must be given"},
    {"unknown class", {{}, {V("0099", "K", "1", "N", 2)}}, 2, "neither in the store"},
    {"class later", {{C("x", "0000", "9", "D", 3)}, {V("x", "K", "1", "N", 2)}}, 2, "neither"},
    {"key twice", {{}, {V("0001", "K", "1", "N", 2), V("0002", "k", "1", "N", 7)}}, 7, "line 2)"},
    {"moved variable", {{}, {V("0002", "iva", "16", "N", 6)}}, 6, "does not move variables"},
    {"NUL", {{}, {V("0001", "K", std::string("a\0b", 3), "T", 2)}}, 2, "NUL"}};

TEST(PlanDeImportacionTest, AWrongRowIsRefusedWithItsLine) {
  for (const auto& [que, archivo, linea, motivo] : kFilasErroneas) {
    EXPECT_THAT(FailureOf([&] { PlaneaImportacion(archivo, kStore, "f.csv"); }).Description(),
                AllOf(StartsWith("f.csv:" + std::to_string(linea) + ": "), HasSubstr(motivo)))
        << que;
  }
}

TEST(PlanDeImportacionTest, InsertsWhatIsMissingAndUpdatesWhatDiffersInTheFilesOrder) {
  Contenido archivo = {
      {C("0001", "0000", "1", "Impuestos", 2), C("0003", "0002", "0003", "Nueva \"clase\"", 4)},
      {V("0003", "NUEVA", "x y", "T", 5),
       {"0001", "iva", "17", "N", "Tasa general", 6},
       {"0002", "RET", "1", "B", "", 7}}};
  PlanDeImportacion plan = PlaneaImportacion(archivo, kStore, "f.json");
  std::vector<std::string> cambios;
  for (const Cambio& cambio : plan.cambios) {
    cambios.push_back(std::to_string(cambio.linea) + " " + cambio.texto);
  }
  EXPECT_EQ(cambios,
            (std::vector<std::string>{
                "4 insert class 0003 \"Nueva \\\"clase\\\"\" (parent 0002, position 0003)",
                "5 insert variable NUEVA = x y (class 0003, type T)",
                "6 update variable iva: 16 -> 17, description \"Tasa\" -> \"Tasa general\""}));
  EXPECT_EQ(plan.sinCambio, 2u);
  // The store's own key, whatever its case in the file.
  EXPECT_EQ(plan.cambios[2].sentencia, sql::ActualizaVariable("IVA", "17", "N", "Tasa general"));
}

// A value is shown cut at 200 characters, not bytes, and compared whole.
TEST(PlanDeImportacionTest, AChangeShowsTwoHundredCharactersOfAValueAndComparesItWhole) {
  std::string enies;
  for (int i = 0; i < 250; ++i) {
    enies += "ñ";
  }
  Contenido store = kStore;
  store.variables[0] = {"0001", "IVA", enies, "T", "Tasa"};
  Variable fila = store.variables[0];
  fila.valor += "x";
  PlanDeImportacion plan = PlaneaImportacion({{}, {fila}}, store, "f.json");
  ASSERT_EQ(plan.cambios.size(), 1u) << "a difference past what is shown is a change";
  const std::string doscientas = enies.substr(0, 400);  // ñ is two bytes
  EXPECT_EQ(plan.cambios[0].texto,
            "update variable IVA: " + doscientas + "… -> " + doscientas + "…");
}

struct ImportaTest : testing::StoreTest {
  ImportaTest() : StoreTest(TempStore::Contents::Demo) {}
};

// A class's branch holds its sub-tree in the editor's order (sub-classes by position) and ends
// before its next sibling; rows the tree cannot reach are counted, not shown.
TEST_P(ImportaTest, ABranchHoldsItsSubTreeAndWhatTheTreeCannotReachIsCounted) {
  Db().Execute(sql::InsertaClase("0090", "0077", "0091", "Sin padre"));
  Db().Execute(sql::InsertaVariable("0090", "HUERFANA", "1", "", "N"));
  Db().Execute(sql::InsertaVariable("0099", "SIN_CLASE", "1", "", "N"));
  Arbol arbol(LeeContenido(Db()));
  EXPECT_EQ(arbol.ClasesFuera(), 1u);
  EXPECT_EQ(arbol.VariablesFuera(), 2u);
  for (const auto& [codigo, esperadas] :
       {std::pair<const char*, std::vector<std::string>>{
            "0003", {"0003", "0003/0007", "0003/0010", "0003/0010/0012"}},
        {"0001", {"0001", "0001/0008"}}}) {
    std::vector<std::string> rutas;
    const Arbol subarbol = arbol.Subarbol(codigo);
    for (const Arbol::Rama& rama : subarbol.Ramas()) {
      rutas.push_back(rama.ruta);
    }
    EXPECT_EQ(rutas, esperadas);
  }
  EXPECT_EQ(FailureOf([&] { arbol.Subarbol("0090"); }).Number(), err::ItemNotFound);
}

XEL_ON_EVERY_BACKEND(ImportaTest);

}  // namespace
}  // namespace xel
