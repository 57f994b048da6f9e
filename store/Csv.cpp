#include "store/Csv.h"

#include "store/LecturaDeArchivo.h"

namespace xel {

namespace {

class LectorCsv : CursorDeTexto {
 public:
  using CursorDeTexto::CursorDeTexto;

  std::vector<RegistroCsv> Registros() {
    std::vector<RegistroCsv> registros;
    while (!AlFinal()) {
      if (FinDeLinea()) {
        continue;
      }
      RegistroCsv registro{linea_, {}};
      do {
        registro.campos.push_back(Campo());
      } while (Sigue(','));
      if (!AlFinal() && !FinDeLinea()) {
        Falla("a field in quotes must be followed by a comma or the end of the line");
      }
      registros.push_back(std::move(registro));
    }
    return registros;
  }

 private:
  std::string Campo() {
    if (Sigue('"')) {
      return CampoEntreComillas();
    }
    size_t inicio = pos_;
    while (!AlFinal() && Actual() != ',' && Actual() != '\n' && Actual() != '\r') {
      if (Actual() == '"') {
        Falla(
            "a quote inside a field that does not start with one; put the field in quotes "
            "and double the quote");
      }
      ++pos_;
    }
    return std::string(texto_.substr(inicio, pos_ - inicio));
  }

  std::string CampoEntreComillas() {
    long inicio = linea_;
    std::string campo;
    while (true) {
      if (AlFinal()) {
        throw ErrorDeArchivo(nombre_, inicio, "a quoted field that never ends");
      }
      char c = Actual();
      Avanza();
      if (c != '"') {
        campo += c;
      } else if (Sigue('"')) {
        campo += '"';
      } else {
        return campo;
      }
    }
  }

  // Moves past a line break (CR LF or LF) when one comes next.
  bool FinDeLinea() {
    if (Sigue('\n')) {
      return true;
    }
    if (!Sigue('\r')) {
      return false;
    }
    if (!Sigue('\n')) {
      Falla("a carriage return outside quotes that does not end the line");
    }
    return true;
  }
};

bool NecesitaComillas(std::string_view campo) {
  return campo.find_first_of(",\"\r\n") != std::string_view::npos ||
         (!campo.empty() && (campo.front() == ' ' || campo.back() == ' '));
}

}  // namespace

std::vector<RegistroCsv> LeeCsv(std::string_view texto, const std::string& nombre) {
  return LectorCsv(texto, nombre).Registros();
}

std::string LineaCsv(const std::vector<std::string>& campos) {
  std::string linea;
  for (const std::string& campo : campos) {
    if (&campo != &campos.front()) {
      linea += ',';
    }
    if (!NecesitaComillas(campo)) {
      linea += campo;
      continue;
    }
    linea += '"';
    for (char c : campo) {
      linea += c;
      if (c == '"') {
        linea += '"';
      }
    }
    linea += '"';
  }
  return linea + "\r\n";
}

}  // namespace xel
