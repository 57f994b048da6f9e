#include "platform/data/Database.h"

#include <charconv>
#include <cstdint>
#include <limits>

#include "platform/data/OdbcConnection.h"
#include "platform/data/SqliteConnection.h"
#include "platform/text/Numeric.h"

namespace xel {
namespace {

// The kinds of store a connection string can name, by the prefix that names them.
struct StoreKind {
  std::string_view prefix;
  std::unique_ptr<Connection> (*open)(const std::string& rest);
};

constexpr StoreKind kStoreKinds[] = {
    {"sqlite:",
     [](const std::string& path) -> std::unique_ptr<Connection> {
       return std::make_unique<SqliteConnection>(path);
     }},
    {"odbc:",
     [](const std::string& odbcString) -> std::unique_ptr<Connection> {
       return std::make_unique<OdbcConnection>(odbcString);
     }},
};

// A failing rollback must not hide the failure that made it necessary.
void RollBackQuietly(Connection& db) {
  try {
    if (db.InTransaction()) {
      db.RollbackTrans();
    }
  } catch (const std::exception&) {
  }
}

}  // namespace

long FieldValue::AsLong() const {
  std::string_view number = TrimBlanks(text_);
  if (number.size() > 1 && number[0] == '+' && number[1] != '-') {
    number.remove_prefix(1);
  }
  long long value = 0;
  auto [end, error] = std::from_chars(number.data(), number.data() + number.size(), value);
  bool isWholeNumber =
      !isNull_ && error != std::errc::invalid_argument && end == number.data() + number.size();
  if (!isWholeNumber) {
    throw RuntimeError(err::TypeMismatch, "Type mismatch");
  }
  if (error == std::errc::result_out_of_range || value < std::numeric_limits<std::int32_t>::min() ||
      value > std::numeric_limits<std::int32_t>::max()) {
    throw RuntimeError(err::Overflow, "Overflow");
  }
  return static_cast<long>(value);
}

RuntimeError NoTransactionActive() {
  return RuntimeError(err::NoTransaction, "No transaction is active.");
}

void RunInTransaction(Connection& db, const std::function<void()>& work) {
  if (db.InTransaction()) {
    work();
    return;
  }
  db.BeginTrans();
  try {
    work();
    db.CommitTrans();
  } catch (const std::exception&) {
    RollBackQuietly(db);
    throw;
  }
}

std::unique_ptr<Connection> OpenConnection(const std::string& connectionString) {
  for (const StoreKind& kind : kStoreKinds) {
    if (connectionString.starts_with(kind.prefix)) {
      return kind.open(connectionString.substr(kind.prefix.size()));
    }
  }
  // The string itself is not repeated: it may hold a password.
  throw RuntimeError(err::ProviderNotFound,
                     "The kind of store in the connection string is not known; known kinds: "
                     "sqlite:PATH, odbc:ODBC-CONNECTION-STRING.");
}

}  // namespace xel
