#include "db/SqlDialect.h"
#include "db/QueryLifetime.h"
#include "db/SqlLiteral.h"
#include "db/TARQuery.h"
#include "platform/data/TAdoConn.h"
#include "support/DbFixture.h"
#include "support/TempDir.h"

#include <QSqlDatabase>
#include <QSqlQuery>
#include <cmath>
#include <gtest/gtest.h>

namespace {

enum class TKind { Oracle, Access, SqlServer, None };

// A connection whose provider names the kind; the text needs no server.
std::unique_ptr<TAdoConn> ConnFor(const QString& AProvider) {
    auto Conn = std::make_unique<TAdoConn>();
    Conn->SetConnectionString(QStringLiteral("Provider=%1;Data Source=x").arg(AProvider));
    return Conn;
}

struct TProviderCase {
    const char* Provider;
    TKind Kind;
};

TEST(SqlDialect, TellsTheKindFromTheProviderName) {
    const TProviderCase Cases[] = {
        {"SQLOLEDB.1", TKind::SqlServer},
        {"sqloledb", TKind::SqlServer},
        {"MSOLEDBSQL", TKind::SqlServer},
        {"SQLNCLI11", TKind::SqlServer},
        {"Microsoft.Jet.OLEDB.4.0", TKind::Access},
        {"microsoft.jet.oledb.4.0", TKind::Access},
        {"Microsoft Access Driver", TKind::Access},
        {"OraOLEDB.Oracle", TKind::Oracle},
        {"MSDAORA.1", TKind::Oracle},
        // Oracle is asked first, then Access, then SQL Server.
        {"Oracle over SQLOLEDB", TKind::Oracle},
        {"Access via SQL Server", TKind::Access},
        {"SQLite", TKind::None},
        {"PostgreSQL", TKind::None},
        {"", TKind::None},
    };
    for (const auto& Case : Cases) {
        auto Conn = ConnFor(QString::fromLatin1(Case.Provider));
        const bool Oracle = IsOracleConn(Conn.get());
        const bool Access = IsAccessConn(Conn.get());
        const bool SqlServer = IsSqlServerConn(Conn.get());
        const TKind Kind = Oracle      ? TKind::Oracle
                           : Access    ? TKind::Access
                           : SqlServer ? TKind::SqlServer
                                       : TKind::None;
        EXPECT_EQ(Kind, Case.Kind) << Case.Provider;
        EXPECT_EQ(Conn->ProviderText, QString::fromLatin1(Case.Provider).toUpper());
    }
}

struct TTextCase {
    const char* Provider;
    const char* Decode1;
    const char* Decode2;
    const char* DecodeEven;
    const char* Nvl;
    const char* Substring;
    const char* Concat;
    const char* Length;
};

TEST(SqlDialect, BuildsEachKindsText) {
    const TTextCase Cases[] = {
        {"OraOLEDB.Oracle", "DECODE(k,1,'a','z')", "DECODE(k,1,'a',2,'b','z')", "DECODE(k,1,'a')",
         "NVL(sum(x),'0')", "SUBSTR", "eid||'001'", "LENGTH(eid)"},
        {"Microsoft.Jet.OLEDB.4.0", " IIF(k=1,'a','z')", " IIF(k=1,'a',( IIF(k=2,'b','z')))",
         " IIF(k=1,'a','a')", "IIF(ISNULL(sum(x)),'0',sum(x))", "MID", "eid+'001'", "len(eid)"},
        {"SQLOLEDB.1", " CASE   WHEN k=1 THEN 'a'  ELSE 'z'  END  ",
         " CASE   WHEN k=1 THEN 'a'  WHEN k=2 THEN 'b'  ELSE 'z'  END  ",
         " CASE   WHEN k=1 THEN 'a'  END  ", "ISNULL(sum(x),'0')", "SUBSTRING", "eid+'001'",
         "len(eid)"},
        {"SQLite", "IIF(k=1,'a','z')", "IIF(k=1,'a',IIF(k=2,'b','z'))", "IIF(k=1,'a','a')",
         "COALESCE(sum(x),'0')", "SUBSTRING", "eid||'001'", "LENGTH(eid)"},
        {"PostgreSQL", " CASE   WHEN k=1 THEN 'a'  ELSE 'z'  END  ",
         " CASE   WHEN k=1 THEN 'a'  WHEN k=2 THEN 'b'  ELSE 'z'  END  ",
         " CASE   WHEN k=1 THEN 'a'  END  ", "COALESCE(sum(x),'0')", "SUBSTRING", "eid||'001'",
         "LENGTH(eid)"},
    };
    const QString K = QStringLiteral("k");
    for (const auto& Case : Cases) {
        auto Conn = ConnFor(QString::fromLatin1(Case.Provider));
        TAdoConn* C = Conn.get();
        EXPECT_EQ(BuildDecode(C, K, {"1", "'a'", "'z'"}), QString::fromLatin1(Case.Decode1));
        EXPECT_EQ(BuildDecode(C, K, {"1", "'a'", "2", "'b'", "'z'"}),
                  QString::fromLatin1(Case.Decode2));
        EXPECT_EQ(BuildDecode(C, K, {"1", "'a'"}), QString::fromLatin1(Case.DecodeEven));
        EXPECT_EQ(BuildNvl(C, QStringLiteral("sum(x)"), QStringLiteral("0")),
                  QString::fromLatin1(Case.Nvl));
        EXPECT_EQ(SubstringFunction(C), QString::fromLatin1(Case.Substring));
        EXPECT_EQ(BuildConcat(C, {"eid", "'001'"}), QString::fromLatin1(Case.Concat));
        EXPECT_EQ(BuildLength(C, QStringLiteral("eid")), QString::fromLatin1(Case.Length));
    }
}

TEST(SqlDialect, SqlServerTextsOfTheReportQueries) {
    auto Conn = ConnFor(QStringLiteral("SQLOLEDB.1"));
    // A condition split across the expression and the first piece.
    const QString Sum =
        BuildNvl(Conn.get(),
                 QStringLiteral("sum(") +
                     BuildDecode(Conn.get(), QStringLiteral("(ipid"),
                                 {"'11' or ipid='17') and pid='10' ", "BudgMoney", "0"}) +
                     QLatin1Char(')'),
                 QStringLiteral("0"));
    EXPECT_EQ(Sum, QStringLiteral("ISNULL(sum( CASE   WHEN (ipid='11' or ipid='17') and pid='10'  "
                                  "THEN BudgMoney  ELSE 0  END  ),'0')"));
    EXPECT_EQ(BuildDecode(Conn.get(), QStringLiteral("len(eid)"),
                          {"'3'", BuildConcat(Conn.get(), {"eid", "'001'"}), "eid"}),
              QStringLiteral(" CASE   WHEN len(eid)='3' THEN eid+'001'  ELSE eid  END  "));
}

TEST(SqlLiteral, DoublesQuotes) {
    EXPECT_EQ(QuotedSqlString(QStringLiteral("101%")), QStringLiteral("'101%'"));
    EXPECT_EQ(QuotedSqlString(QString()), QStringLiteral("''"));
    EXPECT_EQ(QuotedSqlString(QStringLiteral("O'Brien''s")), QStringLiteral("'O''Brien''''s'"));
    auto Conn = ConnFor(QStringLiteral("SQLite"));
    EXPECT_EQ(BuildNvl(Conn.get(), QStringLiteral("x"), QStringLiteral("it's")),
              QStringLiteral("COALESCE(x,'it''s')"));
}

// The fallback forms are what SQLite gets: the report's conditional sums and
// the unit-code arithmetic must run there and give the true figures.
TEST(SqlDialect, FallbackFormsRunOnSqlite) {
    TempDir Dir;
    const QString File = MakeDemoDb(Dir, TDemoOptions{60, 4000});
    TAdoConn Conn;
    Conn.SetConnectionString(SqliteConnectionString(File));
    TAdoConn* C = &Conn;

    const auto ChannelSum = [C](const char* AIpids, const char* APid) {
        return BuildNvl(
            C,
            QStringLiteral("sum(") +
                BuildDecode(C, QStringLiteral("(ipid"),
                            {QStringLiteral("'%1') and pid='%2' ")
                                 .arg(QString::fromLatin1(AIpids), QString::fromLatin1(APid)),
                             "BudgMoney", "0"}) +
                QLatin1Char(')'),
            QStringLiteral("0"));
    };
    const QString Sql =
        QStringLiteral("select mid, ") + ChannelSum("11' or ipid='17", "10") +
        QStringLiteral(" as jbzj, ") + ChannelSum("12", "20") + QStringLiteral(" as xmsq, ") +
        SubstringFunction(C) +
        QStringLiteral("(min(bid),1,3) as lei from vwbudgetadj where datayear=2023 and pid<>'' "
                       "group by mid order by mid");
    IARQueryPtr Query;
    OpenQuery(C, Sql, Query);
    TARQuery* Rows = Query->GetQuery();
    ASSERT_EQ(Rows->RecordCount(), 4);
    for (; !Rows->Eof(); Rows->Next()) {
        const QString Mid = Rows->FieldByName(QStringLiteral("mid")).AsString();
        const auto Expected = [&](const QString& ACondition) {
            const QStringList Sum =
                ReadColumn(File, QStringLiteral("select total(BudgMoney) from busibudgetadj where "
                                                "datayear=2023 and mid='%1' and %2")
                                     .arg(Mid, ACondition));
            return Sum.value(0).toDouble();
        };
        EXPECT_NEAR(Rows->FieldByName(QStringLiteral("jbzj")).AsFloat(),
                    Expected(QStringLiteral("ipid in ('11','17') and pid='10'")), 0.005)
            << Mid.toStdString();
        EXPECT_NEAR(Rows->FieldByName(QStringLiteral("xmsq")).AsFloat(),
                    Expected(QStringLiteral("ipid='12' and pid='20'")), 0.005)
            << Mid.toStdString();
        EXPECT_EQ(Rows->FieldByName(QStringLiteral("lei")).AsString().size(), 3);
    }

    // Own-level code of a department: numbers compared with numbers.
    OpenQuery(
        C,
        QStringLiteral("select ") +
            BuildDecode(C, BuildLength(C, QStringLiteral("eid")),
                        {"3", BuildConcat(C, {"eid", "'001'"}), "eid"}) +
            QStringLiteral(" as code from pubdept where eid in ('101', '101002') order by eid"),
        Query);
    Rows = Query->GetQuery();
    ASSERT_EQ(Rows->RecordCount(), 2);
    EXPECT_EQ(Rows->FieldByName(QStringLiteral("code")).AsString(), QStringLiteral("101001"));
    Rows->Next();
    EXPECT_EQ(Rows->FieldByName(QStringLiteral("code")).AsString(), QStringLiteral("101002"));
}

} // namespace
