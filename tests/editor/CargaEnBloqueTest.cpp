// The tree read in two statements against the tree read one query per class, on many generated
// stores, damaged ones among them: the same nodes, the same messages in the same order, and the
// same statements from a save afterwards.

#include <gtest/gtest.h>

#include <optional>
#include <random>
#include <string>
#include <vector>

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

struct ClaseGenerada {
  Texto codigo, id, padre, descripcion;
};
struct VariableGenerada {
  std::string clave;
  Texto clase;
};

// A store of a few classes nested at random, their variables, and some of the damage real stores
// carry. Descriptions differ among themselves, and so do positions under one parent, so that the
// order of the tree is the store's own and never a tie.
struct StoreGenerado {
  std::vector<ClaseGenerada> clases;
  std::vector<VariableGenerada> variables;
  bool aMano = false;          // tables without keys, comparing texts with regard to case
  std::string columnaQuitada;  // "TABLE.COLUMN" renamed away, or empty
  std::string danos;           // what was damaged, for the failure's text
  bool letras = false;         // codes and parent links in letters
  bool acentos = false;        // a class code with an accented letter
  // The bulk load must read it per class: it cannot match the rows exactly in memory.
  bool PorClase() const { return !columnaQuitada.empty() || acentos || (aMano && letras); }
};

class Generador {
 public:
  explicit Generador(unsigned semilla) : azar_(semilla) {}

  StoreGenerado Genera() {
    const int clases = Entre(2, 16);
    for (int i = 0; i < clases; ++i) {
      const std::string id = Format0000(i + 1);
      const std::string padre = i == 0 || Si(0.3) ? "0000" : *store_.clases[Entre(0, i - 1)].id;
      const char* palabras[] = {"ventas ", "Compras ", "almacen ", "IMPUESTOS "};
      store_.clases.push_back({id, id, padre, palabras[Entre(0, 3)] + std::to_string(i)});
    }
    for (int i = Entre(0, 30); i > 0; --i) {
      store_.variables.push_back({"V" + std::to_string(i), *Clase().codigo});
    }
    Dana();
    return store_;
  }

 private:
  int Entre(int desde, int hasta) { return std::uniform_int_distribution<>(desde, hasta)(azar_); }
  bool Si(double probabilidad) { return std::bernoulli_distribution(probabilidad)(azar_); }
  ClaseGenerada& Clase() { return store_.clases[Entre(0, int(store_.clases.size()) - 1)]; }
  VariableGenerada& Variable() {
    store_.variables.push_back({"W" + std::to_string(store_.variables.size()), *Clase().codigo});
    return store_.variables.back();
  }
  void Anota(const std::string& dano) { store_.danos += dano + "; "; }

  void Dana() {
    if (Si(0.25)) {
      Anota("orphan class");
      store_.clases.push_back({"0900", "0900", "0999", "huerfana"});
    }
    if (Si(0.25)) {
      Anota("variable of no class");
      Variable().clase = "0777";
    }
    if (Si(0.3)) {
      ClaseGenerada& a = Clase();
      ClaseGenerada& b = Clase();
      if (&a != &b && a.padre != b.padre) {
        Anota("position " + *b.id + " twice");
        a.id = b.id;
      }
    }
    if (Si(0.25)) {
      Anota("a variable key that is a class code");
      Variable().clave = *Clase().codigo;
    }
    if (Si(0.1)) {
      Anota("a class code that is the root's key");
      Clase().codigo = "0";
    }
    if (Si(0.15)) {
      Anota("a class whose sub-classes are the top level");
      Clase().id = "0000";
    }
    if (Si(0.15)) {
      Anota("a class that is its own parent");
      ClaseGenerada& c = Clase();
      c.padre = c.id;
    }
    if (Si(0.25)) {
      Anota("a position without its zeros");
      ClaseGenerada& c = Clase();
      c.id = std::to_string(std::stoi(*c.id));
    }
    if (Si(0.25)) {
      Anota("a position and a class code in letters, linked in another case");
      store_.letras = true;
      ClaseGenerada& c = Clase();
      for (ClaseGenerada& hija : store_.clases) {
        if (hija.padre == c.id) {
          hija.padre = "Pos" + *c.id;
        }
      }
      c.id = "pOS" + *c.id;
      c.codigo = "cl" + *c.codigo;
      Variable().clase = "CL" + c.codigo->substr(2);
    }
    if (Si(0.15)) {
      Anota("an accented class code, linked in another case");
      store_.acentos = true;
      ClaseGenerada& c = Clase();
      c.codigo = "clé" + *c.codigo;
      Variable().clase = "CLÉ" + c.codigo->substr(4);
    }
    if (Si(0.3)) {
      Anota("NULL texts");
      Clase().descripcion.reset();
      Clase().id.reset();
      Clase().padre.reset();
      Variable().clase.reset();
    }
    if (Si(0.2)) {
      Anota("tables made by hand");
      store_.aMano = true;
    }
    if (Si(0.1)) {
      const char* columnas[] = {"XEL_Clase_Variable.Cv_Cve_Clase_Variable",
                                "XEL_Clase_Variable.Cv_Id",
                                "XEL_Clase_Variable.Cv_Padre",
                                "XEL_Clase_Variable.Cv_Descripcion",
                                "XEL_Configuracion.Cf_Variable",
                                "XEL_Configuracion.Cv_Cve_Clase_Variable"};
      store_.columnaQuitada = columnas[Entre(0, 5)];
      Anota("no column " + store_.columnaQuitada);
    }
  }

