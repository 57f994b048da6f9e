#include "store/Historial.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <set>
#include <unordered_map>

#include "platform/Numeric.h"
#include "store/Schema.h"
#include "store/Sql.h"
#include "store/Statements.h"
#include "store/ValorPorTipo.h"

namespace xel {

namespace {

// The columns every entry is written with, in this order; Hi_Id and, on PostgreSQL, the
// transaction's id take the store's defaults.
constexpr char kColumnas[] =
    "Hi_Fecha, Hi_Usuario, Hi_UsuarioBd, Hi_Accion, Hi_Entidad, Hi_Clave, Hi_Clase, "
    "Hi_ClasePadre, Hi_Valor_Antes, Hi_Descripcion_Antes, Hi_Tipo_Antes, Hi_Padre_Antes, "
    "Hi_Posicion_Antes, Hi_Valor, Hi_Descripcion, Hi_Tipo, Hi_Padre, Hi_Posicion, Hi_Revierte";
constexpr char kSinEstado[] = "NULL, NULL, NULL, NULL, NULL";

// The database's own user, as the server names it; the embedded store has none.
std::string UsuarioDeBaseDeDatos(SqlDialect dialect) {
  switch (dialect) {
    case SqlDialect::Sqlite:
      return "NULL";
    case SqlDialect::PostgreSql:
      return "current_user";
    case SqlDialect::SqlServer:
      return "SUSER_SNAME()";
  }
  return "NULL";
}

std::string Texto(const std::string& valor) {
  return "'" + Quote(valor) + "'";
}

std::string Letra(char letra) {
  return Texto(std::string(1, letra));
}

std::string Estado(const std::optional<EstadoDeFila>& estado) {
  if (!estado) {
    return kSinEstado;
  }
  return Texto(estado->valor) + ", " + Texto(estado->descripcion) + ", " + Texto(estado->tipo) +
         ", " + Texto(estado->padre) + ", " + Texto(estado->posicion);
}

// The leading values of an entry: date, users, action, entity.
std::string Cabecera(const Historial& historial, Connection& db, Accion accion, Entidad entidad) {
  return "getdate(), " + Texto(historial.Usuario()) + ", " + UsuarioDeBaseDeDatos(db.Dialect()) +
         ", " + Letra(static_cast<char>(accion)) + ", " + Letra(static_cast<char>(entidad));
}

std::string Columna(const Recordset& fila, const char* nombre) {
  return fila.Field(nombre).Text();
}

// A date as the history compares them: "YYYY-MM-DD HH:MM:SS.mmm". A server may leave out a
// fraction's trailing zeros, or the whole fraction.
std::string FechaCompleta(std::string fecha) {
  constexpr size_t kSegundos = 19;
  if (fecha.size() >= kSegundos) {
    if (fecha.size() == kSegundos) {
      fecha += '.';
    }
    fecha.resize(std::max<size_t>(fecha.size(), kSegundos + 4), '0');
  }
  return fecha;
}

std::optional<EstadoDeFila> EstadoDe(const Recordset& fila, const char* sufijo, bool existe) {
  if (!existe) {
    return std::nullopt;
  }
  auto columna = [&](const char* nombre) {
    return Columna(fila, (nombre + std::string(sufijo)).c_str());
  };
  return EstadoDeFila{columna("Hi_Valor"), columna("Hi_Descripcion"), columna("Hi_Tipo"),
                      columna("Hi_Padre"), columna("Hi_Posicion")};
}

long long Numero(const std::string& texto) {
  long long numero = 0;
  std::from_chars(texto.data(), texto.data() + texto.size(), numero);
  return numero;
}

EntradaDeHistorial EntradaDeFila(const Recordset& fila) {
  EntradaDeHistorial entrada;
  entrada.id = Numero(Columna(fila, "Hi_Id"));
  entrada.fecha = FechaCompleta(Columna(fila, "Hi_Fecha"));
  entrada.usuario = Columna(fila, "Hi_Usuario");
  entrada.usuarioBd = Columna(fila, "Hi_UsuarioBd");
  const std::string accion = Columna(fila, "Hi_Accion");
  const std::string entidad = Columna(fila, "Hi_Entidad");
  entrada.accion = static_cast<Accion>(accion.empty() ? 'C' : accion[0]);
  entrada.entidad = static_cast<Entidad>(entidad.empty() ? 'V' : entidad[0]);
  entrada.clave = Columna(fila, "Hi_Clave");
  entrada.clase = Columna(fila, "Hi_Clase");
  entrada.clasePadre = Columna(fila, "Hi_ClasePadre");
  entrada.antes = EstadoDe(fila, "_Antes", entrada.accion != Accion::Alta);
  entrada.despues = EstadoDe(fila, "", entrada.accion != Accion::Baja);
  entrada.revierte = Numero(Columna(fila, "Hi_Revierte"));
  return entrada;
}

std::vector<EntradaDeHistorial> LeeEntradas(Connection& db, const std::string& sentencia) {
  std::vector<EntradaDeHistorial> entradas;
  auto filas = db.Execute(sentencia);
  for (; !filas->Eof(); filas->MoveNext()) {
    entradas.push_back(EntradaDeFila(*filas));
  }
  filas->Close();
  return entradas;
}

std::string Lista(const std::vector<std::string>& valores) {
  std::string lista;
  for (const std::string& valor : valores) {
    lista += (lista.empty() ? "" : ", ") + Texto(valor);
  }
  return lista;
}

// Reads "NN" of a date at `desde`, within [minimo, maximo].
bool Campo(std::string_view texto, size_t desde, size_t largo, int minimo, int maximo, int& valor) {
  if (desde + largo > texto.size()) {
    return false;
  }
  const char* inicio = texto.data() + desde;
  auto [fin, error] = std::from_chars(inicio, inicio + largo, valor);
  return error == std::errc() && fin == inicio + largo && valor >= minimo && valor <= maximo;
}

int DiasDelMes(int anio, int mes) {
  constexpr std::array<int, 12> kDias{31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  const bool bisiesto = (anio % 4 == 0 && anio % 100 != 0) || anio % 400 == 0;
  return mes == 2 && bisiesto ? 29 : kDias[static_cast<size_t>(mes - 1)];
}

// The class, locked until the transaction ends.
std::optional<Clase> LeeClase(Connection& db, const std::string& codigo) {
  auto fila = db.Execute(
      sql::Bloqueando(sql::ClasePorClave(codigo), sql::XEL_Clase_Variable, db.Dialect()));
  std::optional<Clase> clase;
  if (!fila->Eof()) {
    clase = Clase{Columna(*fila, sql::Cv_Cve_Clase_Variable), Columna(*fila, sql::Cv_Padre),
                  Columna(*fila, sql::Cv_Id), Columna(*fila, sql::Cv_Descripcion)};
  }
  fila->Close();
  return clase;
}

std::optional<Variable> BuscaVariable(Connection& db, const std::string& clave) {
  try {
    return LeeVariable(db, clave, true);
  } catch (const RuntimeError& e) {
    if (e.Number() != err::ItemNotFound) {
      throw;
    }
    return std::nullopt;
  }
}

EstadoDeFila EstadoDeVariable(const Variable& variable) {
  return {variable.valor, variable.descripcion, variable.tipo, "", ""};
}

EstadoDeFila EstadoDeClase(const Clase& clase) {
  return {"", clase.descripcion, "", clase.padre, clase.posicion};
}

[[noreturn]] void NoSePuede(const std::string& motivo) {
  throw RuntimeError(err::InvalidProcedureCall, motivo);
}

void EjecutaUnaFila(Connection& db, const std::string& sentencia, const std::string& clave) {
  db.Execute(sentencia);
  if (db.RecordsAffected() != 1) {
    throw RuntimeError(
        err::NoCurrentRecord,
        "El registro " + clave + " ya no existe; otro usuario pudo haberlo eliminado.");
  }
}

// A variable's undo: its old value, description and type back, or the variable itself.
std::string RevierteVariable(Historial& historial, Connection& db, const EntradaDeHistorial& e,
                             bool soloPlan) {
  const std::optional<Variable> actual = BuscaVariable(db, e.clave);  // locked until the end
  EntradaDeHistorial cambio{.accion = e.accion,
                            .entidad = Entidad::Variable,
                            .clave = e.clave,
                            .clase = e.clase,
                            .revierte = e.id};
  std::string sentencia;
  if (!e.antes) {  // undoing a creation deletes the variable
    if (!actual) {
      NoSePuede("La variable " + e.clave + " ya no existe.");
    }
    cambio.accion = Accion::Baja;
    cambio.antes = EstadoDeVariable(*actual);
    sentencia = sql::BorraVariable(actual->clave);
  } else if (!actual) {
    if (e.accion != Accion::Baja) {
      NoSePuede("La variable " + e.clave + " ya no existe; restaure antes su eliminación.");
    }
    if (!LeeClase(db, e.clase)) {
      NoSePuede("La clase " + e.clase + " de la variable " + e.clave +
                " ya no existe; restaure antes la clase.");
    }
    cambio.accion = Accion::Alta;
    sentencia =
        sql::InsertaVariable(e.clase, e.clave, e.antes->valor, e.antes->descripcion, e.antes->tipo);
  } else {
    if (e.accion == Accion::Baja) {
      NoSePuede("La variable " + e.clave + " existe de nuevo; no hay nada que restaurar.");
    }
    cambio.accion = Accion::Cambio;
    cambio.antes = EstadoDeVariable(*actual);
    sentencia =
        sql::ActualizaVariable(actual->clave, e.antes->valor, e.antes->tipo, e.antes->descripcion);
  }
  if (e.antes) {
    if (std::string rechazo = RechazoDeValor(e.antes->valor, e.antes->tipo); !rechazo.empty()) {
      NoSePuede(e.clave + ": " + rechazo);
    }
    cambio.despues = EstadoDeFila{e.antes->valor, e.antes->descripcion, e.antes->tipo, "", ""};
  }
  if (!soloPlan) {
    EjecutaUnaFila(db, sentencia, e.clave);
    historial.Registra(cambio);
  }
  return "variable " + e.clave + ": " + DescribeEntrada(cambio);
}

// The position link a class re-created under its old parent takes: that class's position now, or
// the top level when it is gone.
std::string PadreActual(Connection& db, const std::string& clasePadre) {
  if (clasePadre.empty()) {
    return kPadreRaiz;
  }
  const std::optional<Clase> padre = LeeClase(db, clasePadre);
  return padre ? NumeroDePosicion(padre->posicion) : kPadreRaiz;
}

std::string PosicionLibre(Connection& db) {
  auto fila = db.Execute(sql::AutoClave(sql::XEL_Clase_Variable, sql::Cv_Id, {}, {}, {}));
  const long mayor = fila->Eof() ? 0 : static_cast<long>(std::stod(Columna(*fila, "Clave")));
  fila->Close();
  return Format0000(mayor + 1);
}

bool ClaseOcupada(Connection& db, const Clase& clase) {
  auto variables = db.Execute(sql::VariablesDeClase(clase.codigo));
  const bool conVariables = !variables->Eof();
  variables->Close();
  auto hijas = db.Execute(sql::Subclases(NumeroDePosicion(clase.posicion)));
  const bool conHijas = !hijas->Eof();
  hijas->Close();
  return conVariables || conHijas;
}

// A class's undo: its old description back, or the class itself.
std::string RevierteClase(Historial& historial, Connection& db, const EntradaDeHistorial& e,
                          bool soloPlan) {
  if (e.accion == Accion::Movimiento) {
    NoSePuede("Un movimiento se deshace en el editor, moviendo la clase " + e.clave +
              " de nuevo y pulsando Grabar.");
  }
  const std::optional<Clase> actual = LeeClase(db, e.clave);
  EntradaDeHistorial cambio{.accion = e.accion,
                            .entidad = Entidad::Clase,
                            .clave = e.clave,
                            .clase = e.clave,
                            .clasePadre = e.clasePadre,
                            .revierte = e.id};
  std::string sentencia;
  if (!e.antes) {
    if (!actual) {
      NoSePuede("La clase " + e.clave + " ya no existe.");
    }
    if (ClaseOcupada(db, *actual)) {
      NoSePuede("La clase " + e.clave + " tiene variables o clases; elimínela en el editor.");
    }
    cambio.accion = Accion::Baja;
    cambio.antes = EstadoDeClase(*actual);
    sentencia = sql::BorraClase(actual->codigo);
  } else if (!actual) {
    if (e.accion != Accion::Baja) {
      NoSePuede("La clase " + e.clave + " ya no existe; restaure antes su eliminación.");
    }
    cambio.accion = Accion::Alta;
    cambio.despues = EstadoDeFila{"", e.antes->descripcion, "", PadreActual(db, e.clasePadre),
                                  PosicionLibre(db)};
    sentencia = sql::InsertaClase(e.clave, cambio.despues->padre, cambio.despues->posicion,
                                  e.antes->descripcion);
  } else {
    if (e.accion == Accion::Baja) {
      NoSePuede("La clase " + e.clave + " existe de nuevo; no hay nada que restaurar.");
    }
    cambio.accion = Accion::Cambio;
    cambio.antes = EstadoDeClase(*actual);
    cambio.despues = *cambio.antes;
    cambio.despues->descripcion = e.antes->descripcion;
    sentencia = sql::ActualizaClase(actual->codigo, e.antes->descripcion);
  }
  if (!soloPlan) {
    EjecutaUnaFila(db, sentencia, e.clave);
    historial.Registra(cambio);
  }
  return "clase " + e.clave + ": " + DescribeEntrada(cambio);
}

std::string Comillas(const std::string& texto) {
  return "«" + texto + "»";
}

}  // namespace

Historial::Historial(Connection& db, std::string usuario, bool presente)
    : db_(db), usuario_(std::move(usuario)), presente_(presente) {}

Historial Historial::De(Connection& db, std::string usuario) {
  return Historial(db, std::move(usuario), TieneHistorial(db));
}

void Historial::Registra(const EntradaDeHistorial& e) {
  if (!presente_) {
    return;
  }
  db_.Execute(std::string("INSERT INTO XEL_Historial (") + kColumnas + ") VALUES (" +
              Cabecera(*this, db_, e.accion, e.entidad) + ", " + Texto(e.clave) + ", " +
              Texto(e.clase) + ", " + Texto(e.clasePadre) + ", " + Estado(e.antes) + ", " +
              Estado(e.despues) + ", " + (e.revierte ? Texto(std::to_string(e.revierte)) : "NULL") +
              ")");
}

// The INSERT that records the deletion of the rows a query of one table selects: the entity's
// columns in the history's order, after the entry's leading values.
void Historial::RegistraYBorra(Entidad entidad, const std::string& columnas,
                               const std::string& desde, const std::string& borra,
                               const std::string& clave) {
  long registradas = 0;
  if (presente_) {
    db_.Execute(std::string("INSERT INTO XEL_Historial (") + kColumnas + ") SELECT " +
                Cabecera(*this, db_, Accion::Baja, entidad) + ", " + columnas + ", " + kSinEstado +
                ", NULL " + desde);
    registradas = db_.RecordsAffected();
  }
  db_.Execute(borra);
  if (presente_ && db_.RecordsAffected() != registradas) {
    throw RuntimeError(err::NoCurrentRecord, "Otro usuario cambió " + clave +
                                                 " mientras se eliminaba; no se eliminó nada.");
  }
}

namespace {
// What a deleted variable's history entry holds, as the columns of its row give it.
std::string VariableBorrada() {
  return std::string(sql::Cf_Variable) + ", " + sql::Cv_Cve_Clase_Variable + ", NULL, " +
         sql::Cf_Valor + ", " + sql::Cf_Descripcion + ", " + sql::Cf_Tipo + ", NULL, NULL";
}

// "FROM tabla WHERE columna = valor": the rows a deletion removes.
std::string DondeIgual(const char* tabla, const char* columna, const std::string& valor) {
  return std::string("FROM ") + tabla + " WHERE " + columna + " = " + Texto(valor);
}
}  // namespace

void Historial::BorraVariablesDeClase(const std::string& clase) {
  RegistraYBorra(Entidad::Variable, VariableBorrada(),
                 DondeIgual(sql::XEL_Configuracion, sql::Cv_Cve_Clase_Variable, clase),
                 sql::BorraVariablesDeClase(clase), clase);
}

void Historial::BorraVariable(const std::string& clave) {
  RegistraYBorra(Entidad::Variable, VariableBorrada(),
                 DondeIgual(sql::XEL_Configuracion, sql::Cf_Variable, clave),
                 sql::BorraVariable(clave), clave);
}

void Historial::BorraClase(const std::string& clase, const std::string& clasePadre) {
  RegistraYBorra(Entidad::Clase,
                 std::string(sql::Cv_Cve_Clase_Variable) + ", " + sql::Cv_Cve_Clase_Variable +
                     ", " + Texto(clasePadre) + ", NULL, " + sql::Cv_Descripcion + ", NULL, " +
                     sql::Cv_Padre + ", " + sql::Cv_Id,
                 DondeIgual(sql::XEL_Clase_Variable, sql::Cv_Cve_Clase_Variable, clase),
                 sql::BorraClase(clase), clase);
}

bool TieneHistorial(Connection& db) {
  return TablaPresente(db, sql::XEL_Historial);
}

void DeclaraHistorialPropio(Connection& db) {
  if (db.Dialect() == SqlDialect::PostgreSql) {
    db.Execute(std::string("SET ") + kHistorialPropio + " = 'on'");
  }
}

std::vector<EntradaDeHistorial> LeeHistorial(Connection& db, const ConsultaDeHistorial& consulta) {
  std::string condiciones;
  auto agrega = [&](const std::string& condicion) {
    condiciones += (condiciones.empty() ? " WHERE " : " AND ") + condicion;
  };
  if (consulta.variable) {
    agrega("Hi_Entidad = 'V' AND Hi_Clave = " + Texto(*consulta.variable));
  }
  if (consulta.clases) {
    agrega("Hi_Clase IN (" + (consulta.clases->empty() ? "''" : Lista(*consulta.clases)) + ")");
  }
  if (!consulta.desde.empty()) {
    agrega("Hi_Fecha >= " + Texto(consulta.desde));
  }
  if (!consulta.usuario.empty()) {
    agrega("Hi_Usuario = " + Texto(consulta.usuario));
  }
  return LeeEntradas(db, "SELECT * FROM XEL_Historial" + condiciones + " ORDER BY Hi_Id DESC");
}

std::optional<EntradaDeHistorial> LeeEntrada(Connection& db, long long id) {
  auto entradas =
      LeeEntradas(db, "SELECT * FROM XEL_Historial WHERE Hi_Id = " + Texto(std::to_string(id)));
  if (entradas.empty()) {
    return std::nullopt;
  }
  return entradas.front();
}

std::vector<std::string> ClasesDelSubarbol(Connection& db, const std::string& clase) {
  // Each class with its parent class: as the store holds them now, then as the entries had them.
  std::vector<std::pair<std::string, std::string>> vinculos;
  std::unordered_map<std::string, std::string> codigoEnPosicion;
  const Contenido store = LeeContenido(db);
  for (const Clase& c : store.clases) {
    codigoEnPosicion[ClaveComparable(NumeroDePosicion(c.posicion))] = c.codigo;
  }
  for (const Clase& c : store.clases) {
    auto padre = codigoEnPosicion.find(ClaveComparable(NumeroDePosicion(c.padre)));
    if (padre != codigoEnPosicion.end()) {
      vinculos.emplace_back(c.codigo, padre->second);
    }
  }
  auto filas = db.Execute(
      "SELECT DISTINCT Hi_Clave, Hi_ClasePadre FROM XEL_Historial WHERE Hi_Entidad = 'C'");
  for (; !filas->Eof(); filas->MoveNext()) {
    vinculos.emplace_back(Columna(*filas, "Hi_Clave"), Columna(*filas, "Hi_ClasePadre"));
  }
  filas->Close();
  std::set<std::string> vistas{ClaveComparable(clase)};
  std::vector<std::string> clases{clase};
  for (bool crece = true; crece;) {
    crece = false;
    for (const auto& [hija, padre] : vinculos) {
      if (vistas.contains(ClaveComparable(padre)) && vistas.insert(ClaveComparable(hija)).second) {
        clases.push_back(hija);
        crece = true;
      }
    }
  }
  return clases;
}

std::string FechaDeHistorial(const std::string& texto) {
  int anio = 0, mes = 0, dia = 0, hora = 0, minuto = 0, segundo = 0;
  const bool conHora = texto.size() > 10;
  const bool valida =
      (texto.size() == 10 || texto.size() == 16 || texto.size() == 19) && texto[4] == '-' &&
      texto[7] == '-' && Campo(texto, 0, 4, 1, 9999, anio) && Campo(texto, 5, 2, 1, 12, mes) &&
      Campo(texto, 8, 2, 1, DiasDelMes(anio, std::max(mes, 1)), dia) &&
      (!conHora || ((texto[10] == ' ' || texto[10] == 'T') && texto[13] == ':' &&
                    Campo(texto, 11, 2, 0, 23, hora) && Campo(texto, 14, 2, 0, 59, minuto))) &&
      (texto.size() < 19 || (texto[16] == ':' && Campo(texto, 17, 2, 0, 59, segundo)));
  if (!valida) {
    throw RuntimeError(err::InvalidPropertyValue,
                       "\"" + texto +
                           "\" is not a date: use YYYY-MM-DD, YYYY-MM-DD HH:MM or "
                           "YYYY-MM-DD HH:MM:SS");
  }
  char fecha[32];
  std::snprintf(fecha, sizeof fecha, "%04d-%02d-%02d %02d:%02d:%02d.000", anio, mes, dia, hora,
                minuto, segundo);
  return fecha;
}

long DepuraHistorial(Historial& historial, const std::string& fecha) {
  Connection& db = historial.Db();
  long borradas = 0;
  RunInTransaction(db, [&] {
    db.Execute("DELETE FROM XEL_Historial WHERE Hi_Fecha < " + Texto(fecha) +
               " AND Hi_Entidad <> 'H'");
    borradas = db.RecordsAffected();
    historial.Registra({.accion = Accion::Depuracion,
                        .entidad = Entidad::Historial,
                        .despues = EstadoDeFila{fecha, std::to_string(borradas), "", "", ""}});
  });
  return borradas;
}

std::string Revierte(Historial& historial, long long id, bool soloPlan) {
  Connection& db = historial.Db();
  std::string hecho;
  auto revierte = [&] {
    const std::optional<EntradaDeHistorial> entrada = LeeEntrada(db, id);
    if (!entrada) {
      throw RuntimeError(err::ItemNotFound,
                         "no history entry has the number " + std::to_string(id));
    }
    switch (entrada->entidad) {
      case Entidad::Variable:
        hecho = RevierteVariable(historial, db, *entrada, soloPlan);
        break;
      case Entidad::Clase:
        hecho = RevierteClase(historial, db, *entrada, soloPlan);
        break;
      case Entidad::Historial:
        NoSePuede("Las entradas depuradas no se pueden recuperar.");
    }
  };
  if (soloPlan) {
    revierte();
  } else {
    RunInTransaction(db, revierte);
  }
  return hecho;
}

Contenido ContenidoAl(Connection& db, const std::string& fecha) {
  auto depurado = db.Execute(
      "SELECT MAX(Hi_Valor) AS Hasta FROM XEL_Historial WHERE "
      "Hi_Entidad = 'H'");
  const std::string hasta = depurado->Eof() ? "" : Columna(*depurado, "Hasta");
  depurado->Close();
  if (!hasta.empty() && fecha < hasta) {
    throw RuntimeError(err::InvalidPropertyValue, "the history was pruned before " + hasta +
                                                      "; the store as it stood at " + fecha +
                                                      " cannot be told");
  }
  Contenido contenido;
  RunInTransaction(db, [&] {
    contenido = LeeContenido(db);
    // The first change of each row after the date holds the row as it stood then.
    const auto primeras = LeeEntradas(
        db,
        "SELECT * FROM XEL_Historial WHERE Hi_Id IN (SELECT MIN(Hi_Id) FROM XEL_Historial "
        "WHERE Hi_Fecha > " +
            Texto(fecha) + " AND Hi_Entidad IN ('C', 'V') GROUP BY Hi_Entidad, Hi_Clave)");
    std::unordered_map<std::string, const EntradaDeHistorial*> clases, variables;
    for (const EntradaDeHistorial& e : primeras) {
      (e.entidad == Entidad::Clase ? clases : variables)[ClaveComparable(e.clave)] = &e;
    }
    std::erase_if(contenido.clases,
                  [&](const Clase& c) { return clases.contains(ClaveComparable(c.codigo)); });
    std::erase_if(contenido.variables,
                  [&](const Variable& v) { return variables.contains(ClaveComparable(v.clave)); });
    for (const auto& [clave, e] : clases) {
      if (e->antes) {
        contenido.clases.push_back(
            {e->clave, e->antes->padre, e->antes->posicion, e->antes->descripcion});
      }
    }
    for (const auto& [clave, e] : variables) {
      if (e->antes) {
        contenido.variables.push_back(
            {e->clase, e->clave, e->antes->valor, e->antes->tipo, e->antes->descripcion});
      }
    }
  });
  return contenido;
}

std::string DescribeEntrada(const EntradaDeHistorial& e) {
  const bool esClase = e.entidad == Entidad::Clase;
  std::string texto;
  auto diferencia = [&](const char* que, const std::string& antes, const std::string& despues) {
    if (antes != despues) {
      texto += (texto.empty() ? "" : ", ") + std::string(que) + " " + antes + " → " + despues;
    }
  };
  switch (e.accion) {
    case Accion::Alta:
      texto = esClase ? "creada " + Comillas(e.despues->descripcion)
                      : "creada = " + e.despues->valor + " (" + e.despues->tipo + ")";
      break;
    case Accion::Baja:
      texto = esClase ? "eliminada " + Comillas(e.antes->descripcion)
                      : "eliminada (valor " + e.antes->valor + ")";
      break;
    case Accion::Cambio:
    case Accion::Movimiento:
      diferencia("valor", e.antes->valor, e.despues->valor);
      diferencia("descripción", Comillas(e.antes->descripcion), Comillas(e.despues->descripcion));
      diferencia("tipo", e.antes->tipo, e.despues->tipo);
      diferencia("padre", e.antes->padre, e.despues->padre);
      diferencia("posición", e.antes->posicion, e.despues->posicion);
      if (e.accion == Accion::Movimiento) {
        texto = "movida: " + texto;
      }
      break;
    case Accion::Depuracion:
      texto = "historial depurado antes de " + e.despues->valor + " (" + e.despues->descripcion +
              " entradas)";
      break;
  }
  if (e.revierte) {
    texto += " (restaura #" + std::to_string(e.revierte) + ")";
  }
  return texto;
}

}  // namespace xel
