#include "host/HostServices.h"

#include <pwd.h>
#include <unistd.h>

#include <algorithm>
#include <vector>

#include "host/StoreLookup.h"
#include "platform/text/CommandLine.h"
#include "platform/text/Numeric.h"

namespace xel {

namespace {
std::string NombreDeLogin() {
  std::vector<char> buffer(16384);
  passwd entry{};
  passwd* found = nullptr;
  if (getpwuid_r(geteuid(), &entry, buffer.data(), buffer.size(), &found) == 0 && found) {
    return found->pw_name;
  }
  const char* user = std::getenv("USER");
  return user ? user : "";
}
}  // namespace

std::string UsuarioDeSesion(std::string_view lineaDeComandos) {
  std::string usuario(TrimBlanks(CmdValor(lineaDeComandos, "/USR")));
  if (usuario.empty()) {
    usuario = NombreDeLogin();
  }
  std::erase_if(usuario, [](char c) { return static_cast<unsigned char>(c) < 0x20 || c == 0x7f; });
  constexpr size_t kLargoMaximo = 64;
  if (usuario.size() > kLargoMaximo) {
    usuario.resize(kLargoMaximo);
    // A multi-byte character cut in two is left out whole.
    while (!usuario.empty() && (static_cast<unsigned char>(usuario.back()) & 0xC0) == 0x80) {
      usuario.pop_back();
    }
    if (!usuario.empty() && static_cast<unsigned char>(usuario.back()) >= 0xC0) {
      usuario.pop_back();
    }
  }
  return usuario;
}

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
