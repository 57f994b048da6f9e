// Texts full of what means something to a statement (quotes, comments, statement ends, escapes,
// patterns, markers) or to an encoding (accents, Chinese, emoji, control characters, great
// lengths), typed wherever the user types: the store keeps each one byte for byte, no statement
// fails or reaches another row, and the tree shows it.

#include <gtest/gtest.h>

#include <algorithm>
#include <iterator>
#include <map>
#include <random>
#include <string>
#include <string_view>
#include <vector>

#include "platform/text/Numeric.h"
#include "store/Sql.h"
#include "tests/support/DialogoFixture.h"
#include "tests/support/TreeAndStore.h"

namespace xel::testing {
namespace {

using Texts = std::vector<std::string>;

// What means something to a statement, to a pattern or an escape, to the server's functions, or to
// an encoding; texts are made of these and of whole attempts to end a statement early.
constexpr std::string_view kPiezas[] = {
    "'",    "''", "'''", "--", ";",  "/*", "*/",   "\\", "\\'",      "%",       "_",
    "?",    "?1", ":v",  "@v", "$1", "$$", "\"",   "`",  "[",        "]",       "E'",
    "N'",   "ñ",  "á",   "ü",  "Ñ",  "中", "变量", "😀",  "👍🏽", "\t",      "\n",
    "\r\n", " ",  "  ",  "a",  "Z",  "7",  "-",    ".",  "e",        "IsNull(", "getdate()"};
constexpr std::string_view kIntentos[] = {"' OR '1'='1", "'); DROP TABLE XEL_Configuracion; --",
                                          "'/*", "*/'"};

// Deterministic texts made of those pieces and attempts.
struct Textos {
  std::mt19937 random{20260101};

  int Uno(int de) { return static_cast<int>(random() % static_cast<unsigned>(de)); }
  std::string_view Pieza() {
    return Uno(10) == 0 ? kIntentos[Uno(std::size(kIntentos))] : kPiezas[Uno(std::size(kPiezas))];
  }
  // Mostly a few pieces, now and then none, and one in forty more than ten thousand characters.
  std::string Texto() {
    std::string texto;
    const size_t largo = Uno(40) == 0 ? 10000 : 0;
    for (int piezas = Uno(9); piezas > 0 || texto.size() < largo; --piezas) {
      texto += Pieza();
    }
    return texto;
  }
  // A variable key no other key equals in any letter case; now and then a number or blanks, which
  // the dialog refuses.
  std::string Clave(int serie) {
    const int tirada = Uno(20);
    return tirada == 0   ? "  " + std::to_string(serie) + " "
           : tirada == 1 ? std::string(Uno(3), ' ')
                         : Texto() + "#" + std::to_string(serie) + "#" + Texto();
  }
};

// The text without the blanks around it, as the dialog reads a key or a description.
std::string SinBlancos(std::string texto) {
  texto.erase(0, texto.find_first_not_of(' '));
  return texto.erase(texto.find_last_not_of(' ') + 1);
}

// One class and one variable to start from; everything else the test writes and remembers.
struct ComillasTest : DialogoFixture {
  std::map<std::string, std::string> clases{{"0001", "Ventas"}};  // code → description
  std::map<std::string, Variable> variables{{"IVA", {"0001", "IVA", "16", "N", ""}}};
  Textos textos;
  std::map<std::string, int> rechazos;  // refusals seen, by identifier

  ComillasTest() {
    // Thousands of commits: what is under test is what they write, not that they reach the disk.
    store.Db().Execute("PRAGMA synchronous = OFF");
    AddClass("0001", "0001", "0000", "Ventas");
    AddVariable("0001", "IVA", "16", "N");
    Open();
  }

  // The dialog on its own, without a command around it: loaded, shown modally, filled by the user
  // and accepted once; a refused accept is given up with Cancelar.
  void Acepta(bool nuevo, const Usuario& llena) {
    frmZULAddVariables& dialogo = Dialogo();
    dialogo.Load();
    dialogo.EsNuevo = nuevo;
    AlMostrarse([&](frmZULAddVariables& d) {
      llena(d);
      db.Clear();
      AceptaOCancela(d);
    });
    dialogo.Show(true);
    dialogo.Unload();
  }
  template <class Map>
  const std::string& Cualquiera(const Map& map) {
    auto it = map.begin();
    std::advance(it, textos.Uno(static_cast<int>(map.size())));
    return it->first;
  }

