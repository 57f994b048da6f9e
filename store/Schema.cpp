#include "store/Schema.h"

#include <functional>

#include "platform/SearchText.h"
#include "store/Sql.h"

namespace xel {
namespace {

// The search's xel_contiene(text, wanted) on PostgreSQL. A text of ASCII characters only is folded
// by lowering it; any other first loses its accents (decomposed, then without its combining marks,
// U+0300 to U+036F), which costs more and is needed by few values. All under "C": the columns'
// nondeterministic collation refuses strpos and regular expressions. The wanted text is folded once
// per query, the function being inlined. normalize() needs the database in UTF8.
std::string PostgreSqlSearchFunction() {
  auto fold = [](const std::string& text) {
    return "CASE WHEN octet_length(" + text + ") = char_length(" + text + ") THEN lower(" + text +
           " COLLATE \"C\") ELSE lower(regexp_replace(normalize(" + text +
           ", NFD) COLLATE \"C\", U&'[\\0300-\\036F]', '', 'g')) END";
  };
  return std::string("CREATE OR REPLACE FUNCTION ") + kSearchFunction +
         "(text, text) RETURNS integer LANGUAGE sql IMMUTABLE AS $$SELECT CASE WHEN strpos(" +
         fold("$1") + ", " + fold("$2") + ") > 0 THEN 1 ELSE 0 END$$";
}

// The types one dialect gives the history's columns.
struct TiposDeHistorial {
  const char* id;
  const char* fecha;
  const char* texto;
  const char* clave;  // keys and codes, compared as the store's own columns compare them
  const char* numero;
  const char* transaccion;
};

// The history of changes, one row per change, and its three indexes: one variable's or class's
// entries in order (and the first entry of each row after a date), a class's own entries and its
// variables', and the entries by date.
std::vector<std::string> HistoryStatements(
    const TiposDeHistorial& t, const std::string& createTable,
    const std::function<std::string(const char*)>& createIndex) {
  const std::string texto = t.texto;
  const std::string clave = t.clave;
  return {
      createTable + " XEL_Historial (Hi_Id " + t.id + ", Hi_Fecha " + t.fecha + " NOT NULL," +
          " Hi_Usuario " + texto + ", Hi_UsuarioBd " + texto + ", Hi_Accion " + texto +
          " NOT NULL, Hi_Entidad " + texto + " NOT NULL, Hi_Clave " + clave + ", Hi_Clase " +
          clave + ", Hi_ClasePadre " + clave + ", Hi_Valor_Antes " + texto +
          ", Hi_Descripcion_Antes " + texto + ", Hi_Tipo_Antes " + texto + ", Hi_Padre_Antes " +
          texto + ", Hi_Posicion_Antes " + texto + ", Hi_Valor " + texto + ", Hi_Descripcion " +
          texto + ", Hi_Tipo " + texto + ", Hi_Padre " + texto + ", Hi_Posicion " + texto +
          ", Hi_Revierte " + t.numero + ", Hi_Transaccion " + t.transaccion + ")",
      createIndex("IX_XEL_Historial_Clave") + " ON XEL_Historial (Hi_Entidad, Hi_Clave, Hi_Id)",
      createIndex("IX_XEL_Historial_Clase") + " ON XEL_Historial (Hi_Clase, Hi_Id)",
      createIndex("IX_XEL_Historial_Fecha") + " ON XEL_Historial (Hi_Fecha)",
  };
}

std::string CreateIndexIfNotExists(const char* name) {
  return std::string("CREATE INDEX IF NOT EXISTS ") + name;
}

std::vector<std::string> Joined(std::vector<std::string> first,
                                const std::vector<std::string>& then) {
  first.insert(first.end(), then.begin(), then.end());
  return first;
}

const std::vector<std::string> kSqliteStatements = {
    "CREATE TABLE IF NOT EXISTS XEL_Clase_Variable ("
    " Cv_Cve_Clase_Variable text COLLATE NOCASE NOT NULL PRIMARY KEY,"
    " Cv_Id text COLLATE NOCASE,"
    " Cv_Padre text COLLATE NOCASE,"
    " Cv_Descripcion text COLLATE NOCASE,"
    " Fecha_Ult_Modif text)",
    "CREATE TABLE IF NOT EXISTS XEL_Configuracion ("
    " Cf_Variable text COLLATE NOCASE NOT NULL PRIMARY KEY,"
    " Cf_Valor text,"
    " Cf_Descripcion text COLLATE NOCASE,"
    " Cf_Tipo text COLLATE NOCASE,"
    " Cv_Cve_Clase_Variable text COLLATE NOCASE,"
    " Fecha_Ult_Modif text)",
    "CREATE INDEX IF NOT EXISTS IX_XEL_Clase_Variable_Padre"
    " ON XEL_Clase_Variable (Cv_Padre, Cv_Id)",
    "CREATE INDEX IF NOT EXISTS IX_XEL_Configuracion_Clase"
    " ON XEL_Configuracion (Cv_Cve_Clase_Variable, Cf_Variable)",
};

// Texts compare as on the host's server: without regard to case, with regard to accents. The
// comparison is the column's own, so that look-ups by key find a key typed in another case.
// Regular expressions refuse such a collation; ISNUMERIC reads its argument byte by byte.
const std::vector<std::string> kPostgreSqlStatements = {
    "CREATE COLLATION IF NOT EXISTS xel_nocase"
    " (provider = icu, locale = 'und-u-ks-level2', deterministic = false)",
    "CREATE TABLE IF NOT EXISTS XEL_Clase_Variable ("
    " Cv_Cve_Clase_Variable text COLLATE xel_nocase NOT NULL PRIMARY KEY,"
    " Cv_Id text COLLATE xel_nocase,"
    " Cv_Padre text COLLATE xel_nocase,"
    " Cv_Descripcion text COLLATE xel_nocase,"
    " Fecha_Ult_Modif timestamp(3))",
    "CREATE TABLE IF NOT EXISTS XEL_Configuracion ("
    " Cf_Variable text COLLATE xel_nocase NOT NULL PRIMARY KEY,"
    " Cf_Valor text,"
    " Cf_Descripcion text COLLATE xel_nocase,"
    " Cf_Tipo text COLLATE xel_nocase,"
    " Cv_Cve_Clase_Variable text COLLATE xel_nocase,"
    " Fecha_Ult_Modif timestamp(3))",
    "CREATE INDEX IF NOT EXISTS IX_XEL_Clase_Variable_Padre"
    " ON XEL_Clase_Variable (Cv_Padre, Cv_Id)",
    "CREATE INDEX IF NOT EXISTS IX_XEL_Configuracion_Clase"
    " ON XEL_Configuracion (Cv_Cve_Clase_Variable, Cf_Variable)",
    // The server's local time when the statement began, to the millisecond.
    "CREATE OR REPLACE FUNCTION getdate() RETURNS timestamp LANGUAGE sql STABLE"
    " AS $$SELECT statement_timestamp()::timestamp(3)$$",
    // The key generator's IsNull(MAX(column), 0) on a text column; the server gives the type of the
    // first argument.
    "CREATE OR REPLACE FUNCTION isnull(text, integer) RETURNS text LANGUAGE sql IMMUTABLE"
    " AS $$SELECT coalesce($1, $2::text)$$",
    "CREATE OR REPLACE FUNCTION isnull(text, text) RETURNS text LANGUAGE sql IMMUTABLE"
    " AS $$SELECT coalesce($1, $2)$$",
    // 1 for a text that reads as a number as a whole (blanks around it, a sign, digits with an
    // optional point and fraction, ".5" and "5." included, an optional exponent), 0 otherwise.
    R"(CREATE OR REPLACE FUNCTION isnumeric(text) RETURNS integer LANGUAGE sql IMMUTABLE)"
    R"( AS $$SELECT CASE WHEN $1 COLLATE "C")"
    R"( ~ '^ *[+-]?([0-9]+\.?[0-9]*|\.[0-9]+)([eE][+-]?[0-9]+)? *$' THEN 1 ELSE 0 END$$)",
    PostgreSqlSearchFunction(),
};

// Letter case follows the database's collation, case-insensitive on the host's servers.
const std::vector<std::string> kSqlServerStatements = {
    "IF OBJECT_ID(N'XEL_Clase_Variable', N'U') IS NULL"
    " CREATE TABLE XEL_Clase_Variable ("
    " Cv_Cve_Clase_Variable nvarchar(15) NOT NULL PRIMARY KEY,"
    " Cv_Id nvarchar(10) NULL,"
    " Cv_Padre nvarchar(10) NULL,"
    " Cv_Descripcion nvarchar(255) NULL,"
    " Fecha_Ult_Modif datetime NULL)",
    "IF OBJECT_ID(N'XEL_Configuracion', N'U') IS NULL"
    " CREATE TABLE XEL_Configuracion ("
    " Cf_Variable nvarchar(50) NOT NULL PRIMARY KEY,"
    " Cf_Valor nvarchar(max) NULL,"
    " Cf_Descripcion nvarchar(255) NULL,"
    " Cf_Tipo nvarchar(1) NULL,"
    " Cv_Cve_Clase_Variable nvarchar(15) NULL,"
    " Fecha_Ult_Modif datetime NULL)",
    "IF NOT EXISTS (SELECT * FROM sys.indexes WHERE name = N'IX_XEL_Clase_Variable_Padre')"
    " CREATE INDEX IX_XEL_Clase_Variable_Padre ON XEL_Clase_Variable (Cv_Padre, Cv_Id)",
    "IF NOT EXISTS (SELECT * FROM sys.indexes WHERE name = N'IX_XEL_Configuracion_Clase')"
    " CREATE INDEX IX_XEL_Configuracion_Clase"
    " ON XEL_Configuracion (Cv_Cve_Clase_Variable, Cf_Variable)",
    // The search's xel_contiene(text, wanted): an accent- and case-insensitive collation compares.
    std::string("CREATE OR ALTER FUNCTION dbo.") + kSearchFunction +
        "(@texto nvarchar(max), @buscado nvarchar(max)) RETURNS int AS BEGIN"
        " RETURN CASE WHEN CHARINDEX(@buscado COLLATE Latin1_General_CI_AI,"
        " @texto COLLATE Latin1_General_CI_AI) > 0 THEN 1 ELSE 0 END END",
};

// A query that gives a row when the table exists.
std::string TableLookup(SqlDialect dialect, const char* table) {
  switch (dialect) {
    case SqlDialect::Sqlite:
      return "SELECT name FROM sqlite_master WHERE type = 'table' AND name = '" + Quote(table) +
             "' COLLATE NOCASE";
    case SqlDialect::PostgreSql:
      return "SELECT table_name FROM information_schema.tables"
             " WHERE table_schema = current_schema() AND lower(table_name) = lower('" +
             Quote(table) + "')";
    case SqlDialect::SqlServer:
      return "SELECT table_name FROM information_schema.tables"
             " WHERE table_schema = SCHEMA_NAME() AND table_name = '" +
             Quote(table) + "'";
  }
  return {};
}

}  // namespace

std::vector<std::string> SchemaStatements(SqlDialect dialect) {
  switch (dialect) {
    case SqlDialect::Sqlite:
      return Joined(kSqliteStatements,
                    HistoryStatements({"INTEGER PRIMARY KEY AUTOINCREMENT", "text", "text",
                                       "text COLLATE NOCASE", "integer", "integer"},
                                      "CREATE TABLE IF NOT EXISTS", CreateIndexIfNotExists));
    case SqlDialect::PostgreSql:
      return Joined(kPostgreSqlStatements,
                    HistoryStatements({"bigint GENERATED BY DEFAULT AS IDENTITY PRIMARY KEY",
                                       "timestamp(3)", "text", "text COLLATE xel_nocase", "bigint",
                                       "bigint DEFAULT txid_current()"},
                                      "CREATE TABLE IF NOT EXISTS", CreateIndexIfNotExists));
    case SqlDialect::SqlServer:
      return Joined(
          kSqlServerStatements,
          HistoryStatements({"bigint IDENTITY(1,1) PRIMARY KEY", "datetime", "nvarchar(max)",
                             "nvarchar(50)", "bigint", "bigint DEFAULT CURRENT_TRANSACTION_ID()"},
                            "IF OBJECT_ID(N'XEL_Historial', N'U') IS NULL CREATE TABLE",
                            [](const char* name) {
                              return std::string(
                                         "IF NOT EXISTS (SELECT * FROM sys.indexes WHERE name "
                                         "= N'") +
                                     name + "') CREATE INDEX " + name;
                            }));
  }
  return {};
}

void CreateSchema(Connection& db) {
  RunInTransaction(db, [&] {
    for (const std::string& statement : SchemaStatements(db.Dialect())) {
      db.Execute(statement);
    }
  });
}

std::vector<std::string> MissingTables(Connection& db) {
  std::vector<std::string> missing;
  for (const char* table : {sql::XEL_Clase_Variable, sql::XEL_Configuracion}) {
    if (!TablaPresente(db, table)) {
      missing.emplace_back(table);
    }
  }
  return missing;
}

bool TablaPresente(Connection& db, const char* table) {
  auto rows = db.Execute(TableLookup(db.Dialect(), table));
  const bool present = !rows->Eof();
  rows->Close();
  return present;
}

bool HasSchema(Connection& db) {
  return MissingTables(db).empty();
}

}  // namespace xel
