// Finding nodes: Ctrl+F opens the find bar under the tree; Enter or F3 selects the next node whose
// key, description or value holds the text, Shift+F3 the previous one, in the order the tree lists
// them and going round at either end; Escape closes the bar. The store answers each search with one
// query, so that values never have to be loaded into the tree. Ctrl+Shift+C copies the path of the
// selected node.

#include <exception>
#include <string>
#include <unordered_set>
#include <vector>

#include "editor/Nodos.h"
#include "editor/frmXEL02.h"
#include "platform/SearchText.h"
#include "store/Hallazgos.h"

namespace xel {

namespace {
enum class Sentido { Adelante, Atras };

// The node after this one in the order the expanded tree lists them; nothing after the last.
Node Siguiente(Node nodo) {
  if (Node hijo = nodo.Child()) {
    return hijo;
  }
  for (; nodo; nodo = nodo.Parent()) {
    if (Node hermano = nodo.Next()) {
      return hermano;
    }
  }
  return Node();
}

// The last node of a sub-tree in that order.
Node UltimoDe(Node nodo) {
  while (Node hijo = nodo.Child()) {
    nodo = hijo.LastSibling();
  }
  return nodo;
}

// The node before this one in that order; nothing before the first.
Node Anterior(const Node& nodo) {
  if (Node hermano = nodo.Previous()) {
    return UltimoDe(hermano);
  }
  return nodo.Parent();
}

// The first node after `desde` in the given direction that `acepta` takes, going round at the end;
// `desde` itself is tried last. With nothing to start from, the walk starts at the end the
// direction leaves from. Each node is tried once at most.
template <class Acepta>
Node Proximo(const TreeNodes& nodos, const Node& desde, Sentido sentido, Acepta&& acepta) {
  if (nodos.Count() == 0) {
    return Node();
  }
  const bool adelante = sentido == Sentido::Adelante;
  const Node primero = nodos.FirstRoot();
  const Node extremo = adelante ? primero : UltimoDe(primero.LastSibling());
  auto paso = [&](const Node& nodo) {
    Node otro = adelante ? Siguiente(nodo) : Anterior(nodo);
    return otro ? otro : extremo;
  };
  Node nodo = desde ? paso(desde) : extremo;
  for (long probados = 0; probados < nodos.Count(); ++probados, nodo = paso(nodo)) {
    if (acepta(nodo)) {
      return nodo;
    }
  }
  return Node();
}

void MuestraBarra(LabelZul& etiqueta, TextBox& texto, LabelZul& estado, bool abierta) {
  etiqueta.SetVisible(abierta);
  texto.SetVisible(abierta);
  estado.SetVisible(abierta);
}

// The texts of the nodes from the root down to this one, joined by "/".
std::string RutaDe(Node nodo) {
  std::vector<std::string> textos;
  for (; nodo; nodo = nodo.Parent()) {
    textos.push_back(nodo.Text());
  }
  std::string ruta = textos.back();
  for (auto texto = textos.rbegin() + 1; texto != textos.rend(); ++texto) {
    ruta += "/" + *texto;
  }
  return ruta;
}
}  // namespace

void frmXEL02::txtBuscar_KeyDown(int& keyCode, int shift) {
  if (keyCode == KeyCode::Enter && shift == 0) {
    Busca(true);
  } else if (keyCode == KeyCode::Escape && shift == 0) {
    CierraBusqueda();
  } else {
    return;
  }
  keyCode = 0;
}

void frmXEL02::AbreBusqueda() {
  if (!txtBuscar.Visible()) {
    MuestraBarra(lblBuscar, txtBuscar, lblResultado, true);
    Form_Resize();
  }
  // The last search is selected, so that typing starts a new one and Enter repeats it.
  txtBuscar.SetFocus();
  txtBuscar.SelectAll();
}

void frmXEL02::CierraBusqueda() {
  MuestraBarra(lblBuscar, txtBuscar, lblResultado, false);
  lblResultado.SetCaption("");
  Form_Resize();
  tvVariables.SetFocus();
}

// Without a text to find, the bar opens to take one. A match is selected as a click selects it,
// after its classes have been expanded; when there is none the bar says so and the selection
// stays, the bar opening if F3 came from the tree.
void frmXEL02::Busca(bool haciaAdelante) {
  const std::string texto = txtBuscar.Text();
  if (texto.empty()) {
    AbreBusqueda();
    return;
  }
  std::unordered_set<std::string> claves;
  try {
    const BusyPointer ocupado(Runtime());
    claves = ClavesHalladas(Conexion(), texto);
  } catch (const std::exception& e) {
    if (ContainsFolded(e.what(), kSearchFunction)) {
      Avisa(publico_, *this, avisos::kSinFuncionDeBusqueda, {kSearchFunction});
    } else {
      Avisa(publico_, *this, avisos::kBusquedaFallida, {e.what()});
    }
    return;
  }
  // The root stands for no row of the store, whatever its key.
  Node hallado = Proximo(tvVariables.Nodes(), tvVariables.SelectedItem(),
                         haciaAdelante ? Sentido::Adelante : Sentido::Atras, [&](const Node& nodo) {
                           return !EsRaiz(nodo) && claves.contains(CodigoDeClave(nodo.Key()));
                         });
  if (!hallado) {
    AbreBusqueda();
    lblResultado.SetCaption("Sin coincidencias");
    return;
  }
  lblResultado.SetCaption("");
  hallado.EnsureVisible();
  tvVariables.SetSelectedItem(hallado);
  tvVariables_NodeClick(hallado);
}

void frmXEL02::CopiaRuta() {
  if (Node seleccionado = tvVariables.SelectedItem()) {
    Runtime().Ui().CopyToClipboard(RutaDe(seleccionado));
  }
}

}  // namespace xel
