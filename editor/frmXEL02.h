#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <unordered_map>
#include <vector>

#include "component/Avisos.h"
#include "component/HostServices.h"
#include "dialog/frmZULAddVariables.h"
#include "editor/EstructuraDeClases.h"
#include "editor/FilasDelArbol.h"
#include "editor/Nodos.h"
#include "editor/VistaDelArbol.h"
#include "editor/frmHistorial.h"
#include "platform/Forms.h"
#include "platform/MakerControls.h"
#include "platform/StandardControls.h"
#include "platform/TreeView.h"

namespace xel {

// The editor window: the whole store as one tree under RAIZ, the details of the selected node,
// and the commands that change classes and variables.
class frmXEL02 : public Form {
 public:
  frmXEL02(FormsRuntime& runtime, Publico& publico);

  // --- What the host uses ---
  const std::shared_ptr<ParentObject>& Padre() const { return padre_; }
  void SetPadre(std::shared_ptr<ParentObject> padre) { padre_ = std::move(padre); }
  // The parent's transaction, as the host's utility service words it.
  std::string Transaccion();
  // The value of one named argument of the hosting process's command line.
  std::string cmdValor(const std::string& Argumento);
  // Where cmdValor reads the command line; the process's own by default.
  void SetLineaDeComandos(std::function<std::string()> lectora) {
    lineaDeComandos_ = std::move(lectora);
  }
  // How the tree is read from the store: one query per class unless the host asks otherwise.
  void SetModoDeCarga(ModoDeCarga modo) { modoDeCarga_ = modo; }
  // The proposed next code of a numeric column: its largest numeric value plus 1, among the rows
  // that pass up to three column = value filters; 0 when anything fails.
  long Get_AutoClave(const std::string& Tabla, const std::string& sCampoBusqueda,
                     const std::string& sKey1 = "", const std::string& sValor1 = "",
                     const std::string& sKey2 = "", const std::string& sValor2 = "",
                     const std::string& sKey3 = "", const std::string& sValor3 = "");

  // --- Controls ---
  ImageList ilIconos;
  ToolbarZul Controles{*this, "Controles"};
  TreeView tvVariables{*this, "tvVariables"};
  Frame frFrame{*this, "frFrame"};
  LabelZul Label3{frFrame, "Label3"};
  TextBoxZul txtID{frFrame, "txtID"};
  FlatButton cmdGrabar{frFrame, "cmdGrabar"};
  // Beside "Grabar": the history of the selected node (Ctrl+H).
  FlatButton cmdHistorial{frFrame, "cmdHistorial"};
  LabelZul Label1{frFrame, "Label1"};
  TextBoxZul txtClave{frFrame, "txtClave"};
  LabelZul Label2{frFrame, "Label2"};
  TextBoxZul txtDescripcion{frFrame, "txtDescripcion"};
  LabelZul Label4{frFrame, "Label4"};
  TextBoxZul txtURL{frFrame, "txtURL"};
  ColorScheme colorZUL{*this, "colorZUL"};
  // The find bar under the tree, shown only while the user searches.
  LabelZul lblBuscar{*this, "lblBuscar"};
  TextBox txtBuscar{*this, "txtBuscar"};
  LabelZul lblResultado{*this, "lblResultado"};

  // The dialog that adds and changes classes and variables; one instance for the window.
  frmZULAddVariables& Dialogo() { return dialogo_; }
  // The history window; one instance for the window.
  frmHistorial& VentanaHistorial() { return historial_; }

  // Drag state: a node drag over the tree is under way, and the node it moves.
  bool Arrastrando() const { return bArrastrando; }
  const Node& NodoArrastrado() const { return nodArrastrado; }

  // Finding (Ctrl+F, F3, Shift+F3), Ctrl+S and Ctrl+Shift+C work wherever the focus is in the
  // window.
  std::vector<KeyChord> WindowKeys() const override;

