#pragma once

#include <memory>
#include <optional>
#include <string>

#include "component/MsgCode.h"
#include "platform/data/Database.h"

namespace xel {

// The host's first service object: its open connection and its message box.
class SessionService {
 public:
  virtual ~SessionService() = default;

  // The host's open connection; the same one at every call. The component never opens or
  // closes it, and fetches it anew for every use.
  virtual Connection& Conexion() = 0;

  // Shows a message and returns the button pressed (1 OK, 2 Cancel, 6 Yes, 7 No).
  virtual long Mensaje(const std::string& prompt, long code, const std::string& title, long owner,
                       const std::string& source, const std::string& errorId) = 0;

  // The user of the host's session, whom the history names as the author of every change.
  virtual std::string Usuario() = 0;
};

// The host's second service object: a one-column look-up, keystrokes, and the transaction text.
class UtilityService {
 public:
  virtual ~UtilityService() = default;

  // The result column of the row whose search column equals the value, as text; the empty text
  // when no row matches.
  virtual std::string BuscarCampo(const std::string& table, const std::string& searchColumn,
                                  const std::string& searchValue, const std::string& resultColumn,
                                  long number, const std::string& extra1, const std::string& extra2,
                                  const std::string& extra3) = 0;

  // Sends keystrokes to the focused window.
  virtual long EnviarTeclas(const std::string& keys, long flag) = 0;

  virtual std::string TextoTransaccion(const std::string& text, const std::string& key) = 0;
};

// The host's parent object, handed to the editor window through Padre.
class ParentObject {
 public:
  virtual ~ParentObject() = default;
  // Reads a property by name, late-bound; an unknown name is the run time's error 438.
  virtual std::string Property(const std::string& name) = 0;
  // Unloads the parent window.
  virtual void Unload() = 0;
};

// The component-wide state: the two host services, created at start-up, and the statement buffer
// shared by the code that builds statements.
struct Publico {
  std::shared_ptr<SessionService> sessionService;
  std::shared_ptr<UtilityService> utilityService;
  std::string sSQL;
  // Whether the store keeps a history of changes: read when first needed and at every load of
  // the tree, so that a history table added meanwhile is used from the next F5 on.
  std::optional<bool> conHistorial{};

  SessionService& Session() const;
  UtilityService& Utility() const;
};

}  // namespace xel