  // What one accept must have done: written exactly one row in one transaction, or, for a key or a
  // description the dialog refuses, shown that refusal and written nothing.
  void Comprueba(const std::string& caso, const std::string& rechazo) {
    if (rechazo.empty()) {
      ASSERT_TRUE(session->Messages().empty()) << caso << ": " << session->Messages()[0].prompt;
      // A change first reads its row, locked, inside the transaction.
      Texts calls = WithoutHistory(db.Calls());
      std::erase_if(calls, [](const std::string& call) { return call.starts_with("SELECT"); });
      ASSERT_EQ(calls.size(), 3u) << caso;
      EXPECT_EQ(calls[0] + " " + calls[2], "BeginTrans CommitTrans") << caso;
      EXPECT_EQ(db.RecordsAffected(), 1) << caso;
    } else {
      EXPECT_EQ(session->ErrorIds(), Texts{rechazo}) << caso;
      EXPECT_TRUE(db.Calls().empty()) << caso;
      ++rechazos[rechazo];
    }
    session->ClearMessages();
  }

  // A class added with a code of its own, or an existing one given another description.
  void EscribeClase(bool nueva, int serie) {
    const std::string codigo = nueva ? Format0000(serie + 2) : Cualquiera(clases);
    const std::string descripcion = textos.Texto();
    Acepta(nueva, [&](frmZULAddVariables& d) {
      d.txtClave.SetText(codigo);
      d.txtID.SetText(codigo);
      d.txtValor.SetText(descripcion);
    });
    const bool valida = !SinBlancos(descripcion).empty();
    Comprueba("class " + codigo, valida ? "" : "ERR-ID:7500013");
    if (valida) {
      clases[codigo] = descripcion;
    }
  }
  // A variable added with a key as typed, or an existing one given other texts.
  void EscribeVariable(bool nueva, int serie) {
    const std::string tecleada = nueva ? textos.Clave(serie) : Cualquiera(variables);
    const int tipo = textos.Uno(3);
    Variable v{"0001", "", textos.Texto(), std::string(1, "NBT"[tipo]), textos.Texto()};
    Acepta(nueva, [&](frmZULAddVariables& d) {
      LlenaVariable(d, tecleada, tipo, v.valor, v.descripcion);
      d.txtPadre.SetText("0001");
    });
    const std::string clave = SinBlancos(tecleada);
    const std::string rechazo = clave.empty()          ? "ERR-ID:7500009"
                                : ReadsAsNumber(clave) ? "ERR-ID:7500011"
                                                       : "";
    Comprueba("variable " + clave, rechazo);
    if (rechazo.empty()) {
      v.clave = clave;
      variables[clave] = v;
    }
  }

  // Both tables as the test wrote them.
  Texts Escrito() {
    Contenido escrito;
    for (const auto& [codigo, descripcion] : clases) {
      escrito.clases.push_back({codigo, "0000", codigo, descripcion});
    }
    for (const auto& [clave, variable] : variables) {
      escrito.variables.push_back(variable);
    }
    return RowsOf(escrito);
  }
};

TEST_F(ComillasTest, EveryTypedTextIsStoredByteForByteAndShownByTheTree) {
  constexpr int kAceptaciones = 3000;
  for (int serie = 0; serie < kAceptaciones; ++serie) {
    const int tirada = textos.Uno(4);
    if (tirada < 2) {
      EscribeClase(tirada == 0, serie);
    } else {
      EscribeVariable(tirada == 2, serie);
    }
    if (HasFatalFailure()) {
      return;
    }
  }
  EXPECT_EQ(StoreRows(store.Db()), Escrito());
  EXPECT_GT(std::min(variables.size(), clases.size()), 500u);
  for (const char* rechazo : {"ERR-ID:7500009", "ERR-ID:7500011", "ERR-ID:7500013"}) {
    EXPECT_GT(rechazos[rechazo], 0) << "the texts reach the refusal " << rechazo;
  }
  // After a reload every class shows its description and every variable its key, where the
  // store puts them.
  PressF5();
  ASSERT_TRUE(session->Messages().empty()) << session->Messages()[0].prompt;
  EXPECT_EQ(TreeShown(Nodes()), TreeOfStore(store.Db()));
}

}  // namespace
}  // namespace xel::testing
