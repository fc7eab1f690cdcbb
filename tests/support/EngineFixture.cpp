#include "EngineFixture.h"

#include "db/QueryLifetime.h"
#include "db/SharedLookups.h"
#include "db/TARQuery.h"
#include "platform/Exception.h"
#include "support/TempDir.h"

#include <QCoreApplication>
#include <QRandomGenerator>
#include <QSet>
#include <atomic>
#include <cmath>
#include <map>
#include <stdexcept>

namespace {

std::atomic<int> DatabaseCounter{0};

void DropServerDatabase(const QString& AName) {
    TTestSession(PgTestServer())
        .Exec(QStringLiteral("drop database if exists \"%1\" with (force)").arg(AName));
}

bool IsNumber(const QVariant& AValue) {
    static const QSet<int> Numbers{QMetaType::Int, QMetaType::UInt, QMetaType::LongLong,
                                   QMetaType::ULongLong, QMetaType::Double};
    return Numbers.contains(AValue.typeId());
}

bool SameValue(const QVariant& AExpected, const QVariant& AActual) {
    if (AExpected.isNull() || AActual.isNull())
        return AExpected.isNull() == AActual.isNull();
    if (IsNumber(AExpected) && IsNumber(AActual)) {
        const double Expected = AExpected.toDouble();
        const double Actual = AActual.toDouble();
        return std::fabs(Expected - Actual) <= 1e-12 * std::max(1.0, std::fabs(Expected));
    }
    return AExpected.toString() == AActual.toString();
}

QString RowText(const QVariantList& ARow) {
    QStringList Texts;
    for (const QVariant& Value : ARow)
        Texts << (Value.isNull() ? QStringLiteral("NULL") : Value.toString());
    return Texts.join(QLatin1Char('|'));
}

// The suite's provinces by engine; a suite has one set of options.
std::map<TEngine, std::unique_ptr<TDemoDatabase>> Provinces;

const TDemoDatabase& Province(TEngine AEngine, const TDemoOptions& AOptions) {
    auto& Slot = Provinces[AEngine];
    if (!Slot)
        Slot = std::make_unique<TDemoDatabase>(AEngine, AOptions);
    return *Slot;
}

} // namespace

std::string EngineName(const ::testing::TestParamInfo<TEngine>& AInfo) {
    return AInfo.param == TEngine::SQLite ? "SQLite" : "PostgreSQL";
}

void PrintTo(TEngine AEngine, std::ostream* AStream) {
    *AStream << (AEngine == TEngine::SQLite ? "SQLite" : "PostgreSQL");
}

QString PgTestServer() {
    return qEnvironmentVariable("VARNHOLT_PG_CONNECTION");
}

bool RunningInCi() {
    const QString Ci = qEnvironmentVariable("CI").trimmed().toLower();
    return !Ci.isEmpty() && Ci != QLatin1String("false") && Ci != QLatin1String("0");
}

std::string NoPgServerMessage() {
    return "no PostgreSQL test server: VARNHOLT_PG_CONNECTION is not set (scripts/run-tests.sh "
           "starts one with scripts/pg-test-server.sh when the postgresql-15 package is "
           "installed)";
}

TDemoDatabase::TDemoDatabase(TEngine AEngine, const TDemoOptions& AOptions)
    : FEngine(AEngine) {
    if (AEngine == TEngine::SQLite) {
        FDir = std::make_unique<TempDir>();
        const QString File = FDir->File(QStringLiteral("demo.db"));
        GenerateDemoDatabase(File, AOptions);
        FConnectionString = SqliteConnectionString(File);
    } else {
        if (PgTestServer().isEmpty())
            throw std::runtime_error(NoPgServerMessage());
        // Unique on the server even for test processes running side by side.
        FServerDatabase = QStringLiteral("varnholt_test_%1_%2_%3")
                              .arg(QCoreApplication::applicationPid())
                              .arg(++DatabaseCounter)
                              .arg(QRandomGenerator::global()->bounded(1000000));
        FConnectionString = PgTestServer() + QStringLiteral(";Database=") + FServerDatabase;
        GenerateDemoAt(FConnectionString, AOptions);
    }
    FSession = std::make_unique<TTestSession>(FConnectionString);
}

TDemoDatabase::~TDemoDatabase() {
    FSession.reset();
    if (!FServerDatabase.isEmpty())
        DropServerDatabase(FServerDatabase);
}

::testing::AssertionResult SameRows(const QList<QVariantList>& AExpected,
                                    const QList<QVariantList>& AActual) {
    if (AExpected.size() != AActual.size())
        return ::testing::AssertionFailure()
               << AActual.size() << " rows where " << AExpected.size() << " were expected";
    for (qsizetype Row = 0; Row < AExpected.size(); ++Row) {
        const QVariantList& Expected = AExpected[Row];
        const QVariantList& Actual = AActual[Row];
        bool Same = Expected.size() == Actual.size();
        for (qsizetype Column = 0; Same && Column < Expected.size(); ++Column)
            Same = SameValue(Expected[Column], Actual[Column]);
        if (!Same)
            return ::testing::AssertionFailure()
                   << "row " << Row << " is " << RowText(Actual).toStdString() << " where "
                   << RowText(Expected).toStdString() << " was expected";
    }
    return ::testing::AssertionSuccess();
}

void TEngineTest::SetUp() {
    if (GetParam() == TEngine::PostgreSQL)
        VARNHOLT_REQUIRE_PG_SERVER();
    try {
        FReference = &Province(TEngine::SQLite, DemoOptions());
        FDatabase = &Province(GetParam(), DemoOptions());
    } catch (const std::exception& Error) {
        FAIL() << "cannot make the demo province: " << Error.what();
    }
    FHost = std::make_unique<THostScope>(FDatabase->ConnectionString());
}

void TEngineTest::TearDownTestSuite() {
    Provinces.clear();
}

QList<QVariantList> TEngineTest::DefRows(const QString& ASql) const {
    QList<QVariantList> Rows;
    try {
        IARQueryPtr Query;
        OpenQuery(GetDefConnection(), ASql, Query);
        TARQuery* Data = Query->GetQuery();
        for (Data->First(); !Data->Eof(); Data->Next()) {
            QVariantList Row;
            for (int I = 0; I < Data->FieldCount(); ++I)
                Row << Data->Fields(I).Value();
            Rows << Row;
        }
    } catch (const std::exception& Error) {
        ADD_FAILURE() << ASql.toStdString() << ": " << Error.what();
    }
    return Rows;
}
