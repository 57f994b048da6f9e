// The program killed while it writes: a child process saves the order of a 100,000-variable tree
// (or imports a large file) into a SQLite store and is killed with SIGKILL after a random delay.
// Afterwards the store must open, pass SQLite's integrity check, and hold exactly the old state or
// exactly the new one.

#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <functional>
#include <optional>
#include <thread>

#include "store/Importacion.h"
#include "store/Sql.h"
#include "store/Statements.h"
#include "tests/support/TempStore.h"
#include "tests/support/TreeAndStore.h"
#include "tests/support/VentanaEditor.h"

namespace xel::testing {
namespace {

using Lines = std::vector<std::string>;
using Clock = std::chrono::steady_clock;

constexpr int kClases = 1000;
constexpr int kVariablesPorClase = 100;
constexpr int kMuertes = 25;  // per write: 50 in all

// 1,000 classes, a tenth at the top level and the rest under them, each with 100 variables.
void LlenaStore(Connection& db) {
  RunInTransaction(db, [&] {
    for (int c = 1; c <= kClases; ++c) {
      const std::string codigo = Format0000(c);
      const std::string padre = c <= kClases / 10 ? "0000" : Format0000((c % (kClases / 10)) + 1);
      db.Execute(sql::InsertaClase(codigo, padre, codigo, "Clase " + codigo));
      for (int v = 0; v < kVariablesPorClase; ++v) {
        db.Execute(sql::InsertaVariable(codigo, "V" + std::to_string(c) + "_" + std::to_string(v),
                                        std::to_string(v), "", "N"));
      }
    }
  });
}

// One write, as the child process makes it on the store's file; `empieza` is called just before
// the write itself, once everything it needs is read and ready.
using Escritura = void (*)(const std::string& archivo, const std::function<void()>& empieza);

void GrabaOrden(const std::string& archivo, const std::function<void()>& empieza) {
  auto db = OpenConnection("sqlite:" + archivo);
  VentanaEditor ventana(*db);
  ventana.Open();
  ventana.Drag("K" + Format0000(kClases / 10), "K0001");
  ventana.session->ClearMessages();  // the drop's question
  empieza();
  ventana.Graba();
  _exit(ventana.session->Messages().empty() ? 0 : 3);
}

// 10,000 variables, every value changed.
void ImportaArchivo(const std::string& archivo, const std::function<void()>& empieza) {
  auto db = OpenConnection("sqlite:" + archivo);
  Contenido contenido = LeeContenido(*db);
  contenido.variables.resize(contenido.variables.size() / 10);
  for (Variable& variable : contenido.variables) {
    variable.valor += "1";
  }
  empieza();
  Historial historial = Historial::De(*db, "ana");
  Importa(historial, contenido, "vars.json", false);
}

// Runs the write in a child process and gives its wait status and how long it ran once it started;
// with a delay, kills it that long after the write starts.
std::pair<int, Clock::duration> EnHijo(Escritura escritura, const std::string& archivo,
                                       std::optional<Clock::duration> demora) {
  int senal[2];
  EXPECT_EQ(pipe(senal), 0);
  pid_t hijo = fork();
  if (hijo == 0) {
    close(senal[0]);
    escritura(archivo, [&] { static_cast<void>(write(senal[1], "w", 1)); });
    _exit(0);
  }
  close(senal[1]);
  char c;
  bool empezo = read(senal[0], &c, 1) == 1;
  close(senal[0]);
  Clock::time_point inicio = Clock::now();
  if (empezo && demora) {
    std::this_thread::sleep_for(*demora);
    kill(hijo, SIGKILL);
  }
  int estado = 0;
  waitpid(hijo, &estado, 0);
  return {estado, Clock::now() - inicio};
}

// A copy of the filled store, in its folder, with no write-ahead log left from an earlier copy of
// that name.
std::string Copia(TempStore& plantilla, const std::string& nombre) {
  plantilla.Db().Execute("PRAGMA wal_checkpoint(TRUNCATE)");
  const std::filesystem::path copia = plantilla.Path().parent_path() / nombre;
  for (const char* log : {"-wal", "-shm"}) {
    std::filesystem::remove(copia.string() + log);
  }
  std::filesystem::copy_file(plantilla.Path(), copia,
                             std::filesystem::copy_options::overwrite_existing);
  return copia.string();
}

// The store's rows, once SQLite finds the file whole.
Lines Estado(const std::string& archivo) {
  auto db = OpenConnection("sqlite:" + archivo);
  EXPECT_EQ(db->Execute("PRAGMA integrity_check")->Field("integrity_check").Text(), "ok");
  return StoreRows(*db);
}

TEST(ProcesoMatadoTest, AfterAKillTheStoreIsWholeAndOldOrNew) {
  TempStore plantilla(TempStore::Contents::Schema);
  LlenaStore(plantilla.Db());
  for (const auto& [nombre, escritura] :
       {std::pair{"save order", &GrabaOrden}, {"import", &ImportaArchivo}}) {
    SCOPED_TRACE(nombre);
    const std::string completo = Copia(plantilla, "completo.db");
    const Lines viejo = Estado(completo);
    const auto [salida, duracion] = EnHijo(escritura, completo, std::nullopt);
    ASSERT_EQ(salida, 0) << "the write failed alone";
    const Lines nuevo = Estado(completo);
    ASSERT_NE(nuevo, viejo);

    int matadosAMedias = 0;
    for (int muerte = 1; muerte <= kMuertes; ++muerte) {  // spread over 1.1 times the write
      SCOPED_TRACE("kill " + std::to_string(muerte));
      const Clock::duration demora = duracion * 11 * muerte / (10 * kMuertes);
      const std::string archivo = Copia(plantilla, "matado.db");
      matadosAMedias += WIFSIGNALED(EnHijo(escritura, archivo, demora).first) ? 1 : 0;
      const Lines estado = Estado(archivo);
      EXPECT_TRUE(estado == viejo || estado == nuevo);
    }
    EXPECT_GT(matadosAMedias, 0) << "no kill landed while the write ran";
  }
}

}  // namespace
}  // namespace xel::testing
