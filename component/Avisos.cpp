#include "component/Avisos.h"

namespace xel {

std::string Redacta(std::string_view texto, std::initializer_list<std::string_view> datos) {
  std::string redactado;
  for (size_t i = 0; i < texto.size(); ++i) {
    const size_t numero = i + 1 < texto.size() ? static_cast<size_t>(texto[i + 1] - '0') : 0;
    if (texto[i] == '%' && numero >= 1 && numero <= datos.size()) {
      redactado += datos.begin()[numero - 1];
      ++i;
    } else {
      redactado += texto[i];
    }
  }
  return redactado;
}

long Avisa(const Publico& publico, const Form& ventana, const Aviso& aviso,
           std::initializer_list<std::string_view> datos) {
  return publico.Session().Mensaje(Redacta(aviso.texto, datos), aviso.codigo, aviso.titulo,
                                   ventana.hWnd(), "XEL02", aviso.id);
}

}  // namespace xel
