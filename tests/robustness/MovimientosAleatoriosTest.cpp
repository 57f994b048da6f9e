// Random sequences of what a person does to the tree's arrangement: "+" and "-" on any node, drags
// of any node dropped anywhere (answered OK or Cancel), check marks, and now and then a save or a
// reload. After every step the window's tree must equal a plain reference model of those rules;
// a save reloads, so a position written twice or out of the tree's order shows there.

#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <random>
#include <string>
#include <vector>

#include "tests/editor/EditorFixture.h"

namespace xel::testing {
namespace {

using Texts = std::vector<std::string>;

// The tree as the rules say it must be: each node's texts, check mark, parent and children.
struct Modelo {
  struct Nodo {
    std::string text, tag, parent;
    bool checked = false;
    Texts children;
  };
  std::map<std::string, Nodo> nodos{{"K0", {"RAIZ", "", "", true, {}}}};

  void Agrega(const std::string& key, const std::string& text, const std::string& tag,
              const std::string& parent) {
    nodos[key] = {text, tag, parent, false, {}};
    nodos[parent].children.push_back(key);
  }
  bool EsVariable(const std::string& key) const {
    return key != "K0" && nodos.at(key).text == nodos.at(key).tag;
  }
  bool Debajo(std::string key, const std::string& ancestro) const {
    for (; !key.empty(); key = nodos.at(key).parent) {
      if (key == ancestro) {
        return true;
      }
    }
    return false;
  }
  Texts& Hermanos(const std::string& key) { return nodos[nodos[key].parent].children; }

  // "+" or "-": the node changes places with its previous or next sibling, when it has one.
  void Mueve(const std::string& key, bool sube) {
    if (key == "K0") {
      return;
    }
    Texts& hermanos = Hermanos(key);
    auto at = std::ranges::find(hermanos, key);
    if (sube && at != hermanos.begin()) {
      std::iter_swap(at, at - 1);
    } else if (!sube && at + 1 != hermanos.end()) {
      std::iter_swap(at, at + 1);
    }
  }
  // A drop: the node becomes the target's last child.
  void Pasa(const std::string& key, const std::string& destino) {
    Texts& hermanos = Hermanos(key);
    hermanos.erase(std::ranges::find(hermanos, key));
    nodos[key].parent = destino;
    nodos[destino].children.push_back(key);
  }
  void Marca(const std::string& key, bool marcado) {
    nodos[key].checked = marcado;
    for (const std::string& child : nodos[key].children) {
      Marca(child, marcado);
    }
  }
  // What a load shows of the stored arrangement: the top level by description, under each class
  // its sub-classes in their stored order and then its variables by key; only the root checked.
  Modelo Recargado() const {
    Modelo recargado = *this;
    for (auto& [key, nodo] : recargado.nodos) {
      nodo.checked = key == "K0";
      auto porTexto = [&](const std::string& a, const std::string& b) {
        return nodos.at(a).text < nodos.at(b).text;
      };
      if (key == "K0") {
        std::ranges::sort(nodo.children, porTexto);
      } else {
        std::ranges::stable_partition(nodo.children,
                                      [&](const std::string& k) { return !EsVariable(k); });
        auto variables = std::ranges::find_if(nodo.children,
                                              [&](const std::string& k) { return EsVariable(k); });
        std::sort(variables, nodo.children.end(), porTexto);
      }
    }
    return recargado;
  }

