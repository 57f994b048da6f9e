#include "platform/data/SqliteConnection.h"

#include <sqlite3.h>
#include <filesystem>

#include <cstdio>
#include <ctime>
#include <utility>
#include <vector>

#include "platform/data/BufferedRecordset.h"
#include "platform/data/SqliteDialect.h"
#include "platform/text/Numeric.h"
#include "platform/text/SearchText.h"

namespace xel {
namespace {

using StatementPtr = std::unique_ptr<sqlite3_stmt, FinalizeSqliteStatement>;

constexpr char kTransactionEnded[] =
    "The database ended the transaction after an earlier failure and undid its changes.";

[[noreturn]] void FailWithMessageOf(sqlite3* db) {
  throw RuntimeError(err::DatabaseError, sqlite3_errmsg(db));
}

[[noreturn]] void FailWith(const char* description) {
  throw RuntimeError(err::DatabaseError, description);
}

// The server's getdate(): the current local date and time, to the millisecond.
void GetDate(sqlite3_context* context, int, sqlite3_value**) {
  auto now = std::chrono::system_clock::now();
  std::time_t seconds = std::chrono::system_clock::to_time_t(now);
  auto millis = std::chrono::duration_cast<std::chrono::milliseconds>(now.time_since_epoch());
  std::tm local{};
  localtime_r(&seconds, &local);
  char text[32];
  size_t length = std::strftime(text, sizeof text, "%Y-%m-%d %H:%M:%S", &local);
  std::snprintf(text + length, sizeof text - length, ".%03d",
                static_cast<int>(millis.count() % 1000));
  sqlite3_result_text(context, text, -1, SQLITE_TRANSIENT);
}

// A function's argument read as text (UTF-8); empty when it has none.
std::string_view TextArgument(sqlite3_value* value) {
  const char* text = reinterpret_cast<const char*>(sqlite3_value_text(value));
  return text ? std::string_view(text, sqlite3_value_bytes(value)) : std::string_view();
}

// The server's ISNUMERIC(x): 1 for a number, or a text that reads as one; 0 otherwise.
void IsNumeric(sqlite3_context* context, int, sqlite3_value** args) {
  bool numeric = false;
  switch (sqlite3_value_type(args[0])) {
    case SQLITE_INTEGER:
    case SQLITE_FLOAT:
      numeric = true;
      break;
    case SQLITE_NULL:
      break;
    default:
      numeric = ReadsAsNumber(TextArgument(args[0]));
  }
  sqlite3_result_int(context, numeric ? 1 : 0);
}

// The search's xel_contiene(text, wanted): 1 when the text holds the wanted one, letter case and
// accents aside; 0 otherwise, and for a NULL. SQLite keeps the folded wanted text with the
// statement while that argument stays the same, so that a search folds it once, not once per row.
void Contains(sqlite3_context* context, int, sqlite3_value** args) {
  if (sqlite3_value_type(args[0]) == SQLITE_NULL || sqlite3_value_type(args[1]) == SQLITE_NULL) {
    sqlite3_result_int(context, 0);
    return;
  }
  constexpr int kWanted = 1;
  const auto* kept = static_cast<const std::string*>(sqlite3_get_auxdata(context, kWanted));
  std::string wanted = kept ? std::string() : FoldedForSearch(TextArgument(args[kWanted]));
  bool holds = HoldsFolded(TextArgument(args[0]), kept ? *kept : wanted);
  if (!kept) {
    sqlite3_set_auxdata(context, kWanted, new std::string(std::move(wanted)),
                        [](void* folded) { delete static_cast<std::string*>(folded); });
  }
  sqlite3_result_int(context, holds ? 1 : 0);
}

void RegisterServerFunctions(sqlite3* db) {
  constexpr int kPure = SQLITE_UTF8 | SQLITE_DETERMINISTIC;
  if (sqlite3_create_function_v2(db, "getdate", 0, SQLITE_UTF8, nullptr, GetDate, nullptr, nullptr,
                                 nullptr) != SQLITE_OK ||
      sqlite3_create_function_v2(db, "ISNUMERIC", 1, kPure, nullptr, IsNumeric, nullptr, nullptr,
                                 nullptr) != SQLITE_OK ||
      sqlite3_create_function_v2(db, kSearchFunction, 2, kPure, nullptr, Contains, nullptr, nullptr,
                                 nullptr) != SQLITE_OK) {
    FailWithMessageOf(db);
  }
}

// Whether anything but blanks and comments follows the first statement of a text.
bool HoldsMoreStatements(sqlite3* db, const char* tail, const char* end) {
  sqlite3_stmt* next = nullptr;
  int result = sqlite3_prepare_v2(db, tail, static_cast<int>(end - tail), &next, nullptr);
  sqlite3_finalize(next);
  return result != SQLITE_OK || next != nullptr;
}

// Prepares the one statement of a text. A text holding several is refused before any of them runs,
// so that no value, however quoted, can ever carry a statement of its own.
StatementPtr PrepareSingle(sqlite3* db, const std::string& text) {
  sqlite3_stmt* raw = nullptr;
  const char* tail = nullptr;
  if (sqlite3_prepare_v2(db, text.data(), static_cast<int>(text.size()), &raw, &tail) !=
      SQLITE_OK) {
    FailWithMessageOf(db);
  }
  StatementPtr statement(raw);
  if (!statement) {
    FailWith("The command text holds no statement.");
  }
  if (HoldsMoreStatements(db, tail, text.data() + text.size())) {
    FailWith("The command text holds more than one statement.");
  }
  return statement;
}

BufferedRecordset::Row ReadRow(sqlite3_stmt* statement, int columns) {
  BufferedRecordset::Row row;
  row.reserve(columns);
  for (int i = 0; i < columns; ++i) {
    if (sqlite3_column_type(statement, i) == SQLITE_NULL) {
      row.push_back(FieldValue::Null());
    } else {
      const char* text = reinterpret_cast<const char*>(sqlite3_column_text(statement, i));
      row.emplace_back(std::string(text, sqlite3_column_bytes(statement, i)));
    }
  }
  return row;
}

void Bind(sqlite3* db, sqlite3_stmt* statement, const Connection::Parameters& parameters) {
  if (static_cast<int>(parameters.size()) != sqlite3_bind_parameter_count(statement)) {
    throw RuntimeError(err::DatabaseError,
                       "The statement takes " +
                           std::to_string(sqlite3_bind_parameter_count(statement)) + " values; " +
                           std::to_string(parameters.size()) + " were given.");
  }
  for (size_t i = 0; i < parameters.size(); ++i) {
    if (sqlite3_bind_text(statement, static_cast<int>(i) + 1, parameters[i].data(),
                          static_cast<int>(parameters[i].size()), SQLITE_TRANSIENT) != SQLITE_OK) {
      throw RuntimeError(err::DatabaseError, sqlite3_errmsg(db));
    }
  }
}

// The columns are read after the first step: a kept statement whose tables changed since it was
// compiled is compiled again by that step, and only then names the columns the tables have now.
std::unique_ptr<Recordset> RunToEnd(sqlite3* db, sqlite3_stmt* statement) {
  int result = sqlite3_step(statement);
  int columns = sqlite3_column_count(statement);
  std::vector<std::string> names;
  for (int i = 0; i < columns; ++i) {
    names.emplace_back(sqlite3_column_name(statement, i));
  }
  std::vector<BufferedRecordset::Row> rows;
  for (; result == SQLITE_ROW; result = sqlite3_step(statement)) {
    rows.push_back(ReadRow(statement, columns));
  }
  if (result != SQLITE_DONE) {
    FailWithMessageOf(db);
  }
  return std::make_unique<BufferedRecordset>(std::move(names), std::move(rows));
}

}  // namespace

void FinalizeSqliteStatement::operator()(sqlite3_stmt* statement) const {
  sqlite3_finalize(statement);
}

void SqliteConnection::CloseDatabase::operator()(sqlite3* db) const {
  sqlite3_close_v2(db);
}

SqliteConnection::SqliteConnection(const std::string& path) : SqliteConnection(path, Options{}) {}

SqliteConnection::SqliteConnection(const std::string& path, Options options) {
  if (path.empty()) {
    FailWith("The connection names no database file.");
  }
  sqlite3* db = nullptr;
  int result =
      sqlite3_open_v2(path.c_str(), &db, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE, nullptr);
  db_.reset(db);
  if (result != SQLITE_OK) {
    throw RuntimeError(err::DatabaseError,
                       std::string(db ? sqlite3_errmsg(db) : "out of memory") + ": " + path);
  }
  Configure(options);
  if (path != ":memory:") {
    storeName_ = std::filesystem::path(path).filename().string();
  }
}

SqliteConnection::~SqliteConnection() = default;

void SqliteConnection::Configure(Options options) {
  // A store file may come from anyone: no statement may rewrite its schema behind SQLite's back,
  // and the triggers and views it holds may not call the program's own functions.
  if (sqlite3_db_config(db_.get(), SQLITE_DBCONFIG_DEFENSIVE, 1, nullptr) != SQLITE_OK ||
      sqlite3_db_config(db_.get(), SQLITE_DBCONFIG_TRUSTED_SCHEMA, 0, nullptr) != SQLITE_OK) {
    FailWithMessageOf(db_.get());
  }
  sqlite3_busy_timeout(db_.get(), static_cast<int>(options.busyTimeout.count()));
  // Readers go on reading the last committed state while another editor writes.
  RunControlStatement("PRAGMA journal_mode=WAL");
  RegisterServerFunctions(db_.get());
}

std::unique_ptr<Recordset> SqliteConnection::DoExecute(const std::string& text,
                                                       const Parameters& parameters) {
  recordsAffected_ = 0;
  if (TransactionEndedByDatabase()) {
    FailWith(kTransactionEnded);
  }
  if (text.find('\0') != std::string::npos) {
    FailWith("The command text holds a NUL character.");
  }
  std::string carried = CarryIsNullAsIfNull(text);
  Parameters lifted = parameters.empty() ? LiftQuotedTexts(carried) : Parameters{};
  sqlite3_stmt* statement = Prepared(carried);
  // A kept statement is made ready for its next use however this one ends.
  std::unique_ptr<sqlite3_stmt, void (*)(sqlite3_stmt*)> release(statement, [](sqlite3_stmt* s) {
    sqlite3_reset(s);
    sqlite3_clear_bindings(s);
  });
  Bind(db_.get(), statement, parameters.empty() ? lifted : parameters);
  sqlite3_int64 changesBefore = sqlite3_total_changes64(db_.get());
  std::unique_ptr<Recordset> result = RunToEnd(db_.get(), statement);
  // sqlite3_changes keeps the count of the last INSERT, UPDATE or DELETE whatever runs after it.
  if (sqlite3_total_changes64(db_.get()) != changesBefore) {
    recordsAffected_ = static_cast<long>(sqlite3_changes64(db_.get()));
  }
  return result;
}

sqlite3_stmt* SqliteConnection::Prepared(const std::string& text) {
  auto kept = prepared_.find(text);
  if (kept != prepared_.end()) {
    return kept->second.get();
  }
  if (prepared_.size() >= kPreparedLimit) {
    prepared_.clear();
  }
  StatementPtr statement = PrepareSingle(db_.get(), text);
  return prepared_.emplace(text, std::move(statement)).first->second.get();
}

void SqliteConnection::BeginTrans() {
  if (transactionBegun_) {
    FailWith("Only one transaction can be active on this session.");
  }
  RunControlStatement("BEGIN IMMEDIATE");
  transactionBegun_ = true;
}

void SqliteConnection::CommitTrans() {
  RequireTransaction();
  if (TransactionEndedByDatabase()) {
    transactionBegun_ = false;
    FailWith(kTransactionEnded);
  }
  EndTransaction("COMMIT");
}

void SqliteConnection::RollbackTrans() {
  RequireTransaction();
  if (TransactionEndedByDatabase()) {
    transactionBegun_ = false;  // already undone, as the caller wants
    return;
  }
  EndTransaction("ROLLBACK");
}

void SqliteConnection::RunControlStatement(const char* text) {
  if (sqlite3_exec(db_.get(), text, nullptr, nullptr, nullptr) != SQLITE_OK) {
    FailWithMessageOf(db_.get());
  }
}

// A commit that fails (the file busy, for instance) leaves the transaction open for a rollback.
void SqliteConnection::EndTransaction(const char* text) {
  int result = sqlite3_exec(db_.get(), text, nullptr, nullptr, nullptr);
  transactionBegun_ = !sqlite3_get_autocommit(db_.get());
  if (result != SQLITE_OK) {
    FailWithMessageOf(db_.get());
  }
}

void SqliteConnection::RequireTransaction() const {
  if (!transactionBegun_) {
    throw NoTransactionActive();
  }
}

bool SqliteConnection::TransactionEndedByDatabase() const {
  return transactionBegun_ && sqlite3_get_autocommit(db_.get());
}

}  // namespace xel
