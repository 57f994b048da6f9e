#pragma once

#include <string>

#include "tests/editor/EditorFixture.h"
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

  // A stored class as "position parent description", or "(none)".
  std::string ClaseGuardada(const std::string& code) {
    auto row = store.Db().Execute(
        "SELECT * FROM XEL_Clase_Variable WHERE Cv_Cve_Clase_Variable = ?", {code});
    if (row->Eof()) {
      return "(none)";
    }
    return row->Field("Cv_Id").Text() + " " + row->Field("Cv_Padre").Text() + " " +
           row->Field("Cv_Descripcion").Text();
  }
  // A stored variable as "class value description type", or "(none)".
  std::string VariableGuardada(const std::string& key) {
    auto row = store.Db().Execute("SELECT * FROM XEL_Configuracion WHERE Cf_Variable = ?", {key});
    if (row->Eof()) {
      return "(none)";
    }
    return row->Field("Cv_Cve_Clase_Variable").Text() + " " + row->Field("Cf_Valor").Text() + " " +
           row->Field("Cf_Descripcion").Text() + " " + row->Field("Cf_Tipo").Text();
  }
  // What the store itself answers when it refuses a statement sent again: the words the user must
  // have been shown, whatever the server.
  std::string NegativaDelStore(const std::string& sentencia) {
    return FailureOf([&] { store.Db().Execute(sentencia); }).Description();
  }
  long Filas(const std::string& table) {
    auto count = store.Db().Execute("SELECT COUNT(*) AS n FROM " + table);
    return count->Field("n").AsLong();
  }
};

}  // namespace xel::testing
