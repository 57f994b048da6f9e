#include "store/Exportacion.h"

#include <algorithm>
#include <array>
#include <bitset>
#include <filesystem>
#include <type_traits>

#include "store/Csv.h"
#include "store/Json.h"
#include "store/LecturaDeArchivo.h"

namespace xel {

namespace {

// The fields of the file and the columns they carry; a field that only one kind of record has
// leaves the other's pointer empty. Their order is the order of the file's records.
struct Campo {
  std::string_view nombre;
  std::string Clase::*deClase;
  std::string Variable::*deVariable;
};
constexpr std::array<Campo, 8> kCampos{{
    {"code", &Clase::codigo, nullptr},
    {"parent", &Clase::padre, nullptr},
    {"position", &Clase::posicion, nullptr},
    {"class", nullptr, &Variable::clase},
    {"key", nullptr, &Variable::clave},
    {"value", nullptr, &Variable::valor},
    {"type", nullptr, &Variable::tipo},
    {"description", &Clase::descripcion, &Variable::descripcion},
}};
// The CSV column before the fields, naming the kind of record.
constexpr std::string_view kColumnaDeRegistro = "record";

template <class Fila>
std::string Fila::*ColumnaDe(const Campo& campo) {
  if constexpr (std::is_same_v<Fila, Clase>) {
    return campo.deClase;
  } else {
    return campo.deVariable;
  }
}

template <class Fila>
constexpr std::string_view kRegistro = std::is_same_v<Fila, Clase> ? "class" : "variable";
template <class Fila>
constexpr std::string_view kLista = std::is_same_v<Fila, Clase> ? "classes" : "variables";

// Writing.

template <class Fila>
std::string ObjetoJson(const Fila& fila) {
  std::string objeto;
  for (const Campo& campo : kCampos) {
    if (auto columna = ColumnaDe<Fila>(campo)) {
      objeto +=
          (objeto.empty() ? "{" : ", ") + TextoJson(campo.nombre) + ": " + TextoJson(fila.*columna);
    }
  }
  return objeto + "}";
}

template <class Fila>
std::string ListaJson(const std::vector<Fila>& filas) {
  std::string lista = "  " + TextoJson(kLista<Fila>) + ": [";
  for (const Fila& fila : filas) {
    lista += (&fila == &filas.front() ? "\n    " : ",\n    ") + ObjetoJson(fila);
  }
  return lista + (filas.empty() ? "]" : "\n  ]");
}

std::vector<std::string> CabeceraCsv() {
  std::vector<std::string> cabecera{std::string(kColumnaDeRegistro)};
  for (const Campo& campo : kCampos) {
    cabecera.emplace_back(campo.nombre);
  }
  return cabecera;
}

template <class Fila>
std::string RegistrosCsv(const std::vector<Fila>& filas) {
  std::string registros;
  for (const Fila& fila : filas) {
    std::vector<std::string> campos{std::string(kRegistro<Fila>)};
    for (const Campo& campo : kCampos) {
      auto columna = ColumnaDe<Fila>(campo);
      campos.push_back(columna ? fila.*columna : std::string());
    }
    registros += LineaCsv(campos);
  }
  return registros;
}

// Reading.

// Reads the JSON form part by part, keeping only the rows, so that a large file costs little more
// than its rows. Each part is checked where it comes: a wrong one names its own line.
class LectorDeExportacion final : public LectorJson {
 public:
  Contenido Filas() && { return std::move(contenido_); }

  bool null() override { NoEsperado(); }
  bool boolean(bool) override { NoEsperado(); }
  // A number written without quotes stands for its text as written.
  bool number_integer(number_integer_t) override { return Texto(NumeroLeido()); }
  bool number_unsigned(number_unsigned_t) override { return Texto(NumeroLeido()); }
  bool number_float(number_float_t, const string_t&) override { return Texto(NumeroLeido()); }
  bool string(string_t& texto) override { return Texto(std::move(texto)); }

  bool start_object(std::size_t) override {
    if (nivel_ == Nivel::Fuera) {
      nivel_ = Nivel::Documento;
    } else if (nivel_ == Nivel::Lista) {
      EmpiezaRegistro();
    } else {
      NoEsperado();
    }
    return true;
  }

