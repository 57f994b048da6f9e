// Moving nodes: a confirmed drop makes the dragged node a child of the target; "+" and "-" swap
// the selected node with its previous or next sibling. Only the tree changes; the save writes it.

#include <exception>
#include <string>

#include "editor/Nodos.h"
#include "editor/frmXEL02.h"
#include "platform/RuntimeError.h"

namespace xel {

namespace {
// The key a node's copy carries while a key move runs. Every key of the tree begins with "K", so
// it never meets a real one.
std::string ClaveTemporal(const std::string& clave) {
  return "NUEVO" + clave;
}

// A node's image as the control takes it back: 0 is no image at all.
ImageRef Imagen(int numero) {
  return numero == 0 ? ImageRef{} : ImageRef{numero};
}

// Adds a copy of `original` under its temporary key, relative to another node, with its text,
// images, tag and check mark; not its children.
void Duplica(TreeNodes& nodos, const Node& original, const NodeLocator& relativo, int relacion) {
  Node copia = nodos.Add(relativo, relacion, ClaveTemporal(original.Key()), original.Text(),
                         Imagen(original.Image()), Imagen(original.SelectedImage()));
  copia.SetTag(original.Tag());
  copia.SetChecked(original.Checked());
}

// The old node leaves, and its copy takes its key back.
void DevuelveClave(TreeNodes& nodos, const std::string& clave) {
  nodos.Remove(clave);
  nodos.Item(ClaveTemporal(clave)).SetKey(clave);
}

// Nothing of a key move may be refused once it has begun, or the tree would be left half moved:
// every temporary key the moved sub-tree needs must be free before the first copy.
void ExigeClavesTemporalesLibres(const TreeNodes& nodos, const Node& movido) {
  RecorreSubarbol(movido, [&nodos](const Node& nodo) {
    if (nodos.Contains(ClaveTemporal(nodo.Key()))) {
      throw RuntimeError(err::KeyNotUnique, "Key is not unique in collection");
    }
  });
}

// The store keeps entries under classes only, so nothing may be dropped onto a variable.
[[noreturn]] void RechazaDestinoVariable() {
  throw RuntimeError(err::InvalidProcedureCall, "Una variable no puede contener otras entradas");
}
// The root has no parent to leave.
[[noreturn]] void RechazaRaiz() {
  throw RuntimeError(err::InvalidProcedureCall, "La raíz no puede pasar a otro menu");
}
}  // namespace

void frmXEL02::tvVariables_DragDrop(float /*x*/, float /*y*/) {
  Node destino = tvVariables.DropHighlight();
  if (!destino) {
    tvVariables.SetDropHighlight(Node());
    bArrastrando = false;
    return;
  }
  try {
    if (destino.Text() == nodArrastrado.Text()) {
      return;
    }
    if (EsVariable(destino)) {
      RechazaDestinoVariable();
    }
    long respuesta =
        Avisa(publico_, *this, avisos::kConfirmaMovimiento, {nodArrastrado.Text(), destino.Text()});
    if (respuesta == MsgCode::Ok) {
      if (EsRaiz(nodArrastrado)) {
        RechazaRaiz();
      }
      nodArrastrado.SetParent(destino);
      MarcaArregloPendiente(true);
    }
    tvVariables.SetDropHighlight(Node());
    bArrastrando = false;
  } catch (const std::exception& e) {
    Avisa(publico_, *this, avisos::kMovimientoFallido, {e.what()});
  }
}

void frmXEL02::tvVariables_KeyPress(int& keyAscii) {
  if (keyAscii != KeyAscii::Plus && keyAscii != KeyAscii::Minus) {
    return;
  }
  const bool sube = keyAscii == KeyAscii::Plus;
  keyAscii = 0;
  Node movido = tvVariables.SelectedItem();
  if (!movido) {
    return;
  }
  Node vecino = sube ? movido.Previous() : movido.Next();
  if (!vecino) {
    return;  // already first ("+") or last ("-") of its siblings; the root has none
  }
  TreeNodes& nodos = tvVariables.Nodes();
  ExigeClavesTemporalesLibres(nodos, movido);
  const std::string clave = movido.Key();
  Duplica(nodos, movido, vecino.Index(), sube ? tvw::Previous : tvw::Next);
  CopiaHijos(movido, ClaveTemporal(clave));
  nodos.Remove(movido.Index());
  nodos.Item(ClaveTemporal(clave)).SetKey(clave);
  nodos.Item(clave).SetSelected(true);
  MarcaArregloPendiente(true);
}

// Each old child leaves as soon as its copy (with the copy's own sub-tree) stands, and the copy
// takes its key back; the next child is taken before the old one goes.
void frmXEL02::CopiaHijos(const Node& origen, const std::string& destino) {
  Node hijo = origen.Child();
  if (!hijo) {
    return;
  }
  TreeNodes& nodos = tvVariables.Nodes();
  auto copia = [&](const Node& original) {
    Duplica(nodos, original, destino, tvw::Child);
    CopiaHijos(original, ClaveTemporal(original.Key()));
  };
  std::string copiado = hijo.Key();
  copia(hijo);
  while (hijo != hijo.LastSibling()) {
    hijo = hijo.Next();
    DevuelveClave(nodos, copiado);
    copiado = hijo.Key();
    copia(hijo);
  }
  DevuelveClave(nodos, copiado);
}

}  // namespace xel
