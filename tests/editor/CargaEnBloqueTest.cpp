// The tree read in two statements against the tree read one query per class, on many generated
// stores, damaged ones among them: the same nodes, the same messages in the same order, and the
// same statements from a save afterwards.

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <functional>
#include <optional>
#include <random>

#include "store/Schema.h"
#include "store/Sql.h"
#include "store/Statements.h"
#include "tests/support/StoreTest.h"
#include "tests/support/TreeAndStore.h"
#include "tests/support/VentanaEditor.h"

namespace xel::testing {
namespace {

using Lines = std::vector<std::string>;
using Texto = std::optional<std::string>;  // nothing: NULL

// A few classes nested at random ("code position parent description"), their variables ("key
// class"), and some of the damage real stores carry. Descriptions differ, and so do positions
// under one parent, so that the tree's order is the store's own and never a tie.
struct StoreGenerado {
  std::vector<std::array<Texto, 4>> clases;
  std::vector<std::array<Texto, 2>> variables;
  bool aMano = false;     // tables without keys, comparing texts with regard to case
  std::string columna;    // "TABLE COLUMN" renamed away, or empty
  std::string danos;      // what was damaged, for the failure's text
  bool porClase = false;  // rows the bulk load cannot match in memory, so it reads per class

  explicit StoreGenerado(unsigned semilla) : azar_(semilla) {
    for (int i = 0, n = Entre(2, 16); i < n; ++i) {
      const std::string id = Format0000(i + 1);
      const char* palabras[] = {"ventas ", "Compras ", "almacen ", "IMPUESTOS "};
      clases.push_back({id, id, i == 0 || Si(0.3) ? "0000" : *clases[Entre(0, i - 1)][1],
                        palabras[Entre(0, 3)] + std::to_string(i)});
    }
    for (int i = Entre(0, 30); i > 0; --i) {
      variables.push_back({"V" + std::to_string(i), Una()[0]});
    }
    Dana(0.25, "orphan class", [&] { clases.push_back({"0900", "0900", "0999", "huerfana"}); });
    Dana(0.25, "variable of no class", [&] { Otra()[1] = "0777"; });
    Dana(0.25, "a variable key that is a class code", [&] { Otra()[0] = Una()[0]; });
    Dana(0.1, "a class code that is the root's key", [&] { Una()[0] = "0"; });
    Dana(0.15, "a class whose sub-classes are the top level", [&] { Una()[1] = "0000"; });
    Dana(0.25, "a position without its zeros", [&] {
      auto& c = Una();
      c[1] = std::to_string(std::stoi(*c[1]));
    });
    const bool letras = Dana(0.3, "a code and a position in letters, linked in another case", [&] {
      auto& c = Una();
      for (auto& hija : clases) {
        hija[2] = hija[2] == c[1] ? "Pos" + *c[1] : hija[2];
      }
      c[1] = "pOS" + *c[1];
      c[0] = "cl" + *c[0];
      Otra()[1] = "CL" + c[0]->substr(2);
    });
    const bool acentos = Dana(0.15, "an accented class code, linked in another case", [&] {
      auto& c = Una();
      c[0] = "clé" + *c[0];
      Otra()[1] = "CLÉ" + c[0]->substr(4);
    });
    Dana(0.3, "NULL texts", [&] { Una()[3] = Una()[1] = Una()[2] = Otra()[1] = std::nullopt; });
    aMano = Dana(0.3, "tables made by hand", [] {});
    Dana(0.1, "a column renamed", [&] {
      const char* columnas[] = {"Clase_Variable Cv_Cve_Clase_Variable",
                                "Clase_Variable Cv_Id",
                                "Clase_Variable Cv_Padre",
                                "Clase_Variable Cv_Descripcion",
                                "Configuracion Cf_Variable",
                                "Configuracion Cv_Cve_Clase_Variable"};
      columna = columnas[Entre(0, 5)];
    });
    porClase = acentos || !columna.empty() || (aMano && letras);
  }

