#include "platform/data/TSqlDialect.h"
#include "platform/data/TADOConnection.h"

#include <gtest/gtest.h>

namespace {

// Oracle, Access and SQL Server are asked before SQLite and PostgreSQL, in
// the order the report builders ask them; the connection takes the same kind
// for its dialect and its driver.
TEST(TSqlDialect, KindOfProviderAndItsPrecedence) {
    const std::pair<const char*, TSqlKind> Cases[] = {
        {"SQLite", TSqlKind::SQLite},
        {"sqlite3", TSqlKind::SQLite},
        {"PostgreSQL", TSqlKind::PostgreSQL},
        {"postgres", TSqlKind::PostgreSQL},
        {"PGSQL", TSqlKind::PostgreSQL},
        {"SQLOLEDB.1", TSqlKind::SqlServer},
        {"Microsoft.Jet.OLEDB.4.0", TSqlKind::Access},
        {"MSDAORA.1", TSqlKind::Oracle},
        {"MySQL", TSqlKind::Other},
        {"", TSqlKind::Other},
        {"Oracle over SQLOLEDB", TSqlKind::Oracle},
        {"Access via SQL Server", TSqlKind::Access},
        {"SQLite through MSSQL", TSqlKind::SqlServer},
        {"PostgreSQL through MSDAORA", TSqlKind::Oracle},
        {"SQLite or PostgreSQL", TSqlKind::SQLite}};
    for (const auto& [Provider, Kind] : Cases) {
        EXPECT_EQ(TSqlDialect::KindOfProvider(Provider), Kind) << Provider;
        TADOConnection Conn;
        Conn.SetConnectionString(
            QStringLiteral("Provider=%1;Data Source=x;Driver=d").arg(Provider));
        EXPECT_EQ(Conn.Dialect().Kind(), Kind) << Provider;
        EXPECT_EQ(Conn.Target().Driver, Kind == TSqlKind::SQLite       ? "QSQLITE"
                                        : Kind == TSqlKind::PostgreSQL ? "QPSQL"
                                                                       : "QODBC")
            << Provider;
    }
}

TEST(TSqlDialect, LikePrefixEscapesWildcardsInEachKindsForm) {
    // The prefix; its pattern on SQLite, PostgreSQL, Oracle and other
    // kinds; on SQL Server and Access.
    const char* const Cases[][3] = {{"101", "'101%'", "'101%'"},
                                    {"", "'%'", "'%'"},
                                    {"10'1", "'10''1%'", "'10''1%'"},
                                    {"%%%", "'\\%\\%\\%%' escape '\\'", "'[%][%][%]%'"},
                                    {"1_1", "'1\\_1%' escape '\\'", "'1[_]1%'"},
                                    {"a\\b", "'a\\\\b%' escape '\\'", "'a\\b%'"},
                                    {"[1]", "'[1]%'", "'[[]1]%'"},
                                    {"1'%", "'1''\\%%' escape '\\'", "'1''[%]%'"}};
    for (const auto& [Prefix, Escaped, Bracketed] : Cases) {
        for (TSqlKind Kind : {TSqlKind::SQLite, TSqlKind::PostgreSQL, TSqlKind::Oracle,
                              TSqlKind::Other, TSqlKind::SqlServer, TSqlKind::Access}) {
            const bool Brackets = Kind == TSqlKind::SqlServer || Kind == TSqlKind::Access;
            EXPECT_EQ(TSqlDialect::ForKind(Kind).LikePrefix(QString::fromUtf8(Prefix)),
                      QString::fromUtf8(Brackets ? Bracketed : Escaped))
                << Prefix << " kind " << int(Kind);
        }
    }
}

} // namespace
