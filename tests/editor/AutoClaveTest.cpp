#include <gtest/gtest.h>

#include "tests/support/EditorFixture.h"

namespace xel::testing {
namespace {

using Texts = std::vector<std::string>;

// Codes 0001, 0007, 999, 1000 and A12: a text maximum gives "999", a numeric one would give 1000.
struct AutoClaveTest : OnEveryBackend<EditorFixture> {
  AutoClaveTest() {
    AddClass("0001", "0001", "0000", "A");
    AddClass("0007", "0002", "0001", "A1");
    AddClass("999", "0003", "0001", "O'Brien");
    AddClass("1000", "0004", "0000", "B");
    AddClass("A12", "0005", "0000", "C");
  }
};

TEST_P(AutoClaveTest, ProposesOneMoreThanTheLargestNumericValueOfTheFilteredRows) {
  struct Caso {
    Texts args;  // column, then filter pairs
    long expected;
  };
  for (const Caso& c :
       {Caso{{"Cv_Cve_Clase_Variable"}, 1000},
        {{"Cv_id"}, 6},
        {{"Cv_id", "Cv_Padre", "0001"}, 4},
        {{"Cv_id", "Cv_Padre", ""}, 1},
        {{"Cv_id", "Cv_Padre", "0001", "", "ignored", "Cv_Descripcion", "A1"}, 3}}) {
    Texts a = c.args;
    a.resize(7);
    EXPECT_EQ(editor.Get_AutoClave("XEL_Clase_Variable", a[0], a[1], a[2], a[3], a[4], a[5], a[6]),
              c.expected)
        << a[0] << " " << a[1] << "=" << a[2] << " " << a[5] << "=" << a[6];
  }
  EXPECT_EQ(editor.Get_AutoClave("XEL_Clase_Variable", "Cv_id", "Cv_Padre", "0001", "", "ignored",
                                 "Cv_Descripcion", "O'Brien"),
            4);
  EXPECT_EQ(publico.sSQL,
            "SELECT IsNull(MAX(Cv_id), 0) as Clave FROM XEL_Clase_Variable WHERE ISNUMERIC(Cv_id) "
            "= 1  AND Cv_Padre = '0001' AND Cv_Descripcion = 'O''Brien'");
}

TEST_P(AutoClaveTest, FailuresGiveZeroWithoutAMessage) {
  AddClass("2147483647", "0009", "0000", "Z");
  EXPECT_EQ(
      editor.Get_AutoClave("XEL_Clase_Variable", "Cv_Cve_Clase_Variable", "Cv_Descripcion", "Z"), 0)
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
