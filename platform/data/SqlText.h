#pragma once

#include <cstddef>
#include <functional>
#include <string>
#include <string_view>

namespace xel {

// The database servers whose statement texts the data access reads: the embedded store, and the
// servers reached through ODBC.
enum class SqlDialect { Sqlite, PostgreSql, SqlServer };

// The characters a word (a keyword, a name, a function) is made of: ASCII letters and digits, '_',
// '$' and every byte of a multi-byte character.
bool IsSqlWordChar(char c);
bool IsSqlBlank(char c);
// The end of the word that starts at `start`.
size_t EndOfWord(std::string_view text, size_t start);

// The end of the quoted text, quoted name or comment that starts at `start`, the start of a token
// of a statement in `dialect`; `start` itself when none starts there. Quoted pieces double their
// quote to hold it. Besides '...', "..." and the two comment forms, SQLite reads `...` and [...],
// SQL Server [...] and nested comments, PostgreSQL E'...' (with backslash escapes), $tag$...$tag$
// and nested comments. An unclosed piece runs to the end of the text.
size_t EndOfQuotedOrComment(std::string_view text, size_t start, SqlDialect dialect);

// The statement with the calls of some functions written under other names: every whole word
// followed, after optional blanks, by "(" and not already qualified by a schema ("s.name") is
// passed to `rename`, and replaced by what it gives unless that is empty. Quoted texts, quoted
// names and comments stay exactly as they are.
std::string RenameCalls(std::string_view statement, SqlDialect dialect,
                        const std::function<std::string(std::string_view name)>& rename);

// The schema that holds, on PostgreSQL, the functions the store's statements call (getdate, isnull,
// isnumeric and the search's): a schema of their own, in which only its owner can create anything,
// so that no other role's function of the same name is ever called in their place. Its name is
// no likely role name: a schema named like a role comes first on that role's search path ("$user")
// and would take the tables it makes.
inline constexpr char kServerFunctionSchema[] = "xel02_funciones";

enum class StatementCount { None, One, Several };

// How many statements a text holds: a ';' outside quoted pieces and comments ends one, and a text
// of only blanks, comments and ';' holds none. The text is read token by token as the server reads
// it (a word is read whole, so the "E'" closing "WHERE'" opens no escaped text), so that no ';' the
// server would take for the end of a statement goes unseen.
StatementCount CountStatements(std::string_view text, SqlDialect dialect);

}  // namespace xel
