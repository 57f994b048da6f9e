#pragma once

// The editor window as hosts see it: what a host hands it and asks of it. The window itself lives
// in the component; a host holds it only through this interface, so it needs none of the
// editor's headers.

#include <memory>
#include <string>

#include "component/HostServices.h"
#include "platform/forms/Forms.h"

namespace xel {

// How the window reads its tree.
enum class ModoDeCarga {
  PorClase,  // one query for the top level, then two per class: the window's design
  EnBloque,  // both tables in two statements, for a store far away
};

// The default interface of the editor window frmXEL02.
class _frmXEL02 {
 public:
  // The host's parent object, which names the transaction and closes with the window.
  virtual const std::shared_ptr<ParentObject>& Padre() const = 0;
  virtual void SetPadre(std::shared_ptr<ParentObject> padre) = 0;
  // The parent's transaction, as the host's utility service words it.
  virtual std::string Transaccion() = 0;
  // The value of one named argument of the hosting process's command line.
  virtual std::string cmdValor(const std::string& Argumento) = 0;
  // The proposed next code of a numeric column: its largest numeric value plus 1, among the rows
  // that pass up to three column = value filters; 0 when anything fails.
  virtual long Get_AutoClave(const std::string& Tabla, const std::string& sCampoBusqueda,
                             const std::string& sKey1 = "", const std::string& sValor1 = "",
                             const std::string& sKey2 = "", const std::string& sValor2 = "",
                             const std::string& sKey3 = "", const std::string& sValor3 = "") = 0;
  // How the tree is read from the store: one query per class unless the host asks otherwise.
  virtual void SetModoDeCarga(ModoDeCarga modo) = 0;
  // The window as a form of the forms run time: shown, closed and drawn by the host.
  virtual Form& Ventana() = 0;
  // Opens RAIZ and its classes, so that a picture of the window shows the store, not a folded
  // root.
  virtual void AbreClasesDeLaRaiz() = 0;

 protected:
  ~_frmXEL02() = default;
};

}  // namespace xel
