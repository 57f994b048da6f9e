#pragma once

#include <cstddef>
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

enum class StatementCount { None, One, Several };

// How many statements a text holds: a ';' outside quoted pieces and comments ends one, and a text
// of only blanks, comments and ';' holds none. The text is read token by token as the server reads
// it (a word is read whole, so the "E'" closing "WHERE'" opens no escaped text), so that no ';' the
// server would take for the end of a statement goes unseen.
StatementCount CountStatements(std::string_view text, SqlDialect dialect);

}  // namespace xel
