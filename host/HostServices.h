#pragma once

#include <functional>
#include <string>

#include "component/HostServices.h"

namespace xel {

// The host's session service: its open store and its message box, which the screen provides.
class HostSession : public SessionService {
 public:
  // Shows a message and returns the button pressed (1 OK, 2 Cancel).
  using MessageBox = std::function<long(const std::string& prompt, long code,
                                        const std::string& title, const std::string& errorId)>;

  HostSession(Connection& connection, MessageBox messageBox)
      : connection_(connection), messageBox_(std::move(messageBox)) {}

  Connection& Conexion() override { return connection_; }
  long Mensaje(const std::string& prompt, long code, const std::string& title, long owner,
               const std::string& source, const std::string& errorId) override;

 private:
  Connection& connection_;
  MessageBox messageBox_;
};

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
