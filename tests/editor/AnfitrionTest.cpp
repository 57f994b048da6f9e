#include <gtest/gtest.h>

#include <map>

#include "platform/text/CommandLine.h"
#include "tests/support/EditorFixture.h"
#include "tests/support/FailureOf.h"

namespace xel::testing {
namespace {

// The host's window that holds the editor, with the properties it answers by name.
class ParentWindow : public ParentObject {
 public:
  explicit ParentWindow(std::map<std::string, std::string> properties = {})
      : properties_(std::move(properties)) {}
  std::string Property(const std::string& name) override {
    auto found = properties_.find(name);
    if (found == properties_.end()) {
      throw RuntimeError(438, "Object doesn't support this property or method");
    }
    return found->second;
  }
  void Unload() override {}

 private:
  std::map<std::string, std::string> properties_;
};

using AnfitrionTest = EditorFixture;

TEST_F(AnfitrionTest, CmdValorReturnsWhatFollowsTheNameUpToTheNextArgumentUntrimmed) {
  struct Caso {
    std::string linea, argumento, valor, why;
  };
  for (const Caso& c : {Caso{"/USR ana /MOD x", "/USR", " ana", ""},
                        {"/USR ana /MOD x", "/USR ", "ana", ""},
                        {"/USR ana /MOD x", "/MOD", " x", "the last runs to the end"},
                        {"/USR ana /MOD x", "/US", "R ana", "the start of a longer name"},
                        {"/USR ana /MOD x", "/usr", "", "comparison is exact"},
                        {"/USR ana /FIN", "/FIN", "", "a name at the very end"},
                        {"/USR /MOD x", "/USR", "", "a name right before the next one"},
                        {"/RUTA a /b/c /MOD x", "/RUTA", " a", "a value holding \" /\" is cut"},
                        {"/RUTA c:/b/c", "/RUTA", " c:/b/c", "a slash alone does not cut"},
                        {"/A x/MOD /MOD y", "/MOD", "", "the first occurrence counts"},
                        {"/NOM  José Pérez  /X", "/NOM", "  José Pérez ", ""},
                        {"/USR ana /MOD x", "", "/USR ana", "an empty name is found at the start"},
                        {"", "/USR", "", ""}}) {
    editor.SetLineaDeComandos([&c] { return c.linea; });
    EXPECT_EQ(editor.cmdValor(c.argumento), c.valor) << c.linea << " " << c.argumento << c.why;
  }
}

TEST_F(AnfitrionTest, TheProcessLineIsItsArgumentsAfterTheProgramJoinedByBlanks) {
  using namespace std::string_literals;
  EXPECT_EQ(ArgumentsOf("/usr/bin/velmora\0/NOM\0José Pérez\0"s), "/NOM José Pérez");
  EXPECT_EQ(ArgumentsOf("velmora\0a\0\0b\0"s), "a  b") << "an empty argument keeps its place";
  EXPECT_EQ(ArgumentsOf("velmora\0"s), "");
  EXPECT_EQ(ArgumentsOf(""), "");
  EXPECT_EQ(ArgumentsOf("velmora\0/USR\0ana"s), "/USR ana") << "the last NUL may be missing";
}

TEST_F(AnfitrionTest, TransaccionWordsTheParentsTransactionThroughTheUtilityService) {
  EXPECT_EQ(FailureOf([&] { editor.Transaccion(); }).Number(), err::ObjectVariableNotSet)
      << "no parent";
  editor.SetPadre(std::make_shared<ParentWindow>());
  EXPECT_EQ(FailureOf([&] { editor.Transaccion(); }).Number(), 438)
      << "the parent's own error for a property it lacks";

  editor.SetPadre(std::make_shared<ParentWindow>(
      std::map<std::string, std::string>{{"Transaccion", "ALTA-07"}}));
  EXPECT_EQ(editor.Transaccion(), "[Velmora] ALTA-07") << "the service's text, unchanged";
  ASSERT_EQ(utility->TransactionCalls().size(), 1u);
  EXPECT_EQ(utility->TransactionCalls()[0].key, "Velmora");

  publico.utilityService.reset();
  EXPECT_EQ(FailureOf([&] { editor.Transaccion(); }).Number(), err::ObjectVariableNotSet)
      << "no utility service";
  EXPECT_TRUE(session->Messages().empty()) << "no message of its own";
}

}  // namespace
}  // namespace xel::testing
