#include <gtest/gtest.h>

#include <map>

#include "tests/support/EditorFixture.h"
#include "tests/support/FailureOf.h"

namespace xel::testing {
namespace {

using Texts = std::vector<std::string>;

// The host's window that holds the editor, with the properties it answers by name.
struct ParentWindow : ParentObject {
  std::map<std::string, std::string> properties;
  std::string Property(const std::string& name) override {
    if (!properties.contains(name)) {
      throw RuntimeError(438, "Object doesn't support this property or method");
    }
    return properties[name];
  }
  void Unload() override {}
};

using AnfitrionTest = EditorFixture;

TEST_F(AnfitrionTest, CmdValorReturnsWhatFollowsTheNameUpToTheNextArgumentUntrimmed) {
  struct Caso {
    std::string linea, argumento, valor, why;
  };
  for (const Caso& c : {
           Caso{"/USR ana /MOD x", "/USR", " ana", ""},
           {"/USR ana /MOD x", "/MOD", " x", "the last runs to the end"},
           {"/USR ana /MOD x", "/US", "R ana", "the start of a longer name"},
           {"/USR ana /MOD x", "/usr", "", "comparison is exact"},
           {"/USR ana /FIN", "/FIN", "", "a name at the very end"},
           {"/USR /MOD x", "/USR", "", "a name right before the next one"},
           {"/RUTA a /b/c /MOD x", "/RUTA", " a", "a value holding \" /\" is cut"},
           {"/RUTA c:/b/c", "/RUTA", " c:/b/c", "a slash alone does not cut"},
           {"/A x/MOD /MOD y", "/MOD", "", "the first occurrence counts"},
           {"/USR ana /MOD x", "", "/USR ana", "an empty name is found at the start"},
       }) {
    editor.SetLineaDeComandos([&c] { return c.linea; });
    EXPECT_EQ(editor.cmdValor(c.argumento), c.valor) << c.linea << " " << c.argumento << c.why;
  }
}

TEST_F(AnfitrionTest, TransaccionWordsTheParentsTransactionThroughTheUtilityService) {
  const auto falla = [&] { return FailureOf([&] { editor.Transaccion(); }).Number(); };
  EXPECT_EQ(falla(), err::ObjectVariableNotSet) << "no parent";
  auto padre = std::make_shared<ParentWindow>();
  editor.SetPadre(padre);
  EXPECT_EQ(falla(), 438) << "the parent's own error for a property it lacks";
  padre->properties["Transaccion"] = "ALTA-07";
  EXPECT_EQ(editor.Transaccion(), "[Velmora] ALTA-07") << "the service's text, unchanged";
  ASSERT_EQ(utility->TransactionCalls().size(), 1u);
  EXPECT_EQ(utility->TransactionCalls()[0].key, "Velmora");
  publico.utilityService.reset();
  EXPECT_EQ(falla(), err::ObjectVariableNotSet) << "no utility service";
  EXPECT_TRUE(session->Messages().empty()) << "no message of its own";
}

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
  // The column, then filter pairs; the key proposed.
  for (auto [a, expected] : std::vector<std::pair<Texts, long>>{
           {{"Cv_Cve_Clase_Variable"}, 1000},
           {{"Cv_id"}, 6},
           {{"Cv_id", "Cv_Padre", "0001"}, 4},
           {{"Cv_id", "Cv_Padre", ""}, 1},
           {{"Cv_id", "Cv_Padre", "0001", "", "ignored", "Cv_Descripcion", "A1"}, 3}}) {
    a.resize(7);
    EXPECT_EQ(editor.Get_AutoClave("XEL_Clase_Variable", a[0], a[1], a[2], a[3], a[4], a[5], a[6]),
              expected)
        << a[0] << " " << a[1] << "=" << a[2] << " " << a[5] << "=" << a[6];
  }
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
