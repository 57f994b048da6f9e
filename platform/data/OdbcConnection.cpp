#include "platform/data/OdbcConnection.h"

#include <sql.h>
#include <sqlext.h>
#include <unicode/unistr.h>
#include <unicode/ustring.h>

#include <optional>
#include <string_view>
#include <utility>
#include <vector>

#include "platform/data/BufferedRecordset.h"
#include "platform/data/SqlText.h"
#include "platform/text/AsciiCase.h"
#include "platform/text/Numeric.h"
#include "platform/text/SearchText.h"

namespace xel {
namespace {

// A text as the driver takes it: UTF-16 ending with a NUL. A text that is not well-formed UTF-8
// (a stray or missing continuation byte, an over-long form, an encoded surrogate, a character past
// U+10FFFF) cannot be carried faithfully and never reaches the server.
using WideText = std::vector<SQLWCHAR>;

WideText ToWide(std::string_view text) {
  UErrorCode status = U_ZERO_ERROR;
  int32_t length = 0;
  u_strFromUTF8(nullptr, 0, &length, text.data(), static_cast<int32_t>(text.size()), &status);
  std::u16string utf16(static_cast<size_t>(length), u'\0');
  status = status == U_BUFFER_OVERFLOW_ERROR ? U_ZERO_ERROR : status;
  u_strFromUTF8(utf16.data(), length, nullptr, text.data(), static_cast<int32_t>(text.size()),
                &status);
  if (U_FAILURE(status)) {
    throw RuntimeError(err::InvalidProcedureCall, "The text is not valid UTF-8.");
  }
  WideText wide(utf16.begin(), utf16.end());
  wide.push_back(0);
  return wide;
}

// A text the driver gives, in UTF-8; a surrogate without its other half becomes U+FFFD.
std::string Utf8Of(std::u16string_view utf16) {
  std::string utf8;
  icu::UnicodeString(utf16.data(), static_cast<int32_t>(utf16.size())).toUTF8String(utf8);
  return utf8;
}

std::string FromWide(const SQLWCHAR* text, size_t length) {
  return Utf8Of(std::u16string(text, text + length));
}

[[noreturn]] void FailWith(const std::string& description) {
  throw RuntimeError(err::DatabaseError, description);
}

// One ODBC handle, freed with the object.
class Handle {
 public:
  Handle(SQLSMALLINT type, SQLHANDLE parent) : type_(type) {
    if (!SQL_SUCCEEDED(SQLAllocHandle(type, parent, &handle_))) {
      FailWith("The ODBC driver manager could not make a handle; is unixODBC installed?");
    }
  }
  ~Handle() { SQLFreeHandle(type_, handle_); }
  Handle(const Handle&) = delete;
  Handle& operator=(const Handle&) = delete;

  SQLHANDLE Get() const { return handle_; }

  // The driver's messages about the last call on this handle, one line each.
  std::string Diagnostics() const {
    std::string messages;
    for (SQLSMALLINT record = 1; Append(record, messages); ++record) {
    }
    return messages.empty() ? "The ODBC driver reported a failure without a message." : messages;
  }

  [[noreturn]] void Fail() const { FailWith(Diagnostics()); }

  // Goes on after success, a warning and "no rows" (an UPDATE that changed none); fails otherwise.
  void Check(SQLRETURN result) const {
    if (!SQL_SUCCEEDED(result) && result != SQL_NO_DATA) {
      Fail();
    }
  }

 private:
  bool Append(SQLSMALLINT record, std::string& messages) const {
    SQLWCHAR state[6];
    SQLINTEGER native = 0;
    SQLSMALLINT length = 0;
    std::vector<SQLWCHAR> text(512);
    SQLRETURN result;
    while (
        SQL_SUCCEEDED(result = SQLGetDiagRecW(type_, handle_, record, state, &native, text.data(),
                                              static_cast<SQLSMALLINT>(text.size()), &length)) &&
        static_cast<size_t>(length) >= text.size()) {
      text.resize(length + 1);
    }
    if (!SQL_SUCCEEDED(result)) {
      return false;
    }
    messages += (messages.empty() ? "" : "\n") + FromWide(text.data(), length);
    return true;
  }

