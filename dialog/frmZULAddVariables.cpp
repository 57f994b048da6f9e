// The dialog's design, its two modes with their field states, the type list and what a type does
// to the value box, and the ways out that write nothing. The accept is in Aceptar.cpp. The tab
// order follows the layout, top to bottom, so that Enter leads through the fields in the order
// they are read.

#include "dialog/frmZULAddVariables.h"

#include "dialog/DisenoModal.h"
#include "dialog/TiposVariable.h"

namespace xel {

namespace {
constexpr Color kFondo = 0xF5F5F5;
constexpr Color kBlanco = 0xFFFFFF;
constexpr Color kVerde = 65280;
constexpr Color kGrisMenu = 0x80000004;  // the system colour of the menu bar
constexpr Color kTextoBoton = 0x80000012;
const Font kCalibri{"Calibri", 8.25f, false};
const Font kFranklin{"Franklin Gothic Medium", 8.25f, false};
const Font kFixedsys{"Fixedsys", 9.0f, false};

// Rows are labelled at the left, each label's text ending just before its field.
void DisenaEtiqueta(LabelZul& label, float top, const std::string& caption, const std::string& id,
                    const Font& font, Color backColor) {
  label.Move(120, top, 1335, 255);
  label.SetCaption(caption);
  label.SetIdEtiqueta(id);
  label.SetAlignment(LabelAlignment::Right);
  label.SetForeColor(kTextoBoton);
  label.SetFont(font);
  label.SetBackColor(backColor);
}

// A maker's text box as designed: empty, enabled, without limits.
void DisenaCaja(TextBoxZul& box, const Bounds& bounds, int tabIndex) {
  box.SetBounds(bounds);
  box.SetTabIndex(tabIndex);
  box.SetFont(kFixedsys);
  box.SetEnabledColor(kBlanco);
  box.SetDisabledColor(13160660);
  box.SetFocusColor(12648447);
  box.SetText("");
  box.SetMaxLength(0);
  box.SetInputKind(TextEntry::AnyText);
  box.SetEnabled(true);
}

// The boxes that only show where the new row goes: the user neither edits them nor tabs into them.
void DisenaCajaInformativa(TextBoxZul& box, const Bounds& bounds, int tabIndex) {
  DisenaCaja(box, bounds, tabIndex);
  box.SetLocked(true);
  box.SetTabStop(false);
}

void DisenaOpcion(OptionButton& option, float left, float width, const std::string& caption,
                  int tabIndex) {
  option.Move(left, 0, width, 375);
  option.SetCaption(caption);
  option.SetFont(kCalibri);
  option.SetBackColor(kFondo);
  option.SetTabIndex(tabIndex);
}

}  // namespace

frmZULAddVariables::frmZULAddVariables(FormsRuntime& runtime, Publico& publico,
                                       const TextBoxZul& txtIDPrincipal)
    : Form(runtime, "frmZULAddVariables"), publico_(publico), txtIDPrincipal_(txtIDPrincipal) {
  opClaseVariable.Click.Connect([this] { opClaseVariable_Click(); });
  opVariable.Click.Connect([this] { opVariable_Click(); });
  cboTipo.Change.Connect([this] { cboTipo_Change(); });
  cboTipo.KeyPress.Connect([this](int& keyAscii) { PasaConEnter(keyAscii); });
  opClaseVariable.KeyPress.Connect([this](int& keyAscii) { PasaConEnter(keyAscii); });
  opVariable.KeyPress.Connect([this](int& keyAscii) { PasaConEnter(keyAscii); });
  cmdAceptar.Click.Connect([this] { cmdAceptar_Click(); });
  cmdCancelar.Click.Connect([this] { cmdCancelar_Click(); });
  Controles.Exit.Connect([this] { Controles_Exit(); });
}

// Runs at every load, so that each command finds the dialog as designed: class mode selected
// without its Click, the key disabled, the description with the class-mode look.
void frmZULAddVariables::InitializeComponent() {
  SetCaption("");
  SetDesignSize(8835, 6195);

  DisenaBarraModal(Controles, 8835, "Agregar Variable");
  Controles.SetTabIndex(0);

  DisenaEtiqueta(Etiqueta1, 1200, "Hijo de:", "HIJO DE", kCalibri, kFondo);
  DisenaEtiqueta(Etiqueta2, 1560, "Id posición:", "ID POSICION", kFranklin, kVerde);
  DisenaEtiqueta(Etiqueta3, 2040, "Tipo:", "Tipo", kFranklin, kFondo);
  DisenaEtiqueta(Etiqueta4, 2520, "Clave:", "Clave", kFranklin, kVerde);
  DisenaEtiqueta(Etiqueta5, 2880, "Tipo:", "Tipo", kFranklin, kFondo);
  DisenaEtiqueta(Etiqueta6, 3240, "Valor:", "Valor", kFranklin, kVerde);
  DisenaEtiqueta(Etiqueta7, 3600, "Descripción:", "Descripción", kFranklin, kVerde);

  DisenaCajaInformativa(txtPadre, {1560, 1200, 1935, 300}, 1);
  DisenaCajaInformativa(txtNPadre, {3600, 1200, 4695, 300}, 2);
  DisenaCajaInformativa(txtID, {1560, 1560, 1935, 300}, 3);

  Frame1.Move(1560, 2040, 6735, 375);
  Frame1.SetFont(kCalibri);
  Frame1.SetBackColor(kFondo);
  Frame1.SetTabIndex(4);
  Frame1.SetEnabled(true);
  DisenaOpcion(opClaseVariable, 0, 1695, "Clase variable", 5);
  DisenaOpcion(opVariable, 2280, 1335, "Variable", 6);
  opClaseVariable.SetDesignedValue(true);

  DisenaCaja(txtClave, {1560, 2520, 3855, 300}, 7);
  txtClave.SetTabOnEnter(true);
  txtClave.SetEnabled(false);

  cboTipo.Move(1560, 2880, 2175, 300);
  cboTipo.SetTabIndex(8);
  cboTipo.SetTabOnEnter(true);
  cboTipo.SetEstilo(2);
  cboTipo.SetEnabledColor(kBlanco);
  cboTipo.SetEnabled(true);

  DisenaCaja(txtValor, {1560, 3240, 3855, 300}, 9);
  txtValor.SetTabOnEnter(true);

  txtTexto.Move(1560, 3600, 6735, 1335);
  txtTexto.SetTabIndex(10);
  txtTexto.SetBackColor(kGrisMenu);
  txtTexto.SetForeColor(0);
  txtTexto.SetText("");
  txtTexto.SetEnabled(false);

  DisenaBoton(cmdAceptar, 4800, "Aceptar", 11);
  DisenaBoton(cmdCancelar, 6600, "Cancelar", 12);
}

void frmZULAddVariables::Form_Load() {
  colorZUL.ApplyToForm();
  Add = false;
  FechaAlAbrir.reset();
  cboTipo.Clear();
  for (const TipoVariable& tipo : kTiposVariable) {
    cboTipo.AddItem(std::string(tipo.texto));
  }
}

// A modal dialog must not lead to other windows through the strip's menu.
void frmZULAddVariables::Form_Activate() {
  Controles.SetMenuEnabled(false);
}

// Closing from the control box only hides the dialog: the caller still reads it, then unloads it.
void frmZULAddVariables::Form_QueryUnload(int& cancel, UnloadMode mode) {
  if (mode == UnloadMode::FormControlMenu) {
    cancel = 1;
    Cierra();
  }
}

void frmZULAddVariables::opClaseVariable_Click() {
  AplicaModo(false);
}

// The user who picks "Variable" goes on in the key box, its proposed code selected, so that the
// key typed replaces it.
void frmZULAddVariables::opVariable_Click() {
  AplicaModo(true);
  if (Visible() && EsNuevo) {
    txtClave.SetFocus();
  }
}

// A class has only its description to fill in; a variable its key, type, value and description.
void frmZULAddVariables::AplicaModo(bool modoVariable) {
  txtClave.SetEnabled(modoVariable);
  txtValor.SetEnabled(true);
  txtTexto.SetEnabled(modoVariable);
  cboTipo.SetEnabled(modoVariable);
  txtClave.SetMaxLength(modoVariable ? 50 : 15);
  txtTexto.SetBackColor(modoVariable ? kBlanco : kGrisMenu);
}

// A numeric type lets only a number be typed as the value, and "B" only one digit.
void frmZULAddVariables::cboTipo_Change() {
  const std::string tipo = cboTipo.Text();
  if (tipo.empty()) {
    return;
  }
  txtValor.SetMaxLength(0);
  const std::string letra = LetraDeTipo(tipo);
  if (letra == "N") {
    txtValor.SetInputKind(TextEntry::Numeric);
  } else if (letra == "B") {
    txtValor.SetInputKind(TextEntry::Numeric);
    txtValor.SetMaxLength(1);
  } else if (letra == "T") {
    txtValor.SetInputKind(TextEntry::AnyText);
  }
}

void frmZULAddVariables::PasaConEnter(int& keyAscii) {
  if (keyAscii == KeyAscii::Enter) {
    publico_.Utility().EnviarTeclas(std::string(1, '\t'), 0);
  }
}

void frmZULAddVariables::cmdCancelar_Click() {
  Cierra();
}

void frmZULAddVariables::Controles_Exit() {
  Cierra();
}

// Every way out that writes nothing.
void frmZULAddVariables::Cierra() {
  Add = false;
  Hide();
}

}  // namespace xel
