#pragma once

#include <string>

#include "tests/support/EditorFixture.h"
#include "tests/support/FailureOf.h"

namespace xel::testing {

// The editor with its dialog, driven as a person does, and the rows the dialog writes as stored.
struct DialogoFixture : EditorFixture {
  using EditorFixture::EditorFixture;

  // Accepts; when the dialog refuses and stays open, the user gives up with Cancelar.
  static void AceptaOCancela(frmZULAddVariables& dialogo) {
    dialogo.cmdAceptar.PerformClick();
    if (dialogo.Visible()) {
      dialogo.cmdCancelar.PerformClick();
    }
  }
  // Switches to variable mode and fills it in; tipo is the list entry, -1 for none.
  static void LlenaVariable(frmZULAddVariables& dialogo, const std::string& clave, int tipo,
                            const std::string& valor, const std::string& descripcion = "") {
    dialogo.opVariable.UserClick();
    dialogo.txtClave.SetText(clave);
    if (tipo >= 0) {
      dialogo.cboTipo.UserSelect(tipo);
    }
    dialogo.txtValor.SetText(valor);
    dialogo.txtTexto.SetText(descripcion);
  }

  // A stored class as "position parent description", a stored variable as "class value
  // description type", or "(none)".
  std::string ClaseGuardada(const std::string& code) {
    return Guardada("XEL_Clase_Variable WHERE Cv_Cve_Clase_Variable", code,
                    {"Cv_Id", "Cv_Padre", "Cv_Descripcion"});
  }
  std::string VariableGuardada(const std::string& key) {
    return Guardada("XEL_Configuracion WHERE Cf_Variable", key,
                    {"Cv_Cve_Clase_Variable", "Cf_Valor", "Cf_Descripcion", "Cf_Tipo"});
  }
  std::string Guardada(const std::string& where, const std::string& key,
                       std::initializer_list<const char*> columns) {
    auto row = store.Db().Execute("SELECT * FROM " + where + " = ?", {key});
    std::string text = row->Eof() ? "(none)" : "";
    for (const char* column : columns) {
      text += row->Eof() ? "" : (text.empty() ? "" : " ") + row->Field(column).Text();
    }
    return text;
  }
  long Filas(const std::string& table) {
    return store.Db().Execute("SELECT COUNT(*) AS n FROM " + table)->Field("n").AsLong();
  }
};

}  // namespace xel::testing
