#pragma once

#include <memory>
#include <string>

#include "component/HostServices.h"
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
  LabelZul Label1{frFrame, "Label1"};
  TextBoxZul txtClave{frFrame, "txtClave"};
  LabelZul Label2{frFrame, "Label2"};
  TextBoxZul txtDescripcion{frFrame, "txtDescripcion"};
  LabelZul Label4{frFrame, "Label4"};
  TextBoxZul txtURL{frFrame, "txtURL"};
  ColorScheme colorZUL{*this, "colorZUL"};

 protected:
  void InitializeComponent() override;
  void Form_Load() override;
  void Form_Activate() override;
  void Form_Resize() override;

 private:
  // Tree loading.
  void CargaArbol();
  void CargaSubclases(long indicePadre, const std::string& numeroPadre);
  // Adds the class of the current row under the node at indicePadre and returns its code.
  std::string AgregaClaseDeFila(const Recordset& fila, const NodeLocator& padre);
  void CargaVariables(const std::string& clase);
  void tvVariables_KeyUp(int& keyCode, int shift);

  void Controles_Exit();

  Connection& Conexion() const { return publico_.Session().Conexion(); }
  long Mensaje(const std::string& prompt, long code, const std::string& title,
               const std::string& errorId);

  Publico& publico_;
  std::shared_ptr<ParentObject> padre_;
};

}  // namespace xel
