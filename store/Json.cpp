#include "store/Json.h"

#include <iterator>

#include "store/LecturaDeArchivo.h"

namespace xel {

// How far the parser has read: the characters and the lines.
struct LectorJson::Posicion {
  std::string_view texto;
  size_t leidos = 0;
  long lineasLeidas = 1;    // the line of the next character
  long lineaDeLaParte = 1;  // the line of the last character other than a blank
};

namespace {

// The document's characters one by one to the parser, counting lines as it reads them. The parser
// reads one character past a number only, so the last character other than a blank is always on
// the line of the part just read.
class CursorContado {
 public:
  using iterator_category = std::forward_iterator_tag;
  using value_type = char;
  using difference_type = std::ptrdiff_t;
  using pointer = const char*;
  using reference = const char&;

  CursorContado() = default;
  CursorContado(const char* caracter, LectorJson::Posicion* posicion)
      : caracter_(caracter), posicion_(posicion) {}

  reference operator*() const { return *caracter_; }
  CursorContado& operator++() {
    char c = *caracter_++;
    ++posicion_->leidos;
    if (c == '\n') {
      ++posicion_->lineasLeidas;
    } else if (c != ' ' && c != '\t' && c != '\r') {
      posicion_->lineaDeLaParte = posicion_->lineasLeidas;
    }
    return *this;
  }
  CursorContado operator++(int) {
    CursorContado antes = *this;
    ++*this;
    return antes;
  }
  bool operator==(const CursorContado& otro) const { return caracter_ == otro.caracter_; }

 private:
  const char* caracter_ = nullptr;
  LectorJson::Posicion* posicion_ = nullptr;
};

bool EsDeNumero(char c) {
  return (c >= '0' && c <= '9') || c == '-' || c == '+' || c == '.' || c == 'e' || c == 'E';
}

// The parser's reason without its own heading ("[json.exception.parse_error.101] parse error at
// line 2, column 5: ").
std::string Motivo(const std::string& explicacion) {
  size_t lugar = explicacion.find("parse error");
  size_t inicio = lugar == std::string::npos ? lugar : explicacion.find(": ", lugar);
  return inicio == std::string::npos ? explicacion : explicacion.substr(inicio + 2);
}

}  // namespace

bool LectorJson::parse_error(std::size_t, const std::string&,
                             const nlohmann::detail::exception& e) {
  // The character the parser stopped at belongs to the line it ends.
  bool trasSaltoDeLinea = posicion_->leidos > 0 && posicion_->texto[posicion_->leidos - 1] == '\n';
  throw ErrorDeArchivo(Nombre(), posicion_->lineasLeidas - (trasSaltoDeLinea ? 1 : 0),
                       Motivo(e.what()));
}

long LectorJson::Linea() const {
  return posicion_->lineaDeLaParte;
}

std::string LectorJson::NumeroLeido() const {
  std::string_view leido = posicion_->texto.substr(0, posicion_->leidos);
  if (!leido.empty() && !EsDeNumero(leido.back())) {
    leido.remove_suffix(1);  // the character read past the number
  }
  size_t inicio = leido.size();
  while (inicio > 0 && EsDeNumero(leido[inicio - 1])) {
    --inicio;
  }
  return std::string(leido.substr(inicio));
}

const std::string& LectorJson::Nombre() const {
  return *nombre_;
}

void LeeJson(std::string_view texto, const std::string& nombre, LectorJson& lector) {
  texto = SinMarcaDeOrden(texto);
  LectorJson::Posicion posicion{texto};
  lector.posicion_ = &posicion;
  lector.nombre_ = &nombre;
  nlohmann::json::sax_parse(CursorContado(texto.data(), &posicion),
                            CursorContado(texto.data() + texto.size(), &posicion), &lector);
}

std::string TextoJson(std::string_view texto) {
  constexpr char kHexadecimal[] = "0123456789abcdef";
  std::string json = "\"";
  for (char c : texto) {
    switch (c) {
      case '"':
        json += "\\\"";
        break;
      case '\\':
        json += "\\\\";
        break;
      case '\n':
        json += "\\n";
        break;
      case '\r':
        json += "\\r";
        break;
      case '\t':
        json += "\\t";
        break;
      default:
        if (static_cast<unsigned char>(c) < 0x20) {
          json += "\\u00";
          json += kHexadecimal[c >> 4];
          json += kHexadecimal[c & 0xF];
        } else {
          json += c;
        }
    }
  }
  return json + "\"";
}

}  // namespace xel
