#pragma once

#include <string>
#include <vector>

#include "platform/Database.h"

namespace xel {

// The statements that make the store on a server of the given kind, each to run on its own and
// each creating only what is missing: the two tables and the history of their changes (with its
// indexes: by entry and key, by class, by date), with the indexes the tree's reads use
// (classes by parent and position, variables by class and key). Position numbers are not made
// unique: a store holding the same position twice must still load, and saving the tree renumbers
// every class. Keys compare without regard to letter case, as on the host's server (on SQL Server
// through the database's own case-insensitive collation). On PostgreSQL they also make the
// server's functions the editor's statements call, in their schema kServerFunctionSchema:
// getdate(), IsNull(text, integer or text) and ISNUMERIC(text); on both servers, the search's
// xel_contiene(text, wanted) (on SQL Server in dbo).
std::vector<std::string> SchemaStatements(SqlDialect dialect);

// The PostgreSQL setting by which a session says it records its own writes' history; the history
// triggers are not run for the writes of such a session.
inline constexpr char kHistorialPropio[] = "xel02.historial_propio";

// Makes what the connection's store lacks, in one transaction (or as part of the caller's).
void CreateSchema(Connection& db);

// The store tables the connection's database (on a server: its current schema) lacks, by name;
// empty when it holds both.
std::vector<std::string> MissingTables(Connection& db);
bool HasSchema(Connection& db);
// Whether the connection's database (on a server: its current schema) holds the table.
bool TablaPresente(Connection& db, const char* table);

// On PostgreSQL, a store that has both tables but not the functions in their schema (a store made
// before they had one) is a run-time error that asks for `xel02 schema --apply`; any other store
// passes.
void RequireServerFunctions(Connection& db);

}  // namespace xel
