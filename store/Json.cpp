#include "store/Json.h"

#include <algorithm>

#include "store/LecturaDeArchivo.h"

namespace xel {

namespace {

// Far deeper than any file of classes and variables, and shallow enough for the reader's stack.
constexpr int kProfundidadMaxima = 64;

bool EsDigito(char c) {
  return c >= '0' && c <= '9';
}

int ValorHexadecimal(char c) {
  if (EsDigito(c)) {
    return c - '0';
  }
  if (c >= 'a' && c <= 'f') {
    return c - 'a' + 10;
  }
  if (c >= 'A' && c <= 'F') {
    return c - 'A' + 10;
  }
  return -1;
}

void AgregaUtf8(std::string& destino, unsigned long punto) {
  auto byte = [&](unsigned long valor) { destino += static_cast<char>(valor); };
  if (punto < 0x80) {
    byte(punto);
  } else if (punto < 0x800) {
    byte(0xC0 | (punto >> 6));
    byte(0x80 | (punto & 0x3F));
  } else if (punto < 0x10000) {
    byte(0xE0 | (punto >> 12));
    byte(0x80 | ((punto >> 6) & 0x3F));
    byte(0x80 | (punto & 0x3F));
  } else {
    byte(0xF0 | (punto >> 18));
    byte(0x80 | ((punto >> 12) & 0x3F));
    byte(0x80 | ((punto >> 6) & 0x3F));
    byte(0x80 | (punto & 0x3F));
  }
}

class LectorJson : CursorDeTexto {
 public:
  using CursorDeTexto::CursorDeTexto;

  ValorJson Documento() {
    ValorJson documento = Valor(0);
    SaltaBlancos();
    if (!AlFinal()) {
      Falla("text after the end of the document");
    }
    return documento;
  }

 private:
  ValorJson Valor(int profundidad) {
    SaltaBlancos();
    if (AlFinal()) {
      Falla("the file ends where a value was expected");
    }
    ValorJson valor;
    valor.linea = linea_;
    char c = Actual();
    if (c == '{' || c == '[') {
      if (profundidad >= kProfundidadMaxima) {
        Falla("objects and lists nested too deeply");
      }
      c == '{' ? Objeto(valor, profundidad + 1) : Lista(valor, profundidad + 1);
    } else if (c == '"') {
      valor.tipo = ValorJson::Tipo::Texto;
      valor.texto = Texto();
    } else if (c == '-' || EsDigito(c)) {
      valor.tipo = ValorJson::Tipo::Numero;
      valor.texto = Numero();
    } else if (Palabra("true") || Palabra("false")) {
      valor.tipo = ValorJson::Tipo::Logico;
      valor.texto = c == 't' ? "true" : "false";
    } else if (Palabra("null")) {
      valor.tipo = ValorJson::Tipo::Nulo;
    } else {
      Falla(std::string("unexpected character '") + c + "'");
    }
    return valor;
  }

  void Objeto(ValorJson& objeto, int profundidad) {
    objeto.tipo = ValorJson::Tipo::Objeto;
    Avanza();
    if (SigueTrasBlancos('}')) {
      return;
    }
    do {
      SaltaBlancos();
      if (AlFinal() || Actual() != '"') {
        Falla("expected a member name in double quotes");
      }
      std::string nombre = Texto();
      if (std::ranges::any_of(objeto.miembros, [&](const auto& m) { return m.first == nombre; })) {
        Falla("the member \"" + nombre + "\" appears twice");
      }
      if (!SigueTrasBlancos(':')) {
        Falla("expected ':' after a member name");
      }
      objeto.miembros.emplace_back(std::move(nombre), Valor(profundidad));
    } while (SigueTrasBlancos(','));
    if (!SigueTrasBlancos('}')) {
      Falla("expected ',' or '}' after a member");
    }
  }

