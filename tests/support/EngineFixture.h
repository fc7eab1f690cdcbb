#pragma once

#include "DemoData.h"
#include "support/DbFixture.h"
#include "support/HostScope.h"

#include <QList>
#include <QString>
#include <QVariantList>
#include <gtest/gtest.h>
#include <memory>
#include <string>

class TempDir;

// The database engines the reports run on in tests.
enum class TEngine { SQLite, PostgreSQL };

// "SQLite" or "PostgreSQL": the parameter's part of a test's name.
std::string EngineName(const ::testing::TestParamInfo<TEngine>& AInfo);
// The same in GoogleTest's messages.
void PrintTo(TEngine AEngine, std::ostream* AStream);

// The ADO-style connection string of the PostgreSQL test server, from
// VARNHOLT_PG_CONNECTION (scripts/pg-test-server.sh prints it; the test
// command sets it); empty without a server.
QString PgTestServer();
// Whether the tests run under CI (CI set and not "false" or "0"), where a
// missing PostgreSQL server is a failure instead of a skip.
bool RunningInCi();
// Why a PostgreSQL test cannot run, for its skip or failure.
std::string NoPgServerMessage();

// Skips the current test when there is no PostgreSQL test server, or fails
// it under CI. Use in a test body or in SetUp.
#define VARNHOLT_REQUIRE_PG_SERVER()                                                               \
    do {                                                                                           \
        if (PgTestServer().isEmpty()) {                                                            \
            if (RunningInCi())                                                                     \
                FAIL() << NoPgServerMessage();                                                     \
            GTEST_SKIP() << NoPgServerMessage();                                                   \
        }                                                                                          \
    } while (0)

// One generated demo province in a database of its own: a SQLite file in a
// temporary folder, or a new database (unique name) on the PostgreSQL test
// server, dropped again with this object.
class TDemoDatabase {
public:
    // Raises std::runtime_error; PostgreSQL needs the test server.
    TDemoDatabase(TEngine AEngine, const TDemoOptions& AOptions);
    ~TDemoDatabase();
    TDemoDatabase(const TDemoDatabase&) = delete;
    TDemoDatabase& operator=(const TDemoDatabase&) = delete;

    TEngine Engine() const { return FEngine; }
    // What a host is given: the plug-in's connections open it read-only.
    QString ConnectionString() const { return FConnectionString; }
    // Every row of ASql, run through a writable session of the test's own
    // (not the plug-in's connection); fails the test on an SQL error.
    QList<QVariantList> Rows(const QString& ASql) const { return FSession->Rows(ASql); }
    // Runs a statement that changes the database, e.g. to add odd rows.
    void Exec(const QString& ASql) const { FSession->Exec(ASql); }

private:
    TEngine FEngine;
    std::unique_ptr<TempDir> FDir;
    QString FConnectionString;
    QString FServerDatabase;
    std::unique_ptr<TTestSession> FSession;
};

// Rows from two engines agree: same count, texts equal, numbers within a
// relative 1e-12 (sums of the same doubles added in another order may
// differ in their last bits).
::testing::AssertionResult SameRows(const QList<QVariantList>& AExpected,
                                    const QList<QVariantList>& AActual);

// Base of value-parameterised tests written once and run on every engine:
// each test finds the suite's demo province on its engine registered as the
// host's "Def" connection (HostContext points at Host()). The provinces are
// made on first use and kept until the suite ends, so the tests of a suite
// share them. PostgreSQL instances skip without a test server, or fail
// under CI.
//
//   class TReportOnEngines : public TEngineTest {};
//   TEST_P(TReportOnEngines, SummaryTable) { ... GetDefConnection() ... }
//   VARNHOLT_INSTANTIATE_ON_ENGINES(TReportOnEngines);
class TEngineTest : public ::testing::TestWithParam<TEngine> {
protected:
    // The suite's province; override for another size or seed.
    virtual TDemoOptions DemoOptions() const { return TDemoOptions{60, 3000}; }

    void SetUp() override;
    static void TearDownTestSuite();

    // The province on this test's engine, and the same province in SQLite
    // to compare with (the same object on the SQLite instance).
    const TDemoDatabase& Database() const { return *FDatabase; }
    const TDemoDatabase& Reference() const { return *FReference; }
    THostScope& Host() { return *FHost; }
    // Every row of ASql read the way the reports read: through the host's
    // "Def" connection (read-only) and the plug-in's query; fails the test
    // when the query cannot be opened.
    QList<QVariantList> DefRows(const QString& ASql) const;

private:
    const TDemoDatabase* FDatabase = nullptr;
    const TDemoDatabase* FReference = nullptr;
    std::unique_ptr<THostScope> FHost;
};

#define VARNHOLT_INSTANTIATE_ON_ENGINES(Suite)                                                     \
    INSTANTIATE_TEST_SUITE_P(Engines, Suite,                                                       \
                             ::testing::Values(TEngine::SQLite, TEngine::PostgreSQL), EngineName)
