#include "host/HostServices.h"

#include "host/StoreLookup.h"

namespace xel {

long HostSession::Mensaje(const std::string& prompt, long code, const std::string& title,
                          long /*owner*/, const std::string& /*source*/,
                          const std::string& errorId) {
  return messageBox_(prompt, code, title, errorId);
}

std::string HostUtility::BuscarCampo(const std::string& table, const std::string& searchColumn,
                                     const std::string& searchValue,
                                     const std::string& resultColumn, long /*number*/,
                                     const std::string& /*extra1*/, const std::string& /*extra2*/,
                                     const std::string& /*extra3*/) {
  return BuscarCampoEnStore(session_.Conexion(), table, searchColumn, searchValue, resultColumn);
}

long HostUtility::EnviarTeclas(const std::string& keys, long /*flag*/) {
  sendKeys_(keys);
  return 0;
}

std::string HostUtility::TextoTransaccion(const std::string& text, const std::string& key) {
  return text.empty() ? key : key + " - " + text;
}

}  // namespace xel
