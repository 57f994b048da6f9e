#include "store/Schema.h"

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
      return kSqliteStatements;
    case SqlDialect::PostgreSql:
      return kPostgreSqlStatements;
    case SqlDialect::SqlServer:
      return kSqlServerStatements;
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
    if (db.Execute(TableLookup(db.Dialect(), table))->Eof()) {
      missing.emplace_back(table);
    }
  }
  return missing;
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