  SQLSMALLINT type_;
  SQLHANDLE handle_ = SQL_NULL_HANDLE;
};

SqlDialect DialectOfServer(std::string_view dbmsName) {
  if (dbmsName.find("PostgreSQL") != std::string_view::npos) {
    return SqlDialect::PostgreSql;
  }
  if (dbmsName.find("SQL Server") != std::string_view::npos) {
    return SqlDialect::SqlServer;
  }
  FailWith("The database server \"" + std::string(dbmsName) +
           "\" cannot hold the store; it needs PostgreSQL or Microsoft SQL Server.");
}

// One text the driver reports about the connection (SQL_DBMS_NAME, SQL_SERVER_NAME, ...).
std::string InfoText(const Handle& connection, SQLUSMALLINT what) {
  SQLWCHAR text[256];
  SQLSMALLINT bytes = 0;
  connection.Check(SQLGetInfoW(connection.Get(), what, text, sizeof text, &bytes));
  size_t length = std::min<size_t>(bytes / sizeof(SQLWCHAR), std::size(text) - 1);
  return FromWide(text, length);
}

// The server and database the driver says it reached, read from the driver rather than from the
// connection string, so that nothing else of the string (a password) can reach a title.
std::string ServerAndDatabase(const Handle& connection) {
  std::string server = InfoText(connection, SQL_SERVER_NAME);
  std::string database = InfoText(connection, SQL_DATABASE_NAME);
  if (server.empty()) {
    return database;
  }
  return database.empty() ? server : server + "/" + database;
}

// A text for the server holds one statement: several are refused before any of them runs, so that
// no value, however quoted, can ever carry a statement of its own.
void RequireOneStatement(const std::string& text, SqlDialect dialect) {
  if (text.find('\0') != std::string::npos) {
    FailWith("The command text holds a NUL character.");
  }
  switch (CountStatements(text, dialect)) {
    case StatementCount::None:
      FailWith("The command text holds no statement.");
    case StatementCount::Several:
      FailWith("The command text holds more than one statement.");
    case StatementCount::One:
      break;
  }
}

// On PostgreSQL the store's functions are called in their own schema, never looked for along the
// search path, where another role could have put a function of the same name.
std::string QualifyServerFunctions(const std::string& text) {
  return RenameCalls(text, SqlDialect::PostgreSql, [](std::string_view name) {
    for (std::string_view function : {"getdate", "isnull", "isnumeric", kSearchFunction}) {
      if (SameIgnoringCase(name, function)) {
        return std::string(kServerFunctionSchema) + "." + std::string(name);
      }
    }
    return std::string();
  });
}

// The values bound to a statement's ? markers; they must live until the statement has run.
class BoundValues {
 public:
  BoundValues(const Handle& statement, const Connection::Parameters& parameters) {
    SQLSMALLINT markers = 0;
    statement.Check(SQLNumParams(statement.Get(), &markers));
    if (static_cast<size_t>(markers) != parameters.size()) {
      FailWith("The statement takes " + std::to_string(markers) + " values; " +
               std::to_string(parameters.size()) + " were given.");
    }
    texts_.reserve(parameters.size());
    lengths_.reserve(parameters.size());
    for (const std::string& parameter : parameters) {
      Bind(statement, ToWide(parameter));
    }
  }

 private:
  void Bind(const Handle& statement, WideText text) {
    texts_.push_back(std::move(text));
    WideText& bound = texts_.back();
    SQLULEN characters = bound.size() - 1;
    lengths_.push_back(static_cast<SQLLEN>(characters * sizeof(SQLWCHAR)));
    statement.Check(SQLBindParameter(
        statement.Get(), static_cast<SQLUSMALLINT>(texts_.size()), SQL_PARAM_INPUT, SQL_C_WCHAR,
        SQL_WVARCHAR, std::max<SQLULEN>(characters, 1), 0, bound.data(),
        static_cast<SQLLEN>(bound.size() * sizeof(SQLWCHAR)), &lengths_.back()));
  }

