// The accept: the fields of the mode are checked in a fixed order, stopping at the first refusal;
// then exactly one row is inserted or changed, in a transaction on the host's connection.

#include <exception>
#include <optional>

#include "component/Avisos.h"
#include "dialog/TiposVariable.h"
#include "dialog/frmZULAddVariables.h"
#include "platform/Numeric.h"
#include "store/Sql.h"
#include "store/Statements.h"

namespace xel {

using namespace avisos;

void frmZULAddVariables::cmdAceptar_Click() {
  try {
    if (!CamposCorrectos() || ClaveExistente()) {
      return;
    }
    Graba();
  } catch (const std::exception& e) {
    // A failing look-up or write: the dialog stays open for another try.
    Avisa(publico_, *this, kAceptacionFallida, {e.what()});
  }
}

bool frmZULAddVariables::CamposCorrectos() {
  if (opVariable.Value() && cboTipo.Text().empty()) {
    return Rechaza(kSinTipo, cboTipo.Enabled() ? &cboTipo : nullptr);
  }
  const bool modoClase = opClaseVariable.Value();
  txtClave.SetText(std::string(TrimBlanks(txtClave.Text())));
  if (txtClave.Text().empty()) {
    return Rechaza(kSinClave, &txtClave);
  }
  if (modoClase) {
    if (TrimBlanks(txtValor.Text()).empty()) {
      return Rechaza(kSinValor, &txtValor);
    }
    return true;
  }
  if (txtPadre.Text().empty()) {
    return Rechaza(kSinPadre, nullptr);
  }
  // A variable key is never a number, so it never meets a class code in the tree's keys.
  if (ReadsAsNumber(txtClave.Text())) {
    return Rechaza(kClaveNumerica, nullptr);
  }
  if (cboTipo.Text().empty()) {
    return Rechaza(kTipoVacio, &txtClave);
  }
  return true;
}

// A new key must not be in the store yet; a change needs no such check.
bool frmZULAddVariables::ClaveExistente() {
  if (!EsNuevo) {
    return false;
  }
  UtilityService& utilidades = publico_.Utility();
  const bool modoClase = opClaseVariable.Value();
  const std::string encontrado =
      modoClase ? utilidades.BuscarCampo(sql::XEL_Clase_Variable, sql::Cv_Cve_Clase_Variable,
                                         txtClave.Text(), sql::Cv_Descripcion, 0, "", "", "")
                : utilidades.BuscarCampo(sql::XEL_Configuracion, sql::Cf_Variable, txtClave.Text(),
                                         sql::Cf_Variable, 0, "", "", "");
  if (encontrado.empty()) {
    return false;
  }
  Rechaza(modoClase ? kClaseExistente : kVariableExistente, nullptr);
  return true;
}

// A change of a record the caller read watches its stamp: once before the transaction, where the
// user may be asked and no transaction waits on the answer, and once more inside it, on the row
// locked, so that no other write lands between that check and the write. The write's history
// entry goes in the same transaction.
void frmZULAddVariables::Graba() {
  const bool vigilaFecha = !EsNuevo && FechaAlAbrir.has_value();
  if (vigilaFecha && !AceptaSobrescribir()) {
    return;
  }
  const std::string letraTipo = LetraDeTipo(cboTipo.Text());
  Historial historial = HistorialDeSesion(publico_);
  Connection& conexion = publico_.Session().Conexion();
  RunInTransaction(conexion, [&] {
    RegistroGuardado antes;
    if (!EsNuevo && (vigilaFecha || historial.Presente())) {
      antes = LeeRegistro(conexion, opClaseVariable.Value(), txtClave.Text(), true);
    }
    if (const auto cambio = vigilaFecha ? CambioAjeno(antes) : std::nullopt) {
      throw RuntimeError(err::DatabaseError,
                         AvisoDeCambio(*cambio, "mientras se grababa") +
                             " No se grabó el cambio; pulse Aceptar de nuevo para decidir si lo "
                             "sobrescribe.");
    }
    publico_.sSQL.clear();
    publico_.sSQL += Sentencia(letraTipo);
    conexion.Execute(publico_.sSQL, -1);
    // A change that reaches no row changed nothing: someone else removed the record meanwhile.
    if (!EsNuevo && conexion.RecordsAffected() == 0) {
      throw RuntimeError(err::NoCurrentRecord, "El registro " + txtClave.Text() +
                                                   " ya no existe; otro usuario pudo haberlo "
                                                   "eliminado. Pulse F5 para recargar el árbol.");
    }
    historial.Registra(EntradaParaHistorial(antes, letraTipo));
  });
  Add = true;
  Hide();
}

// What the history keeps of the write: the row as it was (read locked) and as it is written.
EntradaDeHistorial frmZULAddVariables::EntradaParaHistorial(const RegistroGuardado& antes,
                                                            const std::string& letraTipo) const {
  const std::string& clave = txtClave.Text();
  EntradaDeHistorial entrada{.accion = EsNuevo ? Accion::Alta : Accion::Cambio, .clave = clave};
  if (opClaseVariable.Value()) {
    entrada.entidad = Entidad::Clase;
    entrada.clase = clave;
    entrada.clasePadre = txtPadre.Text();
    entrada.despues = EstadoDeFila{.descripcion = txtValor.Text(),
                                   .padre = EsNuevo ? PadreDeClaseNueva() : antes.padre,
                                   .posicion = EsNuevo ? txtID.Text() : antes.id};
    if (!EsNuevo) {
      entrada.antes =
          EstadoDeFila{.descripcion = antes.valor, .padre = antes.padre, .posicion = antes.id};
    }
    return entrada;
  }
  entrada.entidad = Entidad::Variable;
  entrada.clase = EsNuevo ? txtPadre.Text() : antes.clase;
  entrada.despues = EstadoDeFila{txtValor.Text(), txtTexto.Text(), letraTipo};
  if (!EsNuevo) {
    entrada.antes = EstadoDeFila{antes.valor, antes.descripcion, antes.tipo};
  }
  return entrada;
}

// Another user's write since the dialog opened is shown before it is overwritten; the stamp the
// user agrees to overwrite is, from then on, the one the write expects.
bool frmZULAddVariables::AceptaSobrescribir() {
  const std::optional<RegistroGuardado> cambio = CambioAjeno(
      LeeRegistro(publico_.Session().Conexion(), opClaseVariable.Value(), txtClave.Text()));
  if (!cambio) {
    return true;
  }
  if (Avisa(publico_, *this, opClaseVariable.Value() ? kSobrescribeClase : kSobrescribeVariable,
            {AvisoDeCambio(*cambio, "después de abrirlo")}) != MsgCode::Ok) {
    return false;
  }
  FechaAlAbrir = cambio->fecha;
  return true;
}

// The record as stored, when a write has stamped it otherwise than the dialog expects; none while
// it is unchanged, or gone (the write itself then says so).
std::optional<RegistroGuardado> frmZULAddVariables::CambioAjeno(
    const RegistroGuardado& guardado) const {
  if (!guardado.existe || guardado.fecha == *FechaAlAbrir) {
    return std::nullopt;
  }
  return guardado;
}

// The key, when the other user wrote, and what the record holds now.
std::string frmZULAddVariables::AvisoDeCambio(const RegistroGuardado& guardado,
                                              const std::string& cuando) const {
  return "El registro " + txtClave.Text() + " fue modificado por otro usuario " +
         (guardado.fecha.empty() ? "sin fecha registrada" : "el " + guardado.fecha) + " " + cuando +
         ". " + (opClaseVariable.Value() ? "Descripción guardada: " : "Valor guardado: ") +
         guardado.valor + ".";
}

std::string frmZULAddVariables::Sentencia(const std::string& letraTipo) const {
  const std::string& clave = txtClave.Text();
  if (opClaseVariable.Value()) {
    return EsNuevo ? sql::InsertaClase(clave, PadreDeClaseNueva(), txtID.Text(), txtValor.Text())
                   : sql::ActualizaClase(clave, txtValor.Text());
  }
  return EsNuevo ? sql::InsertaVariable(txtPadre.Text(), clave, txtValor.Text(), txtTexto.Text(),
                                        letraTipo)
                 : sql::ActualizaVariable(clave, txtValor.Text(), letraTipo, txtTexto.Text());
}

// A class added under the root goes to the top level; under a class, its parent link is that
// class's position, which the editor's detail pane shows for the selected class.
std::string frmZULAddVariables::PadreDeClaseNueva() const {
  return txtPadre.Text().empty() ? kPadreRaiz : txtIDPrincipal_.Text();
}

bool frmZULAddVariables::Rechaza(const Aviso& aviso, Control* foco) {
  Avisa(publico_, *this, aviso);
  if (foco) {
    foco->SetFocus();
  }
  return false;
}

}  // namespace xel