  bool key(string_t& nombre) override {
    if (nivel_ == Nivel::Documento) {
      Lista(nombre);
    } else {
      CampoDelRegistro(nombre);
    }
    miembro_ = std::move(nombre);
    return true;
  }

  bool end_object() override {
    if (nivel_ == Nivel::Registro) {
      TerminaRegistro();
    } else {
      nivel_ = Nivel::Fin;
    }
    return true;
  }

  bool start_array(std::size_t) override {
    if (nivel_ != Nivel::Documento) {
      NoEsperado();
    }
    nivel_ = Nivel::Lista;
    return true;
  }

  bool end_array() override {
    nivel_ = Nivel::Documento;
    return true;
  }

 private:
  // Where the part to come is: before the document, in it (a list to come), in one of its lists
  // (a record to come), in a record (a field's value to come), after it.
  enum class Nivel { Fuera, Documento, Lista, Registro, Fin };

  [[noreturn]] void Falla(const std::string& motivo) const {
    throw ErrorDeArchivo(Nombre(), Linea(), motivo);
  }

  std::string Registro() const {
    return std::string(enVariables_ ? kRegistro<Variable> : kRegistro<Clase>);
  }

  std::string* Columna(const Campo& campo) {
    if (enVariables_) {
      return campo.deVariable ? &(variable_.*campo.deVariable) : nullptr;
    }
    return campo.deClase ? &(clase_.*campo.deClase) : nullptr;
  }

  // A part that cannot come where it does.
  [[noreturn]] void NoEsperado() const {
    switch (nivel_) {
      case Nivel::Documento:
        Falla("\"" + miembro_ + "\" must be a list");
      case Nivel::Lista:
        Falla("a " + Registro() + " record must be an object");
      case Nivel::Registro:
        Falla("\"" + miembro_ + "\" must be a string");
      default:
        Falla("the file must hold one object with the lists \"classes\" and \"variables\"");
    }
  }

  void Lista(const std::string& nombre) {
    if (nombre != kLista<Clase> && nombre != kLista<Variable>) {
      Falla("unknown list \"" + nombre + "\"; the file holds \"classes\" and \"variables\"");
    }
    enVariables_ = nombre == kLista<Variable>;
    UnaVez(listasVistas_, enVariables_ ? 1 : 0, nombre);
  }

  void EmpiezaRegistro() {
    nivel_ = Nivel::Registro;
    clase_ = Clase{};
    variable_ = Variable{};
    clase_.linea = variable_.linea = Linea();
    camposVistos_.reset();
  }

  void CampoDelRegistro(const std::string& nombre) {
    auto campo = std::ranges::find_if(
        kCampos, [&](const Campo& c) { return c.nombre == nombre && Columna(c) != nullptr; });
    if (campo == kCampos.end()) {
      Falla("a " + Registro() + " record has no field \"" + nombre + "\"");
    }
    UnaVez(camposVistos_, static_cast<size_t>(campo - kCampos.begin()), nombre);
    campo_ = &*campo;
  }

  bool Texto(std::string texto) {
    if (nivel_ != Nivel::Registro) {
      NoEsperado();
    }
    *Columna(*campo_) = std::move(texto);
    return true;
  }

  void TerminaRegistro() {
    for (size_t i = 0; i < kCampos.size(); ++i) {
      if (Columna(kCampos[i]) != nullptr && !camposVistos_[i]) {
        throw ErrorDeArchivo(
            Nombre(), clase_.linea,
            "the " + Registro() + " record lacks \"" + std::string(kCampos[i].nombre) + "\"");
      }
    }
    if (enVariables_) {
      contenido_.variables.push_back(std::move(variable_));
    } else {
      contenido_.clases.push_back(std::move(clase_));
    }
    nivel_ = Nivel::Lista;
  }

  // A member may appear once in an object.
  template <size_t N>
  void UnaVez(std::bitset<N>& vistos, size_t cual, const std::string& nombre) {
    if (vistos[cual]) {
      Falla("the member \"" + nombre + "\" appears twice");
    }
    vistos[cual] = true;
  }

