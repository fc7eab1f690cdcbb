#include "platform/data/TSqlDialect.h"
#include "platform/data/TADOConnection.h"

#include <gtest/gtest.h>

namespace {

struct TKindCase {
    const char* Provider;
    TSqlKind Kind;
};

TEST(TSqlDialect, KindOfProviderAndItsPrecedence) {
    const TKindCase Cases[] = {
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
        // Oracle, Access and SQL Server are asked before SQLite and
        // PostgreSQL, as the report builders have always asked them.
        {"Oracle over SQLOLEDB", TSqlKind::Oracle},
        {"Access via SQL Server", TSqlKind::Access},
        {"SQLite through MSSQL", TSqlKind::SqlServer},
        {"PostgreSQL through MSDAORA", TSqlKind::Oracle},
        {"SQLite or PostgreSQL", TSqlKind::SQLite},
    };
    for (const auto& Case : Cases) {
        const QString Provider = QString::fromLatin1(Case.Provider);
        EXPECT_EQ(TSqlDialect::KindOfProvider(Provider), Case.Kind) << Case.Provider;
        // The connection takes the same kind for its dialect and its driver.
        TADOConnection Conn;
        Conn.SetConnectionString(
            QStringLiteral("Provider=%1;Data Source=x;Driver=d").arg(Provider));
        EXPECT_EQ(Conn.Dialect().Kind(), Case.Kind) << Case.Provider;
        const QString Driver = Conn.Target().Driver;
        EXPECT_EQ(Driver, Case.Kind == TSqlKind::SQLite       ? QStringLiteral("QSQLITE")
                          : Case.Kind == TSqlKind::PostgreSQL ? QStringLiteral("QPSQL")
                                                              : QStringLiteral("QODBC"))
            << Case.Provider;
    }
}

TEST(TSqlDialect, PostgreSqlForms) {
    const TSqlDialect& Pg = TSqlDialect::ForKind(TSqlKind::PostgreSQL);
    EXPECT_EQ(Pg.Decode("k", {"1", "'a'", "'z'"}),
              QStringLiteral(" CASE   WHEN k=1 THEN 'a'  ELSE 'z'  END  "));
    EXPECT_EQ(Pg.Decode("k", {"1", "'a'", "2", "'b'", "'z'"}),
              QStringLiteral(" CASE   WHEN k=1 THEN 'a'  WHEN k=2 THEN 'b'  ELSE 'z'  END  "));
    EXPECT_EQ(Pg.Decode("k", {"1", "'a'"}), QStringLiteral(" CASE   WHEN k=1 THEN 'a'  END  "));
    EXPECT_EQ(Pg.Nvl("sum(x)", "0"), QStringLiteral("COALESCE(sum(x),'0')"));
    EXPECT_EQ(Pg.Nvl("x", "it's"), QStringLiteral("COALESCE(x,'it''s')"));
    EXPECT_EQ(Pg.Substring(), QStringLiteral("SUBSTRING"));
    EXPECT_EQ(Pg.Concat({"'政府性'", "mname"}), QStringLiteral("'政府性'||mname"));
    EXPECT_EQ(Pg.Length("eid"), QStringLiteral("LENGTH(eid)"));
    // The Access IIF form is a static piece of its own; PostgreSQL never
    // gets an IIF, which it does not have.
    EXPECT_FALSE(Pg.Decode("k", {"1", "'a'", "'z'"}).contains(QStringLiteral("IIF")));
}

struct TLikeCase {
    const char* Prefix;
    const char* Escaped;   // SQLite, PostgreSQL, Oracle and other kinds
    const char* Bracketed; // SQL Server and Access
};

TEST(TSqlDialect, LikePrefixEscapesWildcardsInEachKindsForm) {
    const TLikeCase Cases[] = {
        {"101", "'101%'", "'101%'"},
        {"", "'%'", "'%'"},
        {"10'1", "'10''1%'", "'10''1%'"},
        {"%%%", "'\\%\\%\\%%' escape '\\'", "'[%][%][%]%'"},
        {"1_1", "'1\\_1%' escape '\\'", "'1[_]1%'"},
        {"a\\b", "'a\\\\b%' escape '\\'", "'a\\b%'"},
        {"[1]", "'[1]%'", "'[[]1]%'"},
        {"1'%", "'1''\\%%' escape '\\'", "'1''[%]%'"},
    };
    for (const auto& Case : Cases) {
        const QString Prefix = QString::fromUtf8(Case.Prefix);
        for (TSqlKind Kind :
             {TSqlKind::SQLite, TSqlKind::PostgreSQL, TSqlKind::Oracle, TSqlKind::Other})
            EXPECT_EQ(TSqlDialect::ForKind(Kind).LikePrefix(Prefix),
                      QString::fromUtf8(Case.Escaped))
                << Case.Prefix << " kind " << int(Kind);
        for (TSqlKind Kind : {TSqlKind::SqlServer, TSqlKind::Access})
            EXPECT_EQ(TSqlDialect::ForKind(Kind).LikePrefix(Prefix),
                      QString::fromUtf8(Case.Bracketed))
                << Case.Prefix << " kind " << int(Kind);
    }
}

} // namespace
