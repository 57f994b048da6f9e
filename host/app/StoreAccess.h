#pragma once

#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "host/TracingConnection.h"
#include "host/app/Options.h"
#include "platform/data/Database.h"
#include "store/ContenidoDelStore.h"
#include "store/Historial.h"

namespace xel::app {

// The store the options name: --db's connection, or the demo store in the user's data folder,
// made with the demo settings on first use. A server that ends the session is connected to again
// at the next statement outside a transaction. A server store made before its functions had a
// schema of their own is refused with the command that makes them.
std::unique_ptr<Connection> OpenStore(const Options& options);

// The store as a command works on it: with --trace-sql FILE, every call is written down in FILE
// first. A trace file that cannot be opened or is refused is a run-time error that says why.
class TracedStore {
 public:
  TracedStore(Connection& store, const Options& options);
  Connection& Get() { return traced_ ? *traced_ : store_; }

 private:
  Connection& store_;
  std::unique_ptr<std::ostream> file_;
  std::unique_ptr<TracingConnection> traced_;
};

// What to tell when the store lacks some of its tables, with the command that makes them.
std::string MissingTablesText(const std::vector<std::string>& missing, const Options& options);

// Runs some work of a command-line operation: a failure is told on the error stream as
// "xel02: ..." and ends with exit code 1; otherwise the work's own code is returned.
int Reported(const std::function<int()>& work);

// Runs a command-line operation on the store the options name, once it is open and holds both
// tables. A failure of any step is told on the error stream as "xel02: ..." and ends with exit
// code 1; otherwise the operation's own code is returned. Nothing here needs a screen.
int RunOnStore(const Options& options, const std::function<int(Connection&)>& operation);

// A text for standard output: on a terminal, with what could act on it shown escaped (line breaks
// kept); into a pipe or a file, as it is, so that scripts get the bytes as stored.
std::string ForTheOutput(std::string_view text);

// The exit code of a command whose data went to standard output: 0 once all of it is written;
// a run-time error when it could not be (a full disk, a closed file).
int OutputWritten();

// The connection, once its store is known to keep a history; otherwise a run-time error that
// says how to add it.
Connection& RequireHistory(Connection& db);

// The store's history as the session's user writes it: "/USR name" on the command line, else
// the login name.
Historial HistoryOf(Connection& db);

// The tree a listing or an export shows: the whole store's, or with a class code (--class, list
// CLASS) that class's; with --as-of DATE as the store stood then, told by its history. Rows no
// class of the whole tree reaches are left out, as the editor leaves them out; how many there are
// is told on the error stream.
Arbol TreeToShow(const Options& options, Connection& db);

}  // namespace xel::app
