#pragma once

// The history of every change of the store: one row per class or variable created, changed, moved
// or deleted, with who made the change, when, and the row as it was before and after. A history
// row is written in the same transaction as its change, just before it, so that both are kept or
// neither is. A store without the history table works as before and records nothing.

#include <optional>
#include <string>
#include <vector>

#include "platform/Database.h"
#include "store/ContenidoDelStore.h"

namespace xel {

namespace sql {
inline constexpr char XEL_Historial[] = "XEL_Historial";
}  // namespace sql

// What happened to the row.
enum class Accion : char {
  Alta = 'A',        // created
  Cambio = 'C',      // value, description or type changed
  Baja = 'B',        // deleted
  Movimiento = 'M',  // a class's parent or position changed
  Depuracion = 'D',  // older history entries were removed
};

// Whose row it is.
enum class Entidad : char { Clase = 'C', Variable = 'V', Historial = 'H' };

// A row as it stood: a variable's value, description and type; a class's description, parent
// link and position.
struct EstadoDeFila {
  std::string valor{};
  std::string descripcion{};
  std::string tipo{};
  std::string padre{};
  std::string posicion{};

  bool operator==(const EstadoDeFila&) const = default;
};

struct EntradaDeHistorial {
  long long id = 0;
  std::string fecha{};      // the server's date and time, "YYYY-MM-DD HH:MM:SS.mmm"
  std::string usuario{};    // the host's session user; empty for a write of another program
  std::string usuarioBd{};  // the database's own user, on a server
  Accion accion = Accion::Cambio;
  Entidad entidad = Entidad::Variable;
  std::string clave{};       // the variable's key or the class's code
  std::string clase{};       // the variable's class, or the class itself
  std::string clasePadre{};  // a class's parent class code at the time; empty at the top level
  std::optional<EstadoDeFila> antes{};    // none for a creation
  std::optional<EstadoDeFila> despues{};  // none for a deletion
  long long revierte = 0;                 // the entry this change undid; 0 for none

  bool operator==(const EntradaDeHistorial&) const = default;
};

// The store's history as one user writes it. Every Registra runs in the caller's transaction.
class Historial {
 public:
  // On a connection whose store has the history table (`presente`) or not.
  Historial(Connection& db, std::string usuario, bool presente);
  // Reads whether the store has the table.
  static Historial De(Connection& db, std::string usuario);

  bool Presente() const { return presente_; }
  const std::string& Usuario() const { return usuario_; }
  Connection& Db() const { return db_; }

  // One entry, written just after its change, so that entries follow the order in which the
  // changes took their rows; its id, date and database user are the store's.
  void Registra(const EntradaDeHistorial& entrada);
  // Deletes rows, each recorded as it stands just before: every variable of a class, one
  // variable, one class (under the parent class named). A row another user deleted meanwhile
  // makes the recorded and the deleted rows differ: a run-time error (err::NoCurrentRecord).
  void BorraVariablesDeClase(const std::string& clase);
  void BorraVariable(const std::string& clave);
  void BorraClase(const std::string& clase, const std::string& clasePadre);

 private:
  void RegistraYBorra(Entidad entidad, const std::string& columnas, const std::string& desde,
                      const std::string& borra, const std::string& clave);

  Connection& db_;
  std::string usuario_;
  bool presente_;
};

bool TieneHistorial(Connection& db);

// Tells a PostgreSQL store that this session records the history of its own writes, so that the
// store's triggers, which record the writes of other programs, are not run for them at all.
// Without it the triggers still leave XEL02's writes out, row by row, at a cost at each commit.
void DeclaraHistorialPropio(Connection& db);

// What the history shows: every entry, one variable's, or those of a set of classes (each class's
// own entries and its variables'), optionally since a date and of one user, newest first.
struct ConsultaDeHistorial {
  std::optional<std::string> variable{};
  std::optional<std::vector<std::string>> clases{};
  std::string desde{};    // "YYYY-MM-DD HH:MM:SS.mmm"; empty: from the first entry
  std::string usuario{};  // empty: every user
};
std::vector<EntradaDeHistorial> LeeHistorial(Connection& db, const ConsultaDeHistorial& consulta);
std::optional<EntradaDeHistorial> LeeEntrada(Connection& db, long long id);

// The class and every class that is or was under it: those under it now, and those whose entries
// name as parent a class of the set.
std::vector<std::string> ClasesDelSubarbol(Connection& db, const std::string& clase);

// A date the user typed ("YYYY-MM-DD", "YYYY-MM-DD HH:MM" or "YYYY-MM-DD HH:MM:SS") in the form the
// history stores; anything else is a run-time error (err::InvalidPropertyValue).
std::string FechaDeHistorial(const std::string& texto);

// Removes the entries older than the date, and records the removal with that date as its value.
// Returns how many entries went.
long DepuraHistorial(Historial& historial, const std::string& fecha);

// Brings back the state an entry changed from: an old value, description or type; a deleted
// variable or class created again; a created one deleted. The change goes through the dialog's
// checks and statements and is itself an entry that names the undone one. With soloPlan nothing
// is written. Returns what is (or would be) done, for the user. A change that cannot be undone is
// a run-time error that says why.
std::string Revierte(Historial& historial, long long id, bool soloPlan);

// The store as it stood at a date: every row changed since is taken back to its state before its
// first change after that date, rows created since are left out and rows deleted since come back.
// A date before the last removal of older entries is a run-time error: the entries that would
// say how the store stood are gone.
Contenido ContenidoAl(Connection& db, const std::string& fecha);

// What an entry did, for the user: "creado", "valor 16 → 17", ...
std::string DescribeEntrada(const EntradaDeHistorial& entrada);

}  // namespace xel
