#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <string>

#include "platform/data/OdbcConnection.h"
#include "store/Sql.h"
#include "tests/platform/TestTable.h"
#include "tests/support/FailureOf.h"

namespace xel {
namespace {

using testing::Backend;
using testing::FailureOf;
using ::testing::HasSubstr;
using testing::Keys;
using ::testing::Not;
using testing::ValueOf;

// What the connection to a server through ODBC does beyond what every backend does alike.
struct OdbcConnectionTest : testing::TableTest {};

TEST(OdbcConnectionOpeningTest, ADriverThatCannotBeLoadedIsAFailureThatKeepsThePasswordSecret) {
  RuntimeError failure =
      FailureOf([] { OpenConnection("odbc:Driver={No Such Driver};Uid=u;Pwd=s3cret;"); });
  EXPECT_EQ(failure.Number(), err::DatabaseError);
  EXPECT_THAT(failure.Description(), HasSubstr("No Such Driver"));
  EXPECT_THAT(failure.Description(), Not(HasSubstr("s3cret")));
}

TEST_P(OdbcConnectionTest, KnowsItsServerAndRefusesAWrongPasswordWithoutRepeatingIt) {
  EXPECT_EQ(Db().Dialect(), SqlDialect::PostgreSql);
  std::string wrong = WithOdbcAttribute(Store().ConnectionString(), "Pwd", "n0t-1t");
  RuntimeError failure = FailureOf([&] { OpenConnection(wrong); });
  EXPECT_EQ(failure.Number(), err::DatabaseError);
  EXPECT_THAT(failure.Description(), HasSubstr("password authentication failed"));
  EXPECT_THAT(failure.Description(), Not(HasSubstr("n0t-1t")));
}

TEST_P(OdbcConnectionTest, ACommitTheServerRefusesEndsTheTransactionWithNothingWritten) {
  Db().Execute("CREATE TABLE d (k text UNIQUE DEFERRABLE INITIALLY DEFERRED)");
  Db().BeginTrans();
  Db().Execute("INSERT INTO d (k) VALUES ('a')");
  Db().Execute("INSERT INTO d (k) VALUES ('a')");  // checked only at the commit
  RuntimeError refused = FailureOf([&] { Db().CommitTrans(); });
  EXPECT_EQ(refused.Number(), err::DatabaseError);
  EXPECT_THAT(refused.Description(), HasSubstr("duplicate key"));
  EXPECT_FALSE(Db().InTransaction());
  EXPECT_EQ(ValueOf(Db(), "count(*)", "FROM d"), "0");

  testing::Insert(Db(), "after", "x");  // each statement commits by itself again
  EXPECT_EQ(Keys(*Store().OpenAnother()), std::vector<std::string>{"after"});
}

// The server itself agrees on where its statements end: what is read as one statement runs, and
// what holds a second one never reaches it.
TEST_P(OdbcConnectionTest, ReadsQuotedTextsAndCommentsAsTheServerDoes) {
  EXPECT_EQ(ValueOf(Db(), "$$a; b$$"), "a; b");
  EXPECT_EQ(ValueOf(Db(), "$q$ it's; $$ $q$"), " it's; $$ ");
  EXPECT_EQ(ValueOf(Db(), "E'\\'; x'"), "'; x");
  EXPECT_EQ(ValueOf(Db(), "'\\'", "/* a /* b */ ; */"), "\\");
  for (const char* several :
       {"SELECT 1 FROM t WHERE'\\'; DROP TABLE t; --'", "SELECT $$ ' $$; DROP TABLE t; --'",
        "INSERT INTO t (k) VALUES ($$x$$); DROP TABLE t"}) {
    EXPECT_EQ(FailureOf([&] { Db().Execute(several); }).Number(), err::DatabaseError) << several;
  }
  EXPECT_TRUE(Keys(Db()).empty());
}

TEST_P(OdbcConnectionTest, ABackslashInAQuotedValueStaysPlainWhateverTheDatabaseSays) {
  Db().Execute("ALTER DATABASE " + ValueOf(Db(), "current_database()") +
               " SET standard_conforming_strings = off");
  auto other = Store().OpenAnother();
  const std::string hostile = "\\'); DELETE FROM t; --";
  other->Execute("INSERT INTO t (k, v) VALUES ('a', '" + Quote(hostile) + "')");
  EXPECT_EQ(ValueOf(*other, "v", "FROM t"), hostile);
  EXPECT_EQ(Keys(Db()), std::vector<std::string>{"a"});
}

TEST_P(OdbcConnectionTest, TextsThatAreNotUtf8NeverReachTheServer) {
  auto malformed = [&] { Db().Execute("INSERT INTO t (k, v) VALUES ('a', '\xC3(')"); };
  EXPECT_EQ(FailureOf(malformed).Number(), err::InvalidProcedureCall);
  auto boundMalformed = [&] { Db().Execute("INSERT INTO t (k, v) VALUES ('a', ?)", {"\xFF"}); };
  EXPECT_EQ(FailureOf(boundMalformed).Number(), err::InvalidProcedureCall);
  EXPECT_TRUE(Keys(Db()).empty());
}

INSTANTIATE_TEST_SUITE_P(On, OdbcConnectionTest, ::testing::Values(Backend::PostgreSql),
                         testing::BackendName);

}  // namespace
}  // namespace xel
