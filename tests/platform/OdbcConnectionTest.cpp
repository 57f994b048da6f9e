// What the connection to a server through ODBC does beyond what every backend does alike.

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <string>

#include "platform/data/OdbcConnection.h"
#include "store/Sql.h"
#include "tests/platform/TestTable.h"
#include "tests/support/FailureOf.h"

namespace xel::testing {
namespace {

using ::testing::HasSubstr;
using ::testing::Not;
using Texts = std::vector<std::string>;

struct OdbcConnectionTest : TableTest {};

TEST_P(OdbcConnectionTest, AFailureToConnectNamesItsCauseAndKeepsThePasswordSecret) {
  const std::pair<std::string, const char*> cases[] = {
      {"odbc:Driver={No Such Driver};Uid=u;Pwd=s3cret;", "No Such Driver"},
      {WithOdbcAttribute(Store().ConnectionString(), "Pwd", "s3cret"),
       "password authentication failed"}};
  for (const auto& [connection, cause] : cases) {
    RuntimeError failure = FailureOf([&] { OpenConnection(connection); });
    EXPECT_EQ(failure.Number(), err::DatabaseError);
    EXPECT_THAT(failure.Description(), HasSubstr(cause));
    EXPECT_THAT(failure.Description(), Not(HasSubstr("s3cret")));
  }
}

TEST_P(OdbcConnectionTest, ACommitTheServerRefusesEndsTheTransactionWithNothingWritten) {
  Db().Execute("CREATE TABLE d (k text UNIQUE DEFERRABLE INITIALLY DEFERRED)");
  Db().BeginTrans();
  Db().Execute("INSERT INTO d (k) VALUES ('a')");
  Db().Execute("INSERT INTO d (k) VALUES ('a')");  // checked only at the commit
  EXPECT_THAT(FailureOf([&] { Db().CommitTrans(); }).Description(), HasSubstr("duplicate key"));
  EXPECT_FALSE(Db().InTransaction());
  EXPECT_EQ(ValueOf(Db(), "count(*)", "FROM d"), "0");
  Insert(Db(), "after", "x");  // each statement commits by itself again
  EXPECT_EQ(Keys(*Store().OpenAnother()), Texts{"after"});
}

// The server agrees on where its statements end, and a backslash stays plain whatever the
// database says; texts that are not UTF-8 never reach it.
TEST_P(OdbcConnectionTest, ReadsQuotedTextsAsTheServerDoes) {
  EXPECT_EQ(ValueOf(Db(), "$q$ it's; $$ $q$") + ValueOf(Db(), "E'\\'; x'"), " it's; $$ '; x");
  EXPECT_EQ(ValueOf(Db(), "'\\'", "/* a /* b */ ; */"), "\\");
  const std::pair<std::string, long> refused[] = {
      {"SELECT 1 FROM t WHERE'\\'; DROP TABLE t; --'", err::DatabaseError},
      {"SELECT $$ ' $$; DROP TABLE t; --'", err::DatabaseError},
      {"INSERT INTO t (k, v) VALUES ('a', '\xC3(')", err::InvalidProcedureCall}};
  for (const auto& [statement, number] : refused) {
    EXPECT_EQ(FailureOf([&] { Db().Execute(statement); }).Number(), number) << statement;
  }
  Db().Execute("ALTER DATABASE " + ValueOf(Db(), "current_database()") +
               " SET standard_conforming_strings = off");
  auto other = Store().OpenAnother();
  const std::string hostile = "\\'); DELETE FROM t; --";
  other->Execute("INSERT INTO t (k, v) VALUES ('a', '" + Quote(hostile) + "')");
  EXPECT_EQ(ValueOf(*other, "v", "FROM t"), hostile);
  EXPECT_EQ(Keys(Db()), Texts{"a"});
}

INSTANTIATE_TEST_SUITE_P(On, OdbcConnectionTest, ::testing::Values(Backend::PostgreSql),
                         BackendName);

}  // namespace
}  // namespace xel::testing