  Texts Lineas() const {
    Texts lineas;
    Lineas("K0", "", lineas);
    return lineas;
  }
  void Lineas(const std::string& key, const std::string& indent, Texts& lineas) const {
    const Nodo& nodo = nodos.at(key);
    lineas.push_back(indent + key + "|" + nodo.text + "|" + nodo.tag +
                     (nodo.checked ? "|x" : "|-"));
    for (const std::string& child : nodo.children) {
      Lineas(child, indent + " ", lineas);
    }
  }
};

class MovimientosAleatoriosTest : public EditorFixture,
                                  public ::testing::WithParamInterface<unsigned> {
 protected:
  // ALFA (BETA (DELTA, V3), GAMMA, V1, V2), EPSILON (ZETA (V5), V4), ETA (V6, V7)
  MovimientosAleatoriosTest() {
    Clase("0001", "0000", "ALFA");
    Clase("0002", "0001", "BETA");
    Clase("0004", "0002", "DELTA");
    Clase("0003", "0001", "GAMMA");
    Clase("0005", "0000", "EPSILON");
    Clase("0006", "0005", "ZETA");
    Clase("0007", "0000", "ETA");
    Variable("0001", "V1");
    Variable("0001", "V2");
    Variable("0002", "V3");
    Variable("0005", "V4");
    Variable("0006", "V5");
    Variable("0007", "V6");
    Variable("0007", "V7");
    modelo = modelo.Recargado();
    guardado = modelo;
    Open();
  }
  void Clase(const std::string& code, const std::string& parent, const std::string& text) {
    AddClass(code, code, parent, text);
    modelo.Agrega("K" + code, text, code, parent == "0000" ? "K0" : "K" + parent);
  }
  void Variable(const std::string& clase, const std::string& clave) {
    AddVariable(clase, clave, "x");
    modelo.Agrega("K" + clave, clave, clave, "K" + clase);
  }

  int Uno(int de) { return static_cast<int>(random() % static_cast<unsigned>(de)); }
  std::string CualquierNodo() {
    auto at = modelo.nodos.begin();
    std::advance(at, Uno(static_cast<int>(modelo.nodos.size())));
    return at->first;
  }

  Texts Mostrado() {
    Texts lineas;
    Mostrado(NodeOf("K0"), "", lineas);
    return lineas;
  }
  void Mostrado(const Node& node, const std::string& indent, Texts& lineas) {
    lineas.push_back(indent + node.Key() + "|" + node.Text() + "|" + node.Tag() +
                     (node.Checked() ? "|x" : "|-"));
    for (Node child = node.Child(); child; child = child.Next()) {
      Mostrado(child, indent + " ", lineas);
    }
  }

  // One step; returns what it did, and the messages it must have shown.
  std::string Paso(Texts& mensajes) {
    const int tirada = Uno(100);
    if (tirada < 40) {
      return Tecla();
    }
    if (tirada < 65) {
      return Suelta(mensajes);
    }
    if (tirada < 85) {
      const std::string key = CualquierNodo();
      const bool marcado = Uno(2) == 0;
      editor.tvVariables.UserCheck(NodeOf(key), marcado);
      modelo.Marca(key, marcado);
      return std::string(marcado ? "check " : "clear ") + key;
    }
    if (tirada < 93) {
      editor.cmdGrabar.PerformClick();
      guardado = modelo;
      modelo = modelo.Recargado();
      ++vistos["save"];
      return "save";
    }
    if (editor.Modified()) {
      session->Answer(MsgCode::No);  // the arrangement is thrown away
      mensajes.push_back("ERR-ID:7500050");
    }
    PressF5();
    modelo = guardado.Recargado();
    ++vistos["reload"];
    return "reload";
  }
  std::string Tecla() {
    const std::string key = CualquierNodo();
    const bool sube = Uno(2) == 0;
    Click(key);
    EXPECT_EQ(editor.tvVariables.UserKeyPress(sube ? '+' : '-'), 0) << "the key is consumed";
    modelo.Mueve(key, sube);
    return std::string(sube ? "+ on " : "- on ") + key;
  }
  // Only a class is dragged; a drop onto a variable or into the class's own sub-tree is refused
  // with a message, a drop onto itself ignored, and any other one asked first.
  std::string Suelta(Texts& mensajes) {
    const std::string key = CualquierNodo();
    const std::string destino = Uno(10) == 0 ? "" : CualquierNodo();
    const bool acepta = Uno(10) < 7;
    const bool arrastrable = key != "K0" && !modelo.EsVariable(key);
    const bool alcanza = arrastrable && !destino.empty() && destino != key;
    const bool pregunta = alcanza && !modelo.EsVariable(destino);
    if (alcanza && !pregunta) {
      mensajes.push_back("ERR-ID:7500004");
      ++vistos["drop onto a variable"];
    }
    if (!arrastrable && !destino.empty()) {
      ++vistos["drag of what cannot be dragged"];
    }
    if (pregunta) {
      mensajes.push_back("ERR-ID:7500007");
      session->Answer(acepta ? MsgCode::Ok : MsgCode::Cancel);
      if (acepta && modelo.Debajo(destino, key)) {
        mensajes.push_back("ERR-ID:7500004");
        ++vistos["drop into its own sub-tree"];
      } else if (acepta) {
        modelo.Pasa(key, destino);
        ++vistos["drop"];
      }
    }
    DragOver(key, destino.empty() ? Node() : NodeOf(destino));
    editor.tvVariables.UserDrop(0, 0);
    return "drag " + key + " onto " + (destino.empty() ? "nothing" : destino) +
           (pregunta ? (acepta ? ", OK" : ", Cancel") : "");
  }

  std::mt19937 random{GetParam()};
  Modelo modelo;
  Modelo guardado;                    // the arrangement the store holds
  std::map<std::string, int> vistos;  // how often each case came up
};

TEST_P(MovimientosAleatoriosTest, TheTreeFollowsTheReferenceAfterEveryStep) {
  ASSERT_EQ(Mostrado(), modelo.Lineas()) << "as loaded";
  for (int paso = 0; paso < 300; ++paso) {
    session->ClearMessages();
    Texts mensajes;
    const std::string hecho = Paso(mensajes);
    ASSERT_EQ(session->ErrorIds(), mensajes) << "step " << paso << ": " << hecho;
    ASSERT_TRUE(ui.UnhandledErrors().empty()) << "step " << paso << ": " << hecho;
    ASSERT_EQ(Mostrado(), modelo.Lineas()) << "step " << paso << ": " << hecho;
  }
  for (const char* caso : {"drop", "drop into its own sub-tree", "drop onto a variable",
                           "drag of what cannot be dragged", "save", "reload"}) {
    EXPECT_GT(vistos[caso], 0) << "the steps reach: " << caso;
  }
}

INSTANTIATE_TEST_SUITE_P(Semillas, MovimientosAleatoriosTest, ::testing::Values(1u, 7u, 2026u));

// What the random steps first found: a drop onto the dragged class itself leaves the drag state
// (as any ignored drop does), and a variable's drag, which cannot start, still dropped the variable
// onto that stale target.
struct ArrastreTest : EditorFixture {
  ArrastreTest() {
    AddSmallStore();
    Open();
  }
};

TEST_F(ArrastreTest, ADragThatCannotStartDropsNothingWhateverAnEarlierDragLeft) {
  Drag("K0003", "K0003");
  ASSERT_TRUE(editor.Arrastrando()) << "an ignored drop keeps the drag state";
  const Texts antes = Shape();
  for (const char* arrastrado : {"KIVA", "K0"}) {
    Click(arrastrado);
    editor.tvVariables.UserStartDrag(NodeOf(arrastrado));
    editor.tvVariables.UserDragOver(0, 0);
    editor.tvVariables.UserDrop(0, 0);
    EXPECT_FALSE(editor.Arrastrando()) << arrastrado;
    EXPECT_FALSE(editor.tvVariables.DropHighlight()) << arrastrado;
  }
  EXPECT_TRUE(session->Messages().empty()) << session->Messages()[0].prompt;
  EXPECT_EQ(Shape(), antes);
}

}  // namespace
}  // namespace xel::testing
