#include "store/Schema.h"

#include <functional>

#include "platform/SearchText.h"
#include "platform/SqlText.h"
#include "store/Sql.h"

namespace xel {
namespace {

// A text as a PostgreSQL Unicode literal, every character beyond ASCII escaped so that the
// statement stays plain ASCII whatever the client's encoding.
std::string UnicodeLiteral(std::u32string_view text) {
  constexpr char kHexadecimal[] = "0123456789ABCDEF";
  std::string literal = "U&'";
  for (char32_t c : text) {
    if (c < 0x80 && c != '\\' && c != '\'') {
      literal += static_cast<char>(c);
      continue;
    }
    literal += "\\+";
    for (int shift = 20; shift >= 0; shift -= 4) {
      literal += kHexadecimal[(c >> shift) & 0xF];
    }
  }
  return literal + "'";
}

// A text the way the search compares it on PostgreSQL (platform/SearchText.h): a text of ASCII
// characters only is upper-cased; any other first has the few letters that need it replaced, then
// is upper-cased by the server's Unicode rules ("und-x-icu"), decomposed and stripped of its
// nonspacing marks, which costs more and is needed by few values. Texts are under "C" wherever
// they are searched: the columns' nondeterministic collation refuses replace(), strpos and
// regular expressions.
std::string PostgreSqlFolded(const std::string& text) {
  const ServerFolding& folding = FoldingForServers();
  std::string replaced = text + " COLLATE \"C\"";
  for (const auto& [letter, stand] : folding.beforeCasing) {
    replaced =
        "replace(" + replaced + ", " + UnicodeLiteral(letter) + ", " + UnicodeLiteral(stand) + ")";
  }
  std::u32string marks = U"[";
  for (const auto& [first, last] : folding.nonspacingMarks) {
    marks += first;
    if (last != first) {
      marks += U"-";
      marks += last;
    }
  }
  marks += U"]";
  return "CASE WHEN octet_length(" + text + ") = char_length(" + text + ") THEN upper(" + text +
         " COLLATE \"C\") ELSE regexp_replace(normalize(upper(" + replaced +
         " COLLATE \"und-x-icu\") COLLATE \"C\", NFD), " + UnicodeLiteral(marks) + ", '', 'g') END";
}

// The search's xel_contiene(text, wanted) on PostgreSQL. The wanted text is folded once per query,
// the function being inlined. normalize() needs the database in UTF8.
std::string PostgreSqlSearchFunction() {
  return std::string("CREATE OR REPLACE FUNCTION ") + kServerFunctionSchema + "." +
         kSearchFunction +
         "(text, text) RETURNS integer LANGUAGE sql IMMUTABLE AS $$SELECT CASE WHEN strpos(" +
         PostgreSqlFolded("$1") + ", " + PostgreSqlFolded("$2") + ") > 0 THEN 1 ELSE 0 END$$";
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

// On PostgreSQL, the writes other programs make straight into the two tables are recorded too,
// with the server's user, when their transaction commits. XEL02's own writes are left out: its
// entries of the same row in the same transaction already tell them (its entries carry a session
// user, theirs none), and a session that declares kHistorialPropio skips the triggers altogether.
// An update that changes nothing the history keeps is not recorded.
std::vector<std::string> PostgreSqlHistoryTriggers() {
  struct Tabla {
    const char* nombre;
    const char* entidad;
    const char* clave;
    const char* clase;    // the row's class, for the class's history
    const char* antes;    // value, description, type, parent, position before
    const char* despues;  // and after
    const char* accion;   // the action of an update
  };
  const Tabla tablas[] = {
      {"XEL_Configuracion", "V", "Cf_Variable", "Cv_Cve_Clase_Variable",
       "o.Cf_Valor, o.Cf_Descripcion, o.Cf_Tipo, NULL, NULL",
       "n.Cf_Valor, n.Cf_Descripcion, n.Cf_Tipo, NULL, NULL", "'C'"},
      {"XEL_Clase_Variable", "C", "Cv_Cve_Clase_Variable", "Cv_Cve_Clase_Variable",
       "NULL, o.Cv_Descripcion, NULL, o.Cv_Padre, o.Cv_Id",
       "NULL, n.Cv_Descripcion, NULL, n.Cv_Padre, n.Cv_Id",
       "CASE WHEN o.Cv_Padre IS DISTINCT FROM n.Cv_Padre OR o.Cv_Id IS DISTINCT FROM n.Cv_Id "
       "THEN 'M' ELSE 'C' END"},
  };
  // The triggers look for XEL02's entries of their own transaction by its id.
  std::vector<std::string> statements{
      "CREATE INDEX IF NOT EXISTS IX_XEL_Historial_Transaccion ON XEL_Historial (Hi_Transaccion)"};
  for (const Tabla& t : tablas) {
    // In the functions' own schema, like the store's other functions, so that no other role's
    // object of the same name takes its place.
    const std::string funcion = std::string(kServerFunctionSchema) + ".xel_historial_" + t.nombre;
    const std::string clave = std::string("coalesce(n.") + t.clave + ", o." + t.clave + ")";
    statements.push_back(
        "CREATE OR REPLACE FUNCTION " + funcion +
        "() RETURNS trigger LANGUAGE plpgsql AS $$"
        " DECLARE o " +
        t.nombre + "%ROWTYPE; n " + t.nombre +
        "%ROWTYPE;"
        " BEGIN"
        " IF to_regclass('xel_historial') IS NULL THEN RETURN NULL; END IF;"
        " IF TG_OP <> 'INSERT' THEN o := OLD; END IF;"
        " IF TG_OP <> 'DELETE' THEN n := NEW; END IF;"
        " IF TG_OP = 'UPDATE' AND ROW(" +
        t.antes + ") IS NOT DISTINCT FROM ROW(" + t.despues +
        ") THEN RETURN NULL; END IF;"
        " IF EXISTS (SELECT 1 FROM XEL_Historial WHERE Hi_Entidad = '" +
        t.entidad + "' AND Hi_Clave = " + clave +
        " AND Hi_Transaccion = txid_current() AND Hi_Usuario IS NOT NULL) THEN RETURN NULL; END IF;"
        " INSERT INTO XEL_Historial (Hi_Fecha, Hi_Usuario, Hi_UsuarioBd, Hi_Accion, Hi_Entidad,"
        " Hi_Clave, Hi_Clase, Hi_Valor_Antes, Hi_Descripcion_Antes, Hi_Tipo_Antes, Hi_Padre_Antes,"
        " Hi_Posicion_Antes, Hi_Valor, Hi_Descripcion, Hi_Tipo, Hi_Padre, Hi_Posicion)"
        " VALUES (" +
        std::string(kServerFunctionSchema) +
        ".getdate(), NULL, current_user, CASE TG_OP WHEN 'INSERT' THEN 'A' WHEN 'DELETE'"
        " THEN 'B' ELSE " +
        t.accion + " END, '" + t.entidad + "', " + clave + ", coalesce(n." + t.clase + ", o." +
        t.clase + "), " + t.antes + ", " + t.despues +
        ");"
        " RETURN NULL; END $$");
    const std::string disparador = std::string("xel_historial_") + t.nombre;
    statements.push_back("DROP TRIGGER IF EXISTS " + disparador + " ON " + t.nombre);
    statements.push_back(
        "CREATE CONSTRAINT TRIGGER " + disparador + " AFTER INSERT OR UPDATE OR DELETE ON " +
        t.nombre + " DEFERRABLE INITIALLY DEFERRED FOR EACH ROW WHEN (current_setting('" +
        kHistorialPropio + "', true) IS DISTINCT FROM 'on') EXECUTE FUNCTION " + funcion + "()");
  }
  return statements;
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
    // The functions have a schema of their own (see kServerFunctionSchema); the connection calls
    // them there.
    std::string("CREATE SCHEMA IF NOT EXISTS ") + kServerFunctionSchema,
    // The server's local time when the statement began, to the millisecond.
    std::string("CREATE OR REPLACE FUNCTION ") + kServerFunctionSchema +
        ".getdate() RETURNS timestamp LANGUAGE sql STABLE"
        " AS $$SELECT statement_timestamp()::timestamp(3)$$",
    // The key generator's IsNull(MAX(column), 0) on a text column; the server gives the type of the
    // first argument.
    std::string("CREATE OR REPLACE FUNCTION ") + kServerFunctionSchema +
        ".isnull(text, integer) RETURNS text LANGUAGE sql IMMUTABLE"
        " AS $$SELECT coalesce($1, $2::text)$$",
    std::string("CREATE OR REPLACE FUNCTION ") + kServerFunctionSchema +
        ".isnull(text, text) RETURNS text LANGUAGE sql IMMUTABLE AS $$SELECT coalesce($1, $2)$$",
    // 1 for a text that reads as a number as a whole (blanks around it, a sign, digits with an
    // optional point and fraction, ".5" and "5." included, an optional exponent), 0 otherwise.
    std::string("CREATE OR REPLACE FUNCTION ") + kServerFunctionSchema +
        R"(.isnumeric(text) RETURNS integer LANGUAGE sql IMMUTABLE)"
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
                    HistoryStatements({"INTEGER PRIMARY KEY", "text", "text", "text COLLATE NOCASE",
                                       "integer", "integer"},
                                      "CREATE TABLE IF NOT EXISTS", CreateIndexIfNotExists));
    case SqlDialect::PostgreSql:
      return Joined(Joined(kPostgreSqlStatements,
                           HistoryStatements({"bigint GENERATED BY DEFAULT AS IDENTITY PRIMARY KEY",
                                              "timestamp(3)", "text", "text COLLATE xel_nocase",
                                              "bigint", "bigint DEFAULT txid_current()"},
                                             "CREATE TABLE IF NOT EXISTS", CreateIndexIfNotExists)),
                    PostgreSqlHistoryTriggers());
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

void RequireServerFunctions(Connection& db) {
  if (db.Dialect() != SqlDialect::PostgreSql || !HasSchema(db)) {
    return;
  }
  auto found = db.Execute(
      "SELECT count(DISTINCT p.proname) AS n FROM pg_catalog.pg_proc p"
      " JOIN pg_catalog.pg_namespace s ON s.oid = p.pronamespace WHERE s.nspname = '" +
      Quote(kServerFunctionSchema) + "' AND p.proname IN ('getdate', 'isnull', 'isnumeric', '" +
      Quote(kSearchFunction) + "')");
  if (found->Field("n").AsLong() < 4) {
    throw RuntimeError(err::ItemNotFound,
                       std::string("The store's functions are not in the schema ") +
                           kServerFunctionSchema +
                           ", where this version calls them (the store was made by an earlier "
                           "one). Make them with: xel02 schema --db CONNECTION --apply");
  }
}

}  // namespace xel