 private:
  int Entre(int desde, int hasta) { return std::uniform_int_distribution<>(desde, hasta)(azar_); }
  bool Si(double probabilidad) { return std::bernoulli_distribution(probabilidad)(azar_); }
  std::array<Texto, 4>& Una() { return clases[Entre(0, int(clases.size()) - 1)]; }
  std::array<Texto, 2>& Otra() {
    variables.push_back({"W" + std::to_string(variables.size()), Una()[0]});
    return variables.back();
  }
  bool Dana(double probabilidad, const std::string& dano, const std::function<void()>& hace) {
    const bool dana = Si(probabilidad);
    if (dana) {
      danos += dano + "; ";
      hace();
    }
    return dana;
  }
  std::mt19937 azar_;
};

// A row's values as a statement carries them.
std::string Valores(const auto& fila) {
  std::string valores;
  for (const Texto& texto : fila) {
    valores += (valores.empty() ? "" : ", ") + (texto ? "'" + Quote(*texto) + "'" : "NULL");
  }
  return valores;
}

// The store made anew with the generated rows in one transaction; a column is renamed after the
// commit, at which the server's history triggers read the rows' columns.
void Llena(Connection& db, const StoreGenerado& store) {
  RunInTransaction(db, [&] {
    db.Execute("DROP TABLE IF EXISTS XEL_Clase_Variable");
    db.Execute("DROP TABLE IF EXISTS XEL_Configuracion");
    if (!store.aMano) {
      CreateSchema(db);
    } else {
      db.Execute(
          "CREATE TABLE XEL_Clase_Variable (Cv_Cve_Clase_Variable text, Cv_Id text, "
          "Cv_Padre text, Cv_Descripcion text, Fecha_Ult_Modif text)");
      db.Execute(
          "CREATE TABLE XEL_Configuracion (Cf_Variable text, Cf_Valor text, Cf_Descripcion "
          "text, Cf_Tipo text, Cv_Cve_Clase_Variable text, Fecha_Ult_Modif text)");
    }
    for (const auto& c : store.clases) {
      db.Execute(
          "INSERT INTO XEL_Clase_Variable (Cv_Cve_Clase_Variable, Cv_Id, Cv_Padre, "
          "Cv_Descripcion) VALUES (" +
          Valores(c) + ")");
    }
    for (const auto& v : store.variables) {
      db.Execute(
          "INSERT INTO XEL_Configuracion (Cf_Variable, Cv_Cve_Clase_Variable, Cf_Valor, "
          "Cf_Tipo) VALUES (" +
          Valores(v) + ", 'x', 'T')");
    }
  });
  if (const size_t blanco = store.columna.find(' '); blanco != std::string::npos) {
    const std::string columna = store.columna.substr(blanco + 1);
    db.Execute("ALTER TABLE XEL_" + store.columna.substr(0, blanco) + " RENAME COLUMN " + columna +
               " TO " + columna + "_Aparte");
  }
}

// Every node with its image and check mark, as a window shows them.
void AgregaNodos(const TreeNodes& nodes, Lines& lineas) {
  std::ranges::copy(TreeShown(nodes), std::back_inserter(lineas));
  for (long i = 1; i <= nodes.Count(); ++i) {
    const Node node = nodes.Item(i);
    lineas.push_back(node.Key() + " image " + std::to_string(node.Image()) +
                     (node.Checked() ? " checked" : ""));
  }
}

// What a window shows after one load, the statements a save then sends up to its reload, the
// messages, and the tree after the save; `lecturas` is how many statements the load sent.
Lines CargaYGraba(Connection& db, const StoreGenerado& store, ModoDeCarga modo, size_t& lecturas) {
  Llena(db, store);
  VentanaEditor ventana(db);
  ventana.editor.SetModoDeCarga(modo);
  ventana.editor.Show();
  Lines lineas;
  AgregaNodos(ventana.Nodes(), lineas);
  lecturas = ventana.db.Statements().size();
  ventana.db.Clear();
  ventana.Graba();
  for (const std::string& s : ventana.db.Statements()) {
    if (s == sql::ClasesRaiz() || s == sql::ClasesPorPosicion()) {
      break;
    }
    lineas.push_back(s);
  }
  for (const Message& m : ventana.session->Messages()) {
    lineas.push_back(m.errorId + "|" + std::to_string(m.code) + "|" + m.title + "|" + m.prompt);
  }
  AgregaNodos(ventana.Nodes(), lineas);
  return lineas;
}

struct CargaEnBloqueTest : StoreTest {};

TEST_P(CargaEnBloqueTest, ShowsWhatTheLoadPerClassShowsAndSavesTheSameOnGeneratedStores) {
  for (unsigned semilla = 1; semilla <= 60; ++semilla) {
    const StoreGenerado store(semilla);
    const std::string caso = "store " + std::to_string(semilla) + ": " + store.danos;
    size_t lecturas = 0;
    const Lines porClase = CargaYGraba(Db(), store, ModoDeCarga::PorClase, lecturas);
    EXPECT_EQ(CargaYGraba(Db(), store, ModoDeCarga::EnBloque, lecturas), porClase) << caso;
    EXPECT_TRUE(store.porClase || lecturas == 3u)
        << caso << ": the two tables, and whether the store keeps a history";
  }
}

XEL_ON_EVERY_BACKEND(CargaEnBloqueTest);

}  // namespace
}  // namespace xel::testing
