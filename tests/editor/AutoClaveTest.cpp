#include <gtest/gtest.h>

#include "tests/editor/EditorFixture.h"

namespace xel::testing {
namespace {

struct AutoClaveTest : OnEveryBackend<EditorFixture> {};

TEST_P(AutoClaveTest, ProposesOneMoreThanTheLargestNumericValue) {
  AddClass("0001", "0001", "0000", "A");
  AddClass("0007", "0002", "0000", "B");
  AddClass("A12", "0003", "0000", "C");
  EXPECT_EQ(editor.Get_AutoClave("XEL_Clase_Variable", "Cv_Cve_Clase_Variable"), 8);
  EXPECT_EQ(publico.sSQL,
            "SELECT IsNull(MAX(Cv_Cve_Clase_Variable), 0) as Clave FROM XEL_Clase_Variable "
            "WHERE ISNUMERIC(Cv_Cve_Clase_Variable) = 1 ");
  EXPECT_EQ(editor.Get_AutoClave("XEL_Clase_Variable", "Cv_id"), 4);
}

TEST_P(AutoClaveTest, AnEmptyTableGivesOne) {
  EXPECT_EQ(editor.Get_AutoClave("XEL_Clase_Variable", "Cv_id"), 1);
}

TEST_P(AutoClaveTest, TheMaximumOfATextColumnFollowsTheTextOrder) {
  AddClass("999", "0001", "0000", "A");
  AddClass("1000", "0002", "0000", "B");
  EXPECT_EQ(editor.Get_AutoClave("XEL_Clase_Variable", "Cv_Cve_Clase_Variable"), 1000);
}

TEST_P(AutoClaveTest, FiltersWithAnEmptyColumnNameAreSkippedAndLaterOnesStillApply) {
  AddClass("0001", "0001", "0000", "A");
  AddClass("0002", "0002", "0001", "A1");
  AddClass("0003", "0003", "0001", "O'Brien");
  EXPECT_EQ(editor.Get_AutoClave("XEL_Clase_Variable", "Cv_id", "Cv_Padre", "0001", "", "ignored",
                                 "Cv_Descripcion", "O'Brien"),
            4);
  EXPECT_EQ(publico.sSQL,
            "SELECT IsNull(MAX(Cv_id), 0) as Clave FROM XEL_Clase_Variable WHERE ISNUMERIC(Cv_id) "
            "= 1  AND Cv_Padre = '0001' AND Cv_Descripcion = 'O''Brien'");
  EXPECT_EQ(editor.Get_AutoClave("XEL_Clase_Variable", "Cv_id", "Cv_Padre", ""), 1)
      << "a named filter with an empty value compares with ''";
}

TEST_P(AutoClaveTest, FailuresGiveZeroWithoutAMessage) {
  AddClass("2147483647", "0001", "0000", "A");
  EXPECT_EQ(editor.Get_AutoClave("XEL_Clase_Variable", "Cv_Cve_Clase_Variable"), 0)
      << "overflow past the largest 32-bit number";
  EXPECT_EQ(editor.Get_AutoClave("XEL_No_Existe", "Cv_id"), 0);
  EXPECT_EQ(editor.Get_AutoClave("XEL_Clase_Variable", "No_Existe"), 0);

  db.Clear();
  EXPECT_EQ(editor.Get_AutoClave("XEL_Clase_Variable; DROP TABLE XEL_Configuracion", "Cv_id"), 0);
  EXPECT_EQ(editor.Get_AutoClave("XEL_Clase_Variable", "Cv_id", "1=1 OR Cv_Padre", "x"), 0);
  EXPECT_TRUE(db.Statements().empty()) << "a name that is not an identifier is never sent";
  EXPECT_TRUE(session->Messages().empty());
}

XEL_ON_EVERY_BACKEND(AutoClaveTest);

}  // namespace
}  // namespace xel::testing