  std::vector<WideText> texts_;
  std::vector<SQLLEN> lengths_;
};

std::string ColumnName(const Handle& statement, SQLUSMALLINT column) {
  std::vector<SQLWCHAR> name(128);
  SQLSMALLINT length = 0;
  SQLSMALLINT type = 0, digits = 0, nullable = 0;
  SQLULEN size = 0;
  do {
    if (static_cast<size_t>(length) >= name.size()) {
      name.resize(length + 1);
    }
    statement.Check(SQLDescribeColW(statement.Get(), column, name.data(),
                                    static_cast<SQLSMALLINT>(name.size()), &length, &type, &size,
                                    &digits, &nullable));
  } while (static_cast<size_t>(length) >= name.size());
  return FromWide(name.data(), length);
}

// One value of the current row, as text, read in parts however long it is.
FieldValue ReadValue(const Handle& statement, SQLUSMALLINT column) {
  std::u16string value;
  SQLWCHAR part[2048];
  // The driver ends each part with a NUL, which takes room from the characters.
  constexpr size_t kRoom = std::size(part) - 1;
  for (;;) {
    SQLLEN indicator = 0;
    SQLRETURN result =
        SQLGetData(statement.Get(), column, SQL_C_WCHAR, part, sizeof part, &indicator);
    if (result == SQL_NO_DATA) {
      break;
    }
    statement.Check(result);
    if (indicator == SQL_NULL_DATA) {
      return FieldValue::Null();
    }
    bool cut =
        indicator == SQL_NO_TOTAL || static_cast<size_t>(indicator) > kRoom * sizeof(SQLWCHAR);
    value.append(part, part + (cut ? kRoom : indicator / sizeof(SQLWCHAR)));
    if (!cut) {
      break;
    }
  }
  return FieldValue(Utf8Of(value));
}

std::unique_ptr<Recordset> ReadRows(const Handle& statement, SQLSMALLINT columns) {
  std::vector<std::string> names;
  for (SQLUSMALLINT column = 1; column <= columns; ++column) {
    names.push_back(ColumnName(statement, column));
  }
  std::vector<BufferedRecordset::Row> rows;
  SQLRETURN result;
  while ((result = SQLFetch(statement.Get())) != SQL_NO_DATA) {
    statement.Check(result);
    BufferedRecordset::Row& row = rows.emplace_back();
    for (SQLUSMALLINT column = 1; column <= columns; ++column) {
      row.push_back(ReadValue(statement, column));
    }
  }
  return std::make_unique<BufferedRecordset>(std::move(names), std::move(rows));
}

// The rows of a query; for any other statement no rows, and the count of rows it changed.
std::unique_ptr<Recordset> ReadResult(const Handle& statement, long& recordsAffected) {
  SQLSMALLINT columns = 0;
  statement.Check(SQLNumResultCols(statement.Get(), &columns));
  if (columns > 0) {
    return ReadRows(statement, columns);
  }
  SQLLEN rows = 0;
  statement.Check(SQLRowCount(statement.Get(), &rows));
  recordsAffected = rows > 0 ? static_cast<long>(rows) : 0;
  return std::make_unique<BufferedRecordset>();
}

}  // namespace

struct OdbcConnection::Handles {
  Handle environment{SQL_HANDLE_ENV, SQL_NULL_HANDLE};
  std::unique_ptr<Handle> connection;
  bool connected = false;

  ~Handles() {
    if (connected) {
      SQLDisconnect(connection->Get());
    }
  }

  SQLHDBC Dbc() const { return connection->Get(); }

