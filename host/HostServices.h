#pragma once

#include <functional>
#include <string>
#include <string_view>

#include "component/HostServices.h"

namespace xel {

// The host's session service: its open store and its message box, which the screen provides.
class HostSession : public SessionService {
 public:
  // Shows a message and returns the button pressed (1 OK, 2 Cancel).
  using MessageBox = std::function<long(const std::string& prompt, long code,
                                        const std::string& title, const std::string& errorId)>;

  HostSession(Connection& connection, MessageBox messageBox, std::string usuario)
      : connection_(connection), messageBox_(std::move(messageBox)), usuario_(std::move(usuario)) {}

  Connection& Conexion() override { return connection_; }
  long Mensaje(const std::string& prompt, long code, const std::string& title, long owner,
               const std::string& source, const std::string& errorId) override;
  std::string Usuario() override { return usuario_; }

 private:
  Connection& connection_;
  MessageBox messageBox_;
  std::string usuario_;
};

// The session's user: the value of "/USR name" on the host's command line, else the login name of
// the process's user. Control characters are dropped and the name is cut to 64 bytes, so that it
// reads as one plain line wherever it is shown.
std::string UsuarioDeSesion(std::string_view lineaDeComandos);

// The host's utility service: look-ups on the session's store, keystrokes for the focused window,
// and the title of the host's transaction.
class HostUtility : public UtilityService {
 public:
  using SendKeys = std::function<void(const std::string& keys)>;

  HostUtility(SessionService& session, SendKeys sendKeys)
      : session_(session), sendKeys_(std::move(sendKeys)) {}

  std::string BuscarCampo(const std::string& table, const std::string& searchColumn,
                          const std::string& searchValue, const std::string& resultColumn,
                          long number, const std::string& extra1, const std::string& extra2,
                          const std::string& extra3) override;
  long EnviarTeclas(const std::string& keys, long flag) override;
  // The transaction as the host's windows title it: the key, then the transaction's own text.
  std::string TextoTransaccion(const std::string& text, const std::string& key) override;

 private:
  SessionService& session_;
  SendKeys sendKeys_;
};

}  // namespace xel
