#pragma once

#include <string>
#include <vector>

#include "component/HostServices.h"
#include "platform/Forms.h"
#include "platform/MakerControls.h"
#include "platform/StandardControls.h"
#include "platform/TreeView.h"
#include "store/Historial.h"

namespace xel {

// The history window: the changes of one variable, of a class and everything under it, or of the
// whole store, newest first, one line each (date and time, user, what changed: old → new), with a
// filter box and "Restaurar", which brings back what the selected change changed once the user
// agrees. The editor loads it, calls Muestra, and reloads its tree when Restaurado is True.
class frmHistorial : public Form {
 public:
  frmHistorial(FormsRuntime& runtime, Publico& publico);

  // Shows the window modally for a variable (its key), a class (its code) or, with an empty key,
  // the whole store. A store without history is told how to get one, and nothing is shown.
  void Muestra(const std::string& clave, bool esClase);
  // Whether a change was restored while the window was open.
  bool Restaurado = false;

  ToolbarZul Controles{*this, "Controles"};
  LabelZul lblFiltro{*this, "lblFiltro"};
  TextBox txtFiltro{*this, "txtFiltro"};
  TreeView tvCambios{*this, "tvCambios"};
  FlatButton cmdRestaurar{*this, "cmdRestaurar"};
  FlatButton cmdCerrar{*this, "cmdCerrar"};
  ColorScheme colorZUL{*this, "colorZUL"};

 protected:
  void InitializeComponent() override;
  void Form_Load() override;
  void Form_QueryUnload(int& cancel, UnloadMode mode) override;

 private:
  void Lee();
  void Muestra();
  void txtFiltro_KeyDown(int& keyCode, int shift);
  void tvCambios_KeyDown(int& keyCode, int shift);
  void cmdRestaurar_Click();

  Publico& publico_;
  std::string clave_;
  bool esClase_ = false;
  std::vector<EntradaDeHistorial> entradas_;
};

}  // namespace xel