  void SetAutocommit(bool on) const {
    auto value = reinterpret_cast<SQLPOINTER>(on ? SQL_AUTOCOMMIT_ON : SQL_AUTOCOMMIT_OFF);
    connection->Check(SQLSetConnectAttrW(Dbc(), SQL_ATTR_AUTOCOMMIT, value, SQL_IS_UINTEGER));
  }
};

OdbcConnection::OdbcConnection(const std::string& odbcString)
    : handles_(std::make_unique<Handles>()) {
  Handles& h = *handles_;
  h.environment.Check(SQLSetEnvAttr(h.environment.Get(), SQL_ATTR_ODBC_VERSION,
                                    reinterpret_cast<SQLPOINTER>(SQL_OV_ODBC3), 0));
  h.connection = std::make_unique<Handle>(SQL_HANDLE_DBC, h.environment.Get());
  WideText wide = ToWide(odbcString);
  // The driver's message names what failed; the string itself is not repeated, as it may hold a
  // password.
  h.connection->Check(SQLDriverConnectW(h.Dbc(), nullptr, wide.data(), SQL_NTS, nullptr, 0, nullptr,
                                        SQL_DRIVER_NOPROMPT));
  h.connected = true;
  dialect_ = DialectOfServer(InfoText(*h.connection, SQL_DBMS_NAME));
  storeName_ = ServerAndDatabase(*h.connection);
  if (dialect_ == SqlDialect::PostgreSql) {
    // Quoted values carry a backslash as a plain character, whatever the database's setting; read
    // as an escape it could end a value early and change the statement.
    Execute("SET standard_conforming_strings = on");
  }
}

OdbcConnection::~OdbcConnection() {
  if (transactionBegun_) {
    SQLEndTran(SQL_HANDLE_DBC, handles_->Dbc(), SQL_ROLLBACK);
  }
}

std::unique_ptr<Recordset> OdbcConnection::DoExecute(const std::string& text,
                                                     const Parameters& parameters) {
  recordsAffected_ = 0;
  RequireOneStatement(text, dialect_);
  WideText wide = ToWide(dialect_ == SqlDialect::PostgreSql ? QualifyServerFunctions(text) : text);
  Handle statement(SQL_HANDLE_STMT, handles_->Dbc());
  std::unique_ptr<BoundValues> bound;
  if (!parameters.empty()) {
    statement.Check(SQLPrepareW(statement.Get(), wide.data(), SQL_NTS));
    bound = std::make_unique<BoundValues>(statement, parameters);
  }
  statement.Check(bound ? SQLExecute(statement.Get())
                        : SQLExecDirectW(statement.Get(), wide.data(), SQL_NTS));
  return ReadResult(statement, recordsAffected_);
}

bool OdbcConnection::Lost() const {
  SQLUINTEGER dead = SQL_CD_FALSE;
  SQLRETURN result = SQLGetConnectAttrW(handles_->Dbc(), SQL_ATTR_CONNECTION_DEAD, &dead,
                                        SQL_IS_UINTEGER, nullptr);
  return SQL_SUCCEEDED(result) && dead == SQL_CD_TRUE;
}

void OdbcConnection::BeginTrans() {
  if (transactionBegun_) {
    FailWith("Only one transaction can be active on this session.");
  }
  handles_->SetAutocommit(false);
  transactionBegun_ = true;
}

void OdbcConnection::CommitTrans() {
  if (!transactionBegun_) {
    throw NoTransactionActive();
  }
  EndTransaction(true);
}

void OdbcConnection::RollbackTrans() {
  if (!transactionBegun_) {
    throw NoTransactionActive();
  }
  EndTransaction(false);
}

void OdbcConnection::EndTransaction(bool commit) {
  const Handle& connection = *handles_->connection;
  SQLRETURN result =
      SQLEndTran(SQL_HANDLE_DBC, connection.Get(), commit ? SQL_COMMIT : SQL_ROLLBACK);
  std::string failure = SQL_SUCCEEDED(result) ? "" : connection.Diagnostics();
  if (!failure.empty() && commit) {
    SQLEndTran(SQL_HANDLE_DBC, connection.Get(), SQL_ROLLBACK);
  }
  transactionBegun_ = false;
  handles_->SetAutocommit(true);
  if (!failure.empty()) {
    FailWith(failure);
  }
}

namespace {

// Each "key=value" of a connection string, in order; a value in braces may hold ';'.
template <class Visita>
void RecorreAtributos(std::string_view odbcString, Visita&& visita) {
  size_t start = 0;
  bool inBraces = false;
  for (size_t at = 0; at <= odbcString.size(); ++at) {
    char c = at < odbcString.size() ? odbcString[at] : ';';
    if (c == '{' || c == '}') {
      inBraces = c == '{';
    } else if (c == ';' && !inBraces) {
      if (at > start) {
        visita(odbcString.substr(start, at - start));
      }
      start = at + 1;
    }
  }
}

// The attribute's value when its key is `key`.
std::optional<std::string_view> ValorSiEs(std::string_view attribute, std::string_view key) {
  size_t equals = attribute.find('=');
  if (equals == std::string_view::npos ||
      !SameIgnoringCase(TrimBlanks(attribute.substr(0, equals)), key)) {
    return std::nullopt;
  }
  return attribute.substr(equals + 1);
}

}  // namespace

std::string OdbcAttribute(std::string_view odbcString, std::string_view key) {
  if (odbcString.starts_with("odbc:")) {
    odbcString.remove_prefix(5);
  }
  std::string value;
  RecorreAtributos(odbcString, [&](std::string_view attribute) {
    if (auto found = ValorSiEs(attribute, key)) {
      value = std::string(TrimBlanks(*found));
    }
  });
  return value;
}

std::string WithOdbcAttribute(const std::string& odbcString, std::string_view key,
                              std::string_view value) {
  std::string result;
  RecorreAtributos(odbcString, [&](std::string_view attribute) {
    if (!ValorSiEs(attribute, key)) {
      result.append(attribute).append(";");
    }
  });
  return result.append(key).append("=").append(value).append(";");
}

}  // namespace xel
