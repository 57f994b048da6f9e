// The toolbar's add, edit and delete commands. Add and edit open the dialog, which checks and
// writes; the commands only bring the tree and the detail pane in step with what it wrote. Delete
// writes itself, in one transaction.

#include <algorithm>
#include <exception>
#include <functional>
#include <utility>
#include <vector>

#include "dialog/RegistroGuardado.h"
#include "dialog/TiposVariable.h"
#include "editor/Nodos.h"
#include "editor/frmXEL02.h"
#include "store/Sql.h"
#include "store/Statements.h"

namespace xel {

namespace {
// One use of the dialog. Whatever happens in it, the dialog is unloaded, the toolbar comes back to
// rest and the tree has the focus again, so that the next command finds the dialog as designed.
void UsaDialogo(frmXEL02& editor, const std::function<void(frmZULAddVariables&)>& uso) {
  frmZULAddVariables& dialogo = editor.Dialogo();
  auto termina = [&] {
    dialogo.Unload();
    editor.Controles.Reset();
    editor.tvVariables.SetFocus();
  };
  dialogo.Load();
  try {
    uso(dialogo);
  } catch (const std::exception&) {
    termina();
    throw;
  }
  termina();
}

// How many levels a node lies below the top of its sub-tree.
long Profundidad(Node nodo, const Node& tope) {
  long niveles = 0;
  for (; nodo != tope; nodo = nodo.Parent()) {
    ++niveles;
  }
  return niveles;
}

// A class of a sub-tree being deleted, with its parent class's code (empty under the root).
struct ClaseBorrada {
  long profundidad;
  std::string codigo;
  std::string padre;
};

// The classes of a sub-tree, deepest first, so that each comes after every class below it.
std::vector<ClaseBorrada> ClasesDeSubarbol(const Node& tope) {
  std::vector<ClaseBorrada> clases;  // in tree order
  RecorreSubarbol(tope, [&](const Node& nodo) {
    if (!EsVariable(nodo)) {
      const Node padre = nodo.Parent();
      clases.push_back({Profundidad(nodo, tope), nodo.Tag(), EsRaiz(padre) ? "" : padre.Tag()});
    }
  });
  std::ranges::stable_sort(clases, std::greater<>(), &ClaseBorrada::profundidad);
  return clases;
}

// A class in change mode: its code, and its description and position as stored. A class no longer
// stored shows the description the tree shows.
void MuestraClase(frmZULAddVariables& dialogo, const RegistroGuardado& guardado,
                  const std::string& clave, const std::string& descripcion) {
  dialogo.opClaseVariable.SetValue(true);
  dialogo.txtClave.SetText(clave);
  dialogo.txtValor.SetText(guardado.existe ? guardado.valor : descripcion);
  dialogo.txtID.SetText(guardado.id);
}

// A variable in change mode: its key, and its value and description as stored. A variable no
// longer stored shows the value the pane shows. Returns its stored type.
std::string MuestraVariable(frmZULAddVariables& dialogo, const RegistroGuardado& guardado,
                            const std::string& clave, const std::string& valor) {
  dialogo.opVariable.SetValue(true);
  dialogo.txtTexto.SetEnabled(true);
  dialogo.cboTipo.SetEnabled(true);
  dialogo.txtTexto.SetBackColor(0xFFFFFF);
  dialogo.txtClave.SetText(clave);
  dialogo.txtValor.SetText(guardado.existe ? guardado.valor : valor);
  dialogo.txtTexto.SetText(guardado.descripcion);
  return guardado.tipo;
}

// Selects the type's list entry. An unknown type selects none: the user picks one before the
// dialog accepts.
void SeleccionaTipo(frmZULAddVariables& dialogo, const std::string& indice) {
  dialogo.cboTipo.SetListIndex(indice.empty() ? -1 : std::stoi(indice));
  if (dialogo.cboTipo.ListIndex() == 1) {
    dialogo.txtValor.SetMaxLength(1);
  }
}
}  // namespace

void frmXEL02::Controles_Add() {
  Node seleccionado = tvVariables.SelectedItem();
  if (!seleccionado || EsVariable(seleccionado)) {
    Controles.Reset();
    return;
  }
  const std::string clavePadre = seleccionado.Key();
  UsaDialogo(*this, [&](frmZULAddVariables& dialogo) {
    dialogo.EsNuevo = true;
    dialogo.cboTipo.SetEnabled(false);
    dialogo.txtPadre.SetText(seleccionado.Tag());
    dialogo.txtNPadre.SetText(seleccionado.Text());
    dialogo.txtID.SetText(Format0000(Get_AutoClave(sql::XEL_Clase_Variable, sql::Cv_id)));
    dialogo.txtClave.SetText(
        Format0000(Get_AutoClave(sql::XEL_Clase_Variable, sql::Cv_Cve_Clase_Variable)));
    dialogo.Show(true);
    if (!dialogo.Add) {
      return;
    }
    const bool esClase = dialogo.opClaseVariable.Value();
    const std::string& codigo = dialogo.txtClave.Text();
    if (esClase) {  // the window's own class is no news to its save
      estructuraCargada_[codigo] = {dialogo.txtID.Text(), dialogo.PadreDeClaseNueva()};
    }
    // The row is written; a node with its key would be a second one the tree cannot hold.
    if (tvVariables.Nodes().Contains(ClaveDeNodo(codigo))) {
      Avisa(publico_, *this,
            esClase ? avisos::kClaseRepetidaEnArbol : avisos::kVariableRepetidaEnArbol, {codigo});
      return;
    }
    const BusyPointer ocupado(Runtime());
    AgregaNodo(codigo, esClase ? dialogo.txtValor.Text() : codigo,
               esClase ? TipoDeNodo::Clase : TipoDeNodo::Variable, clavePadre);
  });
}

// A variable's own history, a class's with everything under it, the root's the whole store's.
void frmXEL02::AbreHistorial() {
  const Node seleccionado = tvVariables.SelectedItem();
  const bool raiz = !seleccionado || EsRaiz(seleccionado);
  historial_.Muestra(raiz ? "" : seleccionado.Tag(), !raiz && EsClase(seleccionado));
  const bool restaurado = historial_.Restaurado;
  historial_.Unload();
  tvVariables.SetFocus();
  if (restaurado) {
    CargaArbol();
  }
}

void frmXEL02::AgregaNodo(const std::string& codigo, const std::string& texto, TipoDeNodo tipo,
                          const std::string& clavePadre) {
  const std::string padre = clavePadre.empty() ? kClaveRaiz : clavePadre;
  AgregaEntrada(tvVariables.Nodes(), padre, tipo, codigo, texto).EnsureVisible();
}

void frmXEL02::Controles_Edit() {
  Node seleccionado = tvVariables.SelectedItem();
  if (!seleccionado || EsRaiz(seleccionado)) {
    Controles.Reset();
    return;
  }
  const bool esVariable = EsVariable(seleccionado);
  UsaDialogo(*this, [&](frmZULAddVariables& dialogo) {
    dialogo.EsNuevo = false;
    dialogo.Frame1.SetEnabled(false);
    dialogo.txtPadre.SetText(seleccionado.Parent().Tag());
    dialogo.txtNPadre.SetText(seleccionado.Parent().Text());
    dialogo.cboTipo.SetEnabled(false);
    dialogo.txtValor.SetMaxLength(0);
    // The record's key is the one the pane shows for the selected node. The dialog shows the
    // record as stored now and keeps its stamp, so that it notices writes of others from here on.
    const std::string& clave = txtClave.Text();
    const RegistroGuardado guardado = LeeRegistro(Conexion(), !esVariable, clave);
    dialogo.FechaAlAbrir = guardado.fecha;
    if (esVariable) {
      const std::string tipo = MuestraVariable(dialogo, guardado, clave, txtDescripcion.Text());
      SeleccionaTipo(dialogo, IndiceTipo(tipo));
    } else {
      MuestraClase(dialogo, guardado, clave, seleccionado.Text());
    }
    dialogo.txtClave.SetEnabled(false);
    dialogo.Show(true);
    if (!dialogo.Add) {
      return;
    }
    const BusyPointer ocupado(Runtime());
    seleccionado.SetText(esVariable ? dialogo.txtClave.Text() : dialogo.txtValor.Text());
    txtDescripcion.SetText(dialogo.txtValor.Text());
  });
}

std::string frmXEL02::IndiceTipo(const std::string& tipo) const {
  return IndiceDeLetra(tipo);
}

void frmXEL02::Controles_Delete() {
  Node seleccionado = tvVariables.SelectedItem();
  if (!seleccionado || EsRaiz(seleccionado)) {
    return;
  }
  const bool esVariable = EsVariable(seleccionado);
  if (!esVariable &&
      Avisa(publico_, *this, avisos::kConfirmaBorrado, {seleccionado.Text()}) != MsgCode::Ok) {
    return;
  }
  try {
    // What the tree removes leaves the store too: no sub-class is left behind unreachable. Each
    // row removed is one history entry.
    const std::vector<ClaseBorrada> clases =
        esVariable ? std::vector<ClaseBorrada>() : ClasesDeSubarbol(seleccionado);
    Historial historial = HistorialDeSesion(publico_);
    RunInTransaction(Conexion(), [&] {
      if (esVariable) {
        historial.BorraVariable(seleccionado.Tag());
      }
      for (const ClaseBorrada& clase : clases) {
        historial.BorraVariablesDeClase(clase.codigo);
        historial.BorraClase(clase.codigo, clase.padre);
      }
    });
    tvVariables.Nodes().Remove(seleccionado.Index());
    for (const ClaseBorrada& clase : clases) {
      estructuraCargada_.erase(clase.codigo);
    }
  } catch (const std::exception& e) {
    Avisa(publico_, *this, avisos::kBorradoFallido, {DescribeEntrada(seleccionado), e.what()});
  }
}

}  // namespace xel