  void Lista(ValorJson& lista, int profundidad) {
    lista.tipo = ValorJson::Tipo::Lista;
    Avanza();
    if (SigueTrasBlancos(']')) {
      return;
    }
    do {
      lista.elementos.push_back(Valor(profundidad));
    } while (SigueTrasBlancos(','));
    if (!SigueTrasBlancos(']')) {
      Falla("expected ',' or ']' after an element");
    }
  }

  std::string Texto() {
    Avanza();
    std::string texto;
    while (true) {
      if (AlFinal()) {
        Falla("the file ends inside a string");
      }
      char c = Actual();
      if (static_cast<unsigned char>(c) < 0x20) {
        Falla("a control character inside a string; write it as an escape such as \\n");
      }
      Avanza();
      if (c == '"') {
        return texto;
      }
      if (c != '\\') {
        texto += c;
      } else {
        Escape(texto);
      }
    }
  }

  void Escape(std::string& texto) {
    if (AlFinal()) {
      Falla("the file ends inside a string");
    }
    char c = Actual();
    Avanza();
    constexpr std::string_view kEscapes = "\"\"\\\\//b\bf\fn\nr\rt\t";
    for (size_t i = 0; i < kEscapes.size(); i += 2) {
      if (kEscapes[i] == c) {
        texto += kEscapes[i + 1];
        return;
      }
    }
    if (c != 'u') {
      Falla(std::string("unknown escape \\") + c);
    }
    unsigned long punto = CuatroHexadecimales();
    if (punto >= 0xDC00 && punto <= 0xDFFF) {
      Falla("a low surrogate without a high one before it");
    }
    if (punto >= 0xD800 && punto <= 0xDBFF) {
      if (!texto_.substr(pos_).starts_with("\\u")) {
        Falla("a high surrogate without a low one after it");
      }
      pos_ += 2;
      unsigned long baja = CuatroHexadecimales();
      if (baja < 0xDC00 || baja > 0xDFFF) {
        Falla("a high surrogate without a low one after it");
      }
      punto = 0x10000 + ((punto - 0xD800) << 10) + (baja - 0xDC00);
    }
    AgregaUtf8(texto, punto);
  }

  unsigned long CuatroHexadecimales() {
    unsigned long valor = 0;
    for (int i = 0; i < 4; ++i) {
      int digito = AlFinal() ? -1 : ValorHexadecimal(Actual());
      if (digito < 0) {
        Falla("\\u needs four hexadecimal digits");
      }
      valor = valor * 16 + static_cast<unsigned long>(digito);
      Avanza();
    }
    return valor;
  }

  std::string Numero() {
    size_t inicio = pos_;
    Sigue('-');
    if (!Sigue('0') && Digitos() == 0) {
      Falla("a malformed number");
    }
    if (Sigue('.') && Digitos() == 0) {
      Falla("a malformed number");
    }
    if (Sigue('e') || Sigue('E')) {
      if (!Sigue('+')) {
        Sigue('-');
      }
      if (Digitos() == 0) {
        Falla("a malformed number");
      }
    }
    return std::string(texto_.substr(inicio, pos_ - inicio));
  }

  size_t Digitos() {
    size_t inicio = pos_;
    while (!AlFinal() && EsDigito(Actual())) {
      Avanza();
    }
    return pos_ - inicio;
  }

  bool Palabra(std::string_view palabra) {
    if (!texto_.substr(pos_).starts_with(palabra)) {
      return false;
    }
    pos_ += palabra.size();
    return true;
  }

  bool SigueTrasBlancos(char c) {
    SaltaBlancos();
    return Sigue(c);
  }

  void SaltaBlancos() {
    while (!AlFinal() && std::string_view(" \t\r\n").find(Actual()) != std::string_view::npos) {
      Avanza();
    }
  }
};

}  // namespace

ValorJson LeeJson(std::string_view texto, const std::string& nombre) {
  return LectorJson(texto, nombre).Documento();
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