  Nivel nivel_ = Nivel::Fuera;
  bool enVariables_ = false;  // the list being read
  std::bitset<2> listasVistas_;
  std::string miembro_;  // the name of the member whose value comes
  const Campo* campo_ = nullptr;
  std::bitset<kCampos.size()> camposVistos_;
  Clase clase_;
  Variable variable_;
  Contenido contenido_;
};

Contenido LeeJsonDeExportacion(std::string_view texto, const std::string& nombre) {
  LectorDeExportacion lector;
  LeeJson(texto, nombre, lector);
  return std::move(lector).Filas();
}

template <class Fila>
Fila FilaDeRegistroCsv(const RegistroCsv& registro, const std::string& nombre) {
  Fila fila;
  fila.linea = registro.linea;
  for (size_t i = 0; i < kCampos.size(); ++i) {
    const std::string& texto = registro.campos[i + 1];
    if (auto columna = ColumnaDe<Fila>(kCampos[i])) {
      fila.*columna = texto;
    } else if (!texto.empty()) {
      throw ErrorDeArchivo(nombre, registro.linea,
                           "a " + std::string(kRegistro<Fila>) + " record leaves \"" +
                               std::string(kCampos[i].nombre) + "\" empty");
    }
  }
  return fila;
}

Contenido LeeCsvDeExportacion(std::string_view texto, const std::string& nombre) {
  std::vector<RegistroCsv> registros = LeeCsv(texto, nombre);
  const std::vector<std::string> cabecera = CabeceraCsv();
  if (registros.empty() || registros.front().campos != cabecera) {
    std::string esperada = LineaCsv(cabecera);
    esperada.resize(esperada.size() - 2);  // without the line break
    throw ErrorDeArchivo(nombre, registros.empty() ? 1 : registros.front().linea,
                         "the first line must be the header " + esperada);
  }
  Contenido contenido;
  for (auto registro = registros.begin() + 1; registro != registros.end(); ++registro) {
    if (registro->campos.size() != cabecera.size()) {
      throw ErrorDeArchivo(nombre, registro->linea,
                           "a record has " + std::to_string(cabecera.size()) +
                               " fields; this one has " + std::to_string(registro->campos.size()));
    }
    const std::string& tipo = registro->campos.front();
    if (tipo == kRegistro<Clase>) {
      contenido.clases.push_back(FilaDeRegistroCsv<Clase>(*registro, nombre));
    } else if (tipo == kRegistro<Variable>) {
      contenido.variables.push_back(FilaDeRegistroCsv<Variable>(*registro, nombre));
    } else {
      throw ErrorDeArchivo(nombre, registro->linea,
                           "a record is a \"class\" or a \"variable\", not \"" + tipo + "\"");
    }
  }
  return contenido;
}

}  // namespace

std::string Exporta(const Contenido& contenido, FormatoDeArchivo formato) {
  if (formato == FormatoDeArchivo::Json) {
    return "{\n" + ListaJson(contenido.clases) + ",\n" + ListaJson(contenido.variables) + "\n}\n";
  }
  return LineaCsv(CabeceraCsv()) + RegistrosCsv(contenido.clases) +
         RegistrosCsv(contenido.variables);
}

FormatoDeArchivo FormatoDe(const std::string& nombre, std::string_view texto) {
  std::string extension = ClaveComparable(std::filesystem::path(nombre).extension().string());
  if (extension == ".json" || extension == ".csv") {
    return extension == ".json" ? FormatoDeArchivo::Json : FormatoDeArchivo::Csv;
  }
  texto = SinMarcaDeOrden(texto);
  size_t primero = texto.find_first_not_of(" \t\r\n");
  bool objeto = primero != std::string_view::npos && texto[primero] == '{';
  return objeto ? FormatoDeArchivo::Json : FormatoDeArchivo::Csv;
}

Contenido LeeExportacion(std::string_view texto, const std::string& nombre) {
  return FormatoDe(nombre, texto) == FormatoDeArchivo::Json ? LeeJsonDeExportacion(texto, nombre)
                                                            : LeeCsvDeExportacion(texto, nombre);
}

}  // namespace xel