 protected:
  void InitializeComponent() override;
  void Form_Load() override;
  void Form_Activate() override;
  void Form_Resize() override;
  void Form_QueryUnload(int& cancel, UnloadMode mode) override;
  void Form_WindowKey(const KeyChord& tecla) override;

 private:
  // Tree loading.
  void CargaArbol();
  std::unique_ptr<FilasDelArbol> FilasDeLaCarga();
  void CargaSubclases(FilasDelArbol& filas, long indicePadre, const std::string& numeroPadre);
  // Adds the class of the current row under the node at indicePadre and returns its code.
  std::string AgregaClaseDeFila(const Recordset& fila, const NodeLocator& padre);
  void CargaVariables(FilasDelArbol& filas, const std::string& clase);
  // Adds a node of the store's rows; a key the tree already holds is told with both entries named.
  void AgregaNodoDeFila(const NodeLocator& padre, TipoDeNodo tipo, const std::string& codigo,
                        const std::string& texto);
  // Opens again what was open before a load and selects the node selected before, or its nearest
  // ancestor the load kept, with its details shown.
  void RestauraVista(const VistaDelArbol& vista);
  void tvVariables_KeyUp(int& keyCode, int shift);

  // Selection, detail pane and drag state.
  void tvVariables_NodeClick(const Node& nodo);
  void tvVariables_Expand(const Node& nodo);
  void tvVariables_Collapse(const Node& nodo);
  void tvVariables_MouseDown(int button, int shift, float x, float y);
  void tvVariables_StartDrag(const Node& nodo);
  void tvVariables_DragOver(float x, float y, int state);

  // The toolbar's commands.
  void Controles_Add();
  void AgregaNodo(const std::string& codigo, const std::string& texto, TipoDeNodo tipo,
                  const std::string& clavePadre);
  void Controles_Edit();
  std::string IndiceTipo(const std::string& tipo) const;
  void Controles_Delete();
  void Controles_Exit();

  // Moving nodes.
  void tvVariables_DragDrop(float x, float y);
  void tvVariables_KeyPress(int& keyAscii);
  void CopiaHijos(const Node& origen, const std::string& destino);

  // Check marks.
  void tvVariables_NodeCheck(const Node& nodo);
  void MarcaHijos(const Node& nodo);
  void DesmarcaHijos(const Node& nodo);

  void LeeSiHayHistorial();
  // Opens the history window on the selected node, and reloads the tree after a restore.
  void AbreHistorial();

  // Saving the tree order.
  void cmdGrabar_Click();
  std::optional<EstructuraDeClases> EstructuraAcordada();

  // An arrangement of the classes not saved yet: the window's title and "Grabar" show it, and
  // leaving or reloading asks first.
  void MarcaArregloPendiente(bool pendiente);
  enum class Pendiente { Ninguno, Grabado, Descartado, Cancelado };
  Pendiente ResuelvePendiente(const std::string& antesDe);
  // The caption, followed by the store the window shows.
  std::string TituloConAlmacen() const;

  // Finding nodes and copying a node's path.
  void tvVariables_KeyDown(int& keyCode, int shift);
  void txtBuscar_KeyDown(int& keyCode, int shift);
  void AbreBusqueda();
  void CierraBusqueda();
  void Busca(bool haciaAdelante);
  void CopiaRuta();

  Connection& Conexion() const { return publico_.Session().Conexion(); }

  Publico& publico_;
  std::shared_ptr<ParentObject> padre_;
  bool bArrastrando = false;
  Node nodArrastrado;
  std::function<std::string()> lineaDeComandos_;
  frmZULAddVariables dialogo_;
  frmHistorial historial_;
  ModoDeCarga modoDeCarga_ = ModoDeCarga::PorClase;
  bool arbolCompleto_ = false;  // the last load showed the whole store
  // Where the classes stood when the tree was loaded, kept up with the window's own writes.
  EstructuraDeClases estructuraCargada_;
};

}  // namespace xel
