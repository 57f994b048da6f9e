#include "store/Exportacion.h"

#include <algorithm>
#include <array>
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

template <class Fila>
Fila FilaDeObjeto(const ValorJson& registro, const std::string& nombre) {
  if (registro.tipo != ValorJson::Tipo::Objeto) {
    throw ErrorDeArchivo(nombre, registro.linea,
                         "a " + std::string(kRegistro<Fila>) + " record must be an object");
  }
  Fila fila;
  fila.linea = registro.linea;
  for (const auto& [miembro, valor] : registro.miembros) {
    auto campo = std::ranges::find_if(kCampos, [&](const Campo& c) {
      return c.nombre == miembro && ColumnaDe<Fila>(c) != nullptr;
    });
    if (campo == kCampos.end()) {
      throw ErrorDeArchivo(
          nombre, valor.linea,
          "a " + std::string(kRegistro<Fila>) + " record has no field \"" + miembro + "\"");
    }
    // A number written without quotes stands for its text as written.
    if (valor.tipo != ValorJson::Tipo::Texto && valor.tipo != ValorJson::Tipo::Numero) {
      throw ErrorDeArchivo(nombre, valor.linea, "\"" + miembro + "\" must be a string");
    }
    fila.*ColumnaDe<Fila>(*campo) = valor.texto;
  }
  for (const Campo& campo : kCampos) {
    bool esDelRegistro = ColumnaDe<Fila>(campo) != nullptr;
    if (esDelRegistro && std::ranges::none_of(registro.miembros, [&](const auto& m) {
          return m.first == campo.nombre;
        })) {
      throw ErrorDeArchivo(nombre, registro.linea,
                           "the " + std::string(kRegistro<Fila>) + " record lacks \"" +
                               std::string(campo.nombre) + "\"");
    }
  }
  return fila;
}

template <class Fila>
void LeeListaJson(const ValorJson& lista, const std::string& nombre, std::vector<Fila>& filas) {
  if (lista.tipo != ValorJson::Tipo::Lista) {
    throw ErrorDeArchivo(nombre, lista.linea,
                         "\"" + std::string(kLista<Fila>) + "\" must be a list");
  }
  for (const ValorJson& registro : lista.elementos) {
    filas.push_back(FilaDeObjeto<Fila>(registro, nombre));
  }
}

Contenido LeeJsonDeExportacion(std::string_view texto, const std::string& nombre) {
  ValorJson documento = LeeJson(texto, nombre);
  if (documento.tipo != ValorJson::Tipo::Objeto) {
    throw ErrorDeArchivo(nombre, documento.linea,
                         "the file must hold one object with the lists \"classes\" and "
                         "\"variables\"");
  }
  Contenido contenido;
  for (const auto& [miembro, valor] : documento.miembros) {
    if (miembro == kLista<Clase>) {
      LeeListaJson(valor, nombre, contenido.clases);
    } else if (miembro == kLista<Variable>) {
      LeeListaJson(valor, nombre, contenido.variables);
    } else {
      throw ErrorDeArchivo(nombre, valor.linea,
                           "unknown list \"" + miembro +
                               "\"; the file holds \"classes\" and "
                               "\"variables\"");
    }
  }
  return contenido;
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
