#include <gtest/gtest.h>

#include "store/Statements.h"
#include "tests/support/EditorFixture.h"
#include "tests/support/TreeAndStore.h"

namespace xel::testing {
namespace {

using Lines = std::vector<std::string>;

struct Grabacion : EditorFixture {
  using EditorFixture::EditorFixture;

  // RAIZ > A (A1, v), B, C: codes and stored positions unlike the ones the save gives.
  void AddExampleStore() {
    AddClass("0010", "0007", "0000", "A");
    AddClass("0011", "0003", "0007", "A1");
    AddVariable("0010", "v", "x");
    AddClass("0012", "0001", "0000", "B");
    AddClass("0013", "0002", "0000", "C");
  }
  // "code position parent" per stored class, or with the time of its last change.
  Lines Rows(bool stamps = false) {
    Lines rows;
    auto found =
        store.Db().Execute("SELECT * FROM XEL_Clase_Variable ORDER BY Cv_Cve_Clase_Variable");
    for (; !found->Eof(); found->MoveNext()) {
      rows.push_back(stamps ? found->Field("Fecha_Ult_Modif").Text()
                            : found->Field("Cv_Cve_Clase_Variable").Text() + " " +
                                  found->Field("Cv_Id").Text() + " " +
                                  found->Field("Cv_Padre").Text());
    }
    return rows;
  }
};

// The save on each backend.
struct GrabarTest : OnEveryBackend<Grabacion> {};

TEST_P(GrabarTest, WritesPositionsDepthFirstInOneTransactionAndReloads) {
  AddExampleStore();
  store.Db().Execute("UPDATE XEL_Clase_Variable SET Fecha_Ult_Modif = '2001-02-03 04:05:06'");
  const Lines stamps = Rows(true);
  Open();
  Lines shown = Shape();
  Graba();
  // The store's classes are read before the transaction and checked again inside it.
  const Lines expected{sql::LugaresDeClases(),
                       "BeginTrans",
                       sql::LugaresDeClases(),
                       "UPDATE XEL_Clase_Variable Set Cv_Id = '0001', Cv_Padre = '0000' WHERE "
                       "Cv_Cve_Clase_Variable = '0010' ",
                       sql::PosicionDeClase(2, 1, "0011"),
                       sql::PosicionDeClase(3, 1, "v"),
                       sql::PosicionDeClase(4, 0, "0012"),
                       sql::PosicionDeClase(5, 0, "0013"),
                       sql::TodasLasClases(),  // the moved classes' descriptions, for the history
                       "CommitTrans",
                       sql::ClasesRaiz()};
  const Lines calls = WithoutHistory(db.Calls());
  ASSERT_GE(calls.size(), expected.size());
  EXPECT_EQ(Lines(calls.begin(), calls.begin() + expected.size()), expected);
  EXPECT_EQ(Rows(),
            (Lines{"0010 0001 0000", "0011 0002 0001", "0012 0004 0000", "0013 0005 0000"}));
  EXPECT_EQ(Rows(true), stamps) << "renumbering is no change of a class";
  EXPECT_EQ(Shape(), shown);
}

TEST_P(GrabarTest, AnEmptyTreeIsRefusedAndARootWithoutChildrenOnlyReloads) {
  AddExampleStore();
  Open();
  Nodes().Clear();
  Graba();
  EXPECT_EQ(session->Avisos(),
            (std::vector<ScriptedSession::Aviso>{{"ERR-ID:7500005", MsgCode::Exclamation}}));
  EXPECT_TRUE(db.Calls().empty());

  Nodes().Add({}, tvw::Last, "K0", "RAIZ");
  Graba();
  EXPECT_EQ(WithoutHistory(db.Calls()).front(), sql::ClasesRaiz())
      << "no transaction, straight to the reload";
  EXPECT_TRUE(Nodes().Contains("K0013"));
}

TEST_P(GrabarTest, AClassHoldingSubClassesIsSavedEvenWhenItsDescriptionIsItsCode) {
  AddClass("0007", "0001", "0000", "0007");  // shown first, and taken for a variable
  AddClass("0008", "0003", "0001", "Hija");
  AddClass("0001", "0002", "0000", "Alfa");
  Open();
  Graba();
  EXPECT_TRUE(session->Messages().empty()) << "no two classes share a position";
  EXPECT_EQ(Rows(), (Lines{"0001 0003 0000", "0007 0001 0000", "0008 0002 0001"}));
  EXPECT_EQ(NodeOf("K0008").Parent().Key(), "K0007");
}

XEL_ON_EVERY_BACKEND(GrabarTest);

}  // namespace
}  // namespace xel::testing
