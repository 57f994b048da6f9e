// Writes the store's SQL files that the package installs, from the statements the program itself
// runs: the tables for each kind of server, and the demo settings. Usage: xel02_sql_files FOLDER

#include <filesystem>
#include <fstream>
#include <iostream>
#include <sstream>

#include "platform/data/ConnectionDecorator.h"
#include "store/DemoStore.h"
#include "store/Schema.h"

namespace xel {
namespace {

namespace fs = std::filesystem;

struct ServerKind {
  SqlDialect dialect;
  const char* file;
  const char* name;
  const char* end;  // what ends a statement in the server's own scripts
};

// SQL Server's tools run a script batch by batch, and a function must be alone in its batch.
constexpr ServerKind kServers[] = {
    {SqlDialect::Sqlite, "schema-sqlite.sql", "SQLite", ";\n"},
    {SqlDialect::PostgreSql, "schema-postgresql.sql", "PostgreSQL", ";\n"},
    {SqlDialect::SqlServer, "schema-sqlserver.sql", "SQL Server", "\nGO\n"},
};

constexpr char kDemoFile[] = "demo-data.sql";
constexpr long kFileAccessError = 75;

// Writes every call down as a line of a script, and passes it on, so that the script holds what
// really ran.
class ScriptRecorder : public ConnectionDecorator {
 public:
  ScriptRecorder(Connection& inner, std::ostream& script)
      : ConnectionDecorator(inner), script_(script) {}

 protected:
  void Before(Call call, const std::string& text, const Parameters& parameters) override {
    if (!parameters.empty()) {
      throw RuntimeError(err::InvalidProcedureCall,
                         "a statement with bound values cannot be written into a script: " + text);
    }
    switch (call) {
      case Call::BeginTrans:
        script_ << "BEGIN TRANSACTION;\n";
        break;
      case Call::CommitTrans:
        script_ << "COMMIT;\n";
        break;
      case Call::RollbackTrans:
        script_ << "ROLLBACK;\n";
        break;
      case Call::Execute:
        script_ << text << ";\n";
        break;
    }
  }

 private:
  std::ostream& script_;
};

void WriteFile(const fs::path& file, const std::string& text) {
  std::ofstream out(file, std::ios::binary | std::ios::trunc);
  out << text;
  out.close();
  if (!out) {
    throw RuntimeError(kFileAccessError, "Path/File access error: " + file.string());
  }
}

std::string SchemaScript(const ServerKind& server) {
  std::string script = std::string("-- The XEL02 store's tables on ") + server.name +
                       ". Every statement makes only what is missing.\n";
  for (const std::string& statement : SchemaStatements(server.dialect)) {
    script += statement + server.end;
  }
  return script;
}

// The statements the demo seeding runs, recorded on a throwaway store that has the tables.
std::string DemoScript() {
  std::ostringstream script;
  script
      << "-- The XEL02 demo settings, for an empty SQL Server store that already has the tables\n"
         "-- (getdate() is SQL Server's own). On PostgreSQL, where the program calls it in its\n"
         "-- own schema, and on SQLite, fill a store with:\n"
         "-- xel02 schema --db CONNECTION --apply --demo\n";
  std::unique_ptr<Connection> store = OpenConnection("sqlite::memory:");
  CreateSchema(*store);
  ScriptRecorder recorder(*store, script);
  SeedDemoStore(recorder);
  return script.str();
}

}  // namespace
}  // namespace xel

int main(int argc, char* argv[]) {
  if (argc != 2) {
    std::cerr << "usage: xel02_sql_files FOLDER\n";
    return 2;
  }
  try {
    const std::filesystem::path folder = argv[1];
    std::filesystem::create_directories(folder);
    for (const xel::ServerKind& server : xel::kServers) {
      xel::WriteFile(folder / server.file, xel::SchemaScript(server));
    }
    xel::WriteFile(folder / xel::kDemoFile, xel::DemoScript());
    return 0;
  } catch (const xel::RuntimeError& e) {
    std::cerr << "xel02_sql_files: " << e.Description() << " (" << e.Number() << ")\n";
  } catch (const std::exception& e) {
    std::cerr << "xel02_sql_files: " << e.what() << "\n";
  }
  return 1;
}
