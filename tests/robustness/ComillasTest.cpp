// Texts full of what means something to a statement (quotes, comments, statement ends, escapes,
// patterns, markers) or to an encoding (accents, Chinese, emoji, control characters, great
// lengths), typed wherever the user types: the store keeps each one byte for byte, no statement
// fails or reaches another row, the tree shows it, and the key generator and the look-up find
// exactly the rows that hold it.

#include <gtest/gtest.h>

#include <algorithm>
#include <iterator>
#include <map>
#include <random>
#include <string>
#include <string_view>
#include <vector>

#include "host/StoreLookup.h"
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
  // A text no other one made with another serial number equals, in any letter case.
  std::string Unico(int serie) { return Texto() + "#" + std::to_string(serie) + "#" + Texto(); }
  // A variable key no other key equals; now and then a number or blanks, which the dialog refuses.
  std::string Clave(int serie) {
    const int tirada = Uno(20);
    return tirada == 0   ? "  " + std::to_string(serie) + " "
           : tirada == 1 ? std::string(Uno(3), ' ')
                         : Unico(serie);
  }
};

// The text without the blanks around it, as the dialog reads a key or a description.
std::string SinBlancos(const std::string& texto) {
  const size_t primero = texto.find_first_not_of(' ');
  return primero == std::string::npos
             ? ""
             : texto.substr(primero, texto.find_last_not_of(' ') - primero + 1);
}

// One class and one variable to start from; everything else the test writes and remembers.
struct ComillasTest : DialogoFixture {
  struct Variable {
    std::string valor, descripcion, tipo;
  };
  std::map<std::string, std::string> clases{{"0001", "Ventas"}};  // code → description
  std::map<std::string, Variable> variables{{"IVA", {"16", "", "N"}}};
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
    const Variable v{textos.Texto(), textos.Texto(), std::string(1, "NBT"[tipo])};
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
      variables[clave] = v;
    }
  }

  // Both tables as stored, and as the test wrote them, without the times of the changes: each
  // column followed by a separator no piece holds.
  Texts Guardado() {
    Texts filas;
    for (const char* consulta :
         {"SELECT Cv_Cve_Clase_Variable||char(31)||Cv_Id||char(31)||Cv_Padre||char(31)||"
          "Cv_Descripcion||char(31) AS f FROM XEL_Clase_Variable",
          "SELECT Cf_Variable||char(31)||Cv_Cve_Clase_Variable||char(31)||Cf_Valor||char(31)||"
          "Cf_Descripcion||char(31)||Cf_Tipo||char(31) AS f FROM XEL_Configuracion"}) {
      for (auto fila = store.Db().Execute(consulta); !fila->Eof(); fila->MoveNext()) {
        filas.push_back(fila->Field("f").Text());
      }
    }
    std::ranges::sort(filas);
    return filas;
  }
  Texts Escrito() {
    const std::string s = "\x1f";
    Texts filas;
    for (const auto& [codigo, descripcion] : clases) {
      filas.push_back(codigo + s + codigo + s + "0000" + s + descripcion + s);
    }
    for (const auto& [clave, v] : variables) {
      filas.push_back(clave + s + "0001" + s + v.valor + s + v.descripcion + s + v.tipo + s);
    }
    std::ranges::sort(filas);
    return filas;
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
    if (serie % 500 == 499) {
      ASSERT_EQ(Guardado(), Escrito()) << "after " << serie + 1 << " accepts";
    }
  }
  EXPECT_EQ(Guardado(), Escrito());
  EXPECT_GT(variables.size(), 500u);
  EXPECT_GT(clases.size(), 500u);
  for (const char* rechazo : {"ERR-ID:7500009", "ERR-ID:7500011", "ERR-ID:7500013"}) {
    EXPECT_GT(rechazos[rechazo], 0) << "the texts reach the refusal " << rechazo;
  }
  // After a reload every class shows its description and every variable its key, where the
  // store puts them.
  PressF5();
  ASSERT_TRUE(session->Messages().empty()) << session->Messages()[0].prompt;
  EXPECT_EQ(TreeShown(Nodes()), TreeOfStore(store.Db()));
}

// The key generator's filters and the host's look-up compare whole values: a value finds exactly
// the rows that hold it, and a value that only looks like it (a quote more, a pattern, a blank)
// finds none. Cf_Valor compares byte for byte, so what "holds it" means is plain here.
TEST_F(ComillasTest, FiltersAndLookUpsFindExactlyTheRowsHoldingTheTypedValue) {
  Texts valores;
  for (int i = 0; i < 80; ++i) {
    valores.push_back(textos.Texto());
  }
  std::map<std::string, std::pair<std::string, long>> filas;  // key → value and number
  std::map<std::string, long> mayorDe;  // value → the largest number of a row holding it
  for (long numero = 1; numero <= 400; ++numero) {
    const std::string clave = textos.Unico(static_cast<int>(numero));
    const std::string& valor = valores[textos.Uno(static_cast<int>(valores.size()))];
    store.Db().Execute(
        "INSERT INTO XEL_Configuracion (Cv_Cve_Clase_Variable, Cf_Variable, Cf_Valor, "
        "Cf_Descripcion, Cf_Tipo) VALUES ('0002', ?, ?, ?, 'T')",
        Connection::Parameters{clave, valor, Format0000(numero)});
    filas[clave] = {valor, numero};
    mayorDe[valor] = numero;
  }
  auto busca = [&](const std::string& columna, const std::string& valor,
                   const std::string& resultado) {
    return BuscarCampoEnStore(store.Db(), "XEL_Configuracion", columna, valor, resultado);
  };

  for (const std::string& valor : valores) {
    for (const std::string& parecido : Texts{valor, valor + "'", "'" + valor, valor + " ",
                                             " " + valor, valor + "%", "%", "_", "''"}) {
      const bool guardado = mayorDe.contains(parecido);
      EXPECT_EQ(editor.Get_AutoClave("XEL_Configuracion", "Cf_Descripcion", "Cf_Valor", parecido),
                guardado ? mayorDe[parecido] + 1 : 1)
          << "filter value [" << parecido << "]";
      const std::string dueno = busca("Cf_Valor", parecido, "Cf_Variable");
      EXPECT_EQ(dueno.empty() ? "" : filas[dueno].first, guardado ? parecido : std::string())
          << "search value [" << parecido << "]";
    }
  }
  for (const auto& [clave, fila] : filas) {
    const auto& [valor, numero] = fila;
    EXPECT_EQ(editor.Get_AutoClave("XEL_Configuracion", "Cf_Descripcion", "Cf_Valor", valor,
                                   "Cf_Variable", clave),
              numero + 1)
        << clave;
    EXPECT_EQ(busca("Cf_Variable", clave, "Cf_Valor"), valor) << clave;
    EXPECT_EQ(busca("Cf_Variable", clave + "'", "Cf_Valor"), "") << clave;
  }
  EXPECT_TRUE(session->Messages().empty());
}

}  // namespace
}  // namespace xel::testing