  std::mt19937 azar_;
  StoreGenerado store_;
};

std::string Valor(const Texto& texto) {
  return texto ? "'" + Quote(*texto) + "'" : "NULL";
}

void LlenaDentro(Connection& db, const StoreGenerado& store) {
  db.Execute("DROP TABLE IF EXISTS XEL_Clase_Variable");
  db.Execute("DROP TABLE IF EXISTS XEL_Configuracion");
  if (store.aMano) {
    db.Execute(
        "CREATE TABLE XEL_Clase_Variable (Cv_Cve_Clase_Variable text, Cv_Id text, Cv_Padre text, "
        "Cv_Descripcion text, Fecha_Ult_Modif text)");
    db.Execute(
        "CREATE TABLE XEL_Configuracion (Cf_Variable text, Cf_Valor text, Cf_Descripcion text, "
        "Cf_Tipo text, Cv_Cve_Clase_Variable text, Fecha_Ult_Modif text)");
  } else {
    CreateSchema(db);
  }
  for (const ClaseGenerada& c : store.clases) {
    db.Execute(
        "INSERT INTO XEL_Clase_Variable (Cv_Cve_Clase_Variable, Cv_Id, Cv_Padre, Cv_Descripcion) "
        "VALUES (" +
        Valor(c.codigo) + ", " + Valor(c.id) + ", " + Valor(c.padre) + ", " + Valor(c.descripcion) +
        ")");
  }
  for (const VariableGenerada& v : store.variables) {
    db.Execute(
        "INSERT INTO XEL_Configuracion (Cf_Variable, Cf_Valor, Cf_Tipo, Cv_Cve_Clase_Variable) "
        "VALUES (" +
        Valor(v.clave) + ", 'x', 'T', " + Valor(v.clase) + ")");
  }
}

// The store made anew with the generated rows and damage, in one transaction, then a column
// renamed.
void Llena(Connection& db, const StoreGenerado& store) {
  RunInTransaction(db, [&] { LlenaDentro(db, store); });
  // After the commit, at which the server's history triggers read the rows' columns.
  if (const size_t punto = store.columnaQuitada.find('.'); punto != std::string::npos) {
    const std::string columna = store.columnaQuitada.substr(punto + 1);
    db.Execute("ALTER TABLE " + store.columnaQuitada.substr(0, punto) + " RENAME COLUMN " +
               columna + " TO " + columna + "_Aparte");
  }
}

// What a window shows after one load and after a save with its reload, and what it sent.
struct Resultado {
  Lines arbol, mensajes, grabacion, arbolGrabado;
  size_t lecturas = 0;
};

Lines Nodos(const TreeNodes& nodes) {
  Lines lineas = TreeShown(nodes);
  for (long i = 1; i <= nodes.Count(); ++i) {
    const Node node = nodes.Item(i);
    lineas.push_back(node.Key() + " image " + std::to_string(node.Image()) +
                     (node.Checked() ? " checked" : ""));
  }
  return lineas;
}

Lines Mensajes(const ScriptedSession& session) {
  Lines lineas;
  for (const Message& m : session.Messages()) {
    lineas.push_back(m.errorId + "|" + std::to_string(m.code) + "|" + m.title + "|" + m.prompt);
  }
  return lineas;
}

// The statements up to the reload that ends a save.
Lines HastaLaRecarga(const Lines& sentencias) {
  Lines antes;
  for (const std::string& s : sentencias) {
    if (s == sql::ClasesRaiz() || s == sql::ClasesPorPosicion()) {
      break;
    }
    antes.push_back(s);
  }
  return antes;
}

Resultado CargaYGraba(Connection& db, const StoreGenerado& store, ModoDeCarga modo) {
  Llena(db, store);
  VentanaEditor ventana(db);
  ventana.editor.SetModoDeCarga(modo);
  ventana.editor.Show();
  Resultado r{Nodos(ventana.Nodes()), {}, {}, {}, ventana.db.Statements().size()};
  ventana.db.Clear();
  ventana.Graba();
  r.mensajes = Mensajes(*ventana.session);
  r.grabacion = HastaLaRecarga(ventana.db.Statements());
  r.arbolGrabado = Nodos(ventana.Nodes());
  return r;
}

struct CargaEnBloqueTest : StoreTest {};

TEST_P(CargaEnBloqueTest, ShowsWhatTheLoadPerClassShowsAndSavesTheSameOnGeneratedStores) {
  constexpr unsigned kStores = 60;
  for (unsigned semilla = 1; semilla <= kStores; ++semilla) {
    const StoreGenerado store = Generador(semilla).Genera();
    const Resultado porClase = CargaYGraba(Db(), store, ModoDeCarga::PorClase);
    const Resultado enBloque = CargaYGraba(Db(), store, ModoDeCarga::EnBloque);
    const std::string caso = "store " + std::to_string(semilla) + ": " + store.danos;
    EXPECT_EQ(enBloque.arbol, porClase.arbol) << caso;
    EXPECT_EQ(enBloque.mensajes, porClase.mensajes) << caso;
    EXPECT_EQ(enBloque.grabacion, porClase.grabacion) << caso;
    EXPECT_EQ(enBloque.arbolGrabado, porClase.arbolGrabado) << caso;
    if (!store.PorClase()) {
      // The two tables, and whether the store keeps a history.
      EXPECT_EQ(enBloque.lecturas, 3u) << caso;
    }
  }
}

XEL_ON_EVERY_BACKEND(CargaEnBloqueTest);

}  // namespace
}  // namespace xel::testing
