#include <gtest/gtest.h>

#include <map>

#include "platform/CommandLine.h"
#include "tests/editor/EditorFixture.h"
#include "tests/support/FailureOf.h"

namespace xel::testing {
namespace {

// The host's window that holds the editor, with the properties it answers by name.
class ParentWindow : public ParentObject {
 public:
  explicit ParentWindow(std::map<std::string, std::string> properties)
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

struct AnfitrionTest : EditorFixture {
  std::string ValorCon(const std::string& linea, const std::string& argumento) {
    editor.SetLineaDeComandos([linea] { return linea; });
    return editor.cmdValor(argumento);
  }
};

TEST_F(AnfitrionTest, CmdValorReturnsWhatFollowsTheNameUpToTheNextArgumentUntrimmed) {
  const std::string linea = "/USR ana /MOD x";
  EXPECT_EQ(ValorCon(linea, "/USR"), " ana");
  EXPECT_EQ(ValorCon(linea, "/USR "), "ana");
  EXPECT_EQ(ValorCon(linea, "/MOD"), " x") << "the last argument runs to the end of the line";
  EXPECT_EQ(ValorCon(linea, "/US"), "R ana") << "the start of a longer name";
  EXPECT_EQ(ValorCon(linea, "/usr"), "") << "comparison is exact";
  EXPECT_EQ(ValorCon(linea, "/XYZ"), "");
}

TEST_F(AnfitrionTest, CmdValorAtTheEdgesOfTheLine) {
  EXPECT_EQ(ValorCon("/USR ana /FIN", "/FIN"), "") << "a name at the very end";
  EXPECT_EQ(ValorCon("/USR /MOD x", "/USR"), "") << "a name right before the next one";
  EXPECT_EQ(ValorCon("/RUTA a /b/c /MOD x", "/RUTA"), " a") << "a value holding \" /\" is cut";
  EXPECT_EQ(ValorCon("/RUTA c:/b/c", "/RUTA"), " c:/b/c") << "a slash alone does not cut";
  EXPECT_EQ(ValorCon("/A x/MOD /MOD y", "/MOD"), "") << "the first occurrence counts";
  EXPECT_EQ(ValorCon("/NOM  José Pérez  /X", "/NOM"), "  José Pérez ");
  EXPECT_EQ(ValorCon("/USR ana /MOD x", ""), "/USR ana") << "an empty name is found at the start";
  EXPECT_EQ(ValorCon("", "/USR"), "");
}

TEST_F(AnfitrionTest, CmdValorReadsTheLineAtEveryCall) {
  std::string linea = "/USR ana";
  editor.SetLineaDeComandos([&linea] { return linea; });
  EXPECT_EQ(editor.cmdValor("/USR "), "ana");
  linea = "/USR eva";
  EXPECT_EQ(editor.cmdValor("/USR "), "eva");
}

TEST_F(AnfitrionTest, TheProcessLineIsItsArgumentsAfterTheProgramJoinedByBlanks) {
  using namespace std::string_literals;
  EXPECT_EQ(ArgumentsOf("/usr/bin/velmora\0/USR\0ana\0/MOD\0x\0"s), "/USR ana /MOD x");
  EXPECT_EQ(ArgumentsOf("/usr/bin/velmora\0/NOM\0José Pérez\0"s), "/NOM José Pérez");
  EXPECT_EQ(ArgumentsOf("velmora\0a\0\0b\0"s), "a  b") << "an empty argument keeps its place";
  EXPECT_EQ(ArgumentsOf("velmora\0"s), "");
  EXPECT_EQ(ArgumentsOf(""), "");
  EXPECT_EQ(ArgumentsOf("velmora\0/USR\0ana"s), "/USR ana") << "the last NUL may be missing";
}

TEST_F(AnfitrionTest, TransaccionWordsTheParentsTransactionThroughTheUtilityService) {
  editor.SetPadre(std::make_shared<ParentWindow>(
      std::map<std::string, std::string>{{"Transaccion", "ALTA-07"}}));
  EXPECT_EQ(editor.Transaccion(), "[Velmora] ALTA-07") << "the service's text, unchanged";
  ASSERT_EQ(utility->TransactionCalls().size(), 1u);
  EXPECT_EQ(utility->TransactionCalls()[0].text, "ALTA-07");
  EXPECT_EQ(utility->TransactionCalls()[0].key, "Velmora");
}

TEST_F(AnfitrionTest, TransaccionPassesEveryFailureToItsCaller) {
  EXPECT_EQ(FailureOf([&] { editor.Transaccion(); }).Number(), err::ObjectVariableNotSet)
      << "no parent";

  editor.SetPadre(std::make_shared<ParentWindow>(std::map<std::string, std::string>{}));
  EXPECT_EQ(FailureOf([&] { editor.Transaccion(); }).Number(), 438)
      << "the parent's own error for a property it lacks";
  EXPECT_TRUE(utility->TransactionCalls().empty());

  publico.utilityService.reset();
  editor.SetPadre(std::make_shared<ParentWindow>(
      std::map<std::string, std::string>{{"Transaccion", "ALTA-07"}}));
  EXPECT_EQ(FailureOf([&] { editor.Transaccion(); }).Number(), err::ObjectVariableNotSet)
      << "no utility service";
  EXPECT_TRUE(session->Messages().empty()) << "no message of its own";
}

}  // namespace
}  // namespace xel::testing
