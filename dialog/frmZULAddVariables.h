#pragma once

#include <optional>
#include <string>

#include "component/HostServices.h"
#include "dialog/RegistroGuardado.h"
#include "platform/Forms.h"
#include "platform/MakerControls.h"
#include "platform/StandardControls.h"

namespace xel {

struct Aviso;

// The modal dialog that adds or changes one class or one variable. The caller loads it, sets
// EsNuevo and the fields, shows it modally, reads Add and the fields once it is hidden, and
// unloads it.
class frmZULAddVariables : public Form {
 public:
  // txtIDPrincipal is the editor window's txtID: the parent position a new class is stored with.
  frmZULAddVariables(FormsRuntime& runtime, Publico& publico, const TextBoxZul& txtIDPrincipal);

  // True: accept inserts a new row; False: it updates the row whose key is in txtClave.
  bool EsNuevo = false;
  // The result: True only after accept has written and committed.
  bool Add = false;
  // For a change: the record's stored Fecha_Ult_Modif when the caller read what the dialog shows
  // (NULL as the empty text). Accept asks before overwriting a record stamped otherwise since, and
  // writes only while the stamp is still the one it expects. None: the caller showed no stored
  // record, and a change overwrites whatever is stored.
  std::optional<std::string> FechaAlAbrir;

  // The parent link a new class is stored with.
  std::string PadreDeClaseNueva() const;

  ToolbarZul Controles{*this, "Controles"};
  LabelZul Etiqueta1{*this, "Etiqueta1"};
  TextBoxZul txtPadre{*this, "txtPadre"};
  TextBoxZul txtNPadre{*this, "txtNPadre"};
  LabelZul Etiqueta2{*this, "Etiqueta2"};
  TextBoxZul txtID{*this, "txtID"};
  LabelZul Etiqueta3{*this, "Etiqueta3"};
  Frame Frame1{*this, "Frame1"};
  OptionButton opClaseVariable{Frame1, "opClaseVariable"};
  OptionButton opVariable{Frame1, "opVariable"};
  LabelZul Etiqueta4{*this, "Etiqueta4"};
  TextBoxZul txtClave{*this, "txtClave"};
  LabelZul Etiqueta5{*this, "Etiqueta5"};
  ComboZul cboTipo{*this, "cboTipo"};
  LabelZul Etiqueta6{*this, "Etiqueta6"};
  TextBoxZul txtValor{*this, "txtValor"};
  LabelZul Etiqueta7{*this, "Etiqueta7"};
  TextBox txtTexto{*this, "txtTexto"};
  FlatButton cmdAceptar{*this, "cmdAceptar"};
  FlatButton cmdCancelar{*this, "cmdCancelar"};
  ColorScheme colorZUL{*this, "colorZUL"};

 protected:
  void InitializeComponent() override;
  void Form_Load() override;
  void Form_Activate() override;
  void Form_QueryUnload(int& cancel, UnloadMode mode) override;

 private:
  // Field states of the two modes.
  void opClaseVariable_Click();
  void opVariable_Click();
  void AplicaModo(bool modoVariable);
  void cboTipo_Change();
  // Enter in the type list or on an option moves on to the next field, as TAB does.
  void PasaConEnter(int& keyAscii);
  void cmdCancelar_Click();
  void Controles_Exit();
  void Cierra();

  // The accept: the checks of the mode, then one write in a transaction.
  void cmdAceptar_Click();
  bool CamposCorrectos();
  bool ClaveExistente();
  void Graba();
  std::string Sentencia(const std::string& letraTipo) const;
  bool AceptaSobrescribir();
  std::optional<RegistroGuardado> CambioAjeno(const RegistroGuardado& guardado) const;
  EntradaDeHistorial EntradaParaHistorial(const RegistroGuardado& antes,
                                          const std::string& letraTipo) const;
  std::string AvisoDeCambio(const RegistroGuardado& guardado, const std::string& cuando) const;

  // Shows the refusal, moves the focus to the field named (none: the focus stays) and says no.
  bool Rechaza(const Aviso& aviso, Control* foco);

  Publico& publico_;
  const TextBoxZul& txtIDPrincipal_;
};

}  // namespace xel
