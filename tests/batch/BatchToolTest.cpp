// varnholt-batch run as a process on a generated province.
#include "cell/TCellDocument.h"
#include "cell/TCellRowFitter.h"
#include "report/tables/ReportFileNames.h"
#include "report/tables/ReportFill.h"
#include "report/tables/ReportLookups.h"
#include "support/CellFixture.h"
#include "support/EngineFixture.h"
#include "support/ReportFixture.h"
#include "support/WorkbookCells.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <gtest/gtest.h>

namespace {

QStringList Entries(const QString& AFolder) {
    return QDir(AFolder).entryList(QDir::Files | QDir::Dirs | QDir::NoDotAndDotDot);
}

struct TRun {
    int ExitCode = -1;
    QString Out;
    QString Err;
};

TRun RunBatch(const QString& AConnection, const QStringList& AArguments,
              const QProcessEnvironment& AEnvironment = QProcessEnvironment::systemEnvironment()) {
    QProcess Process;
    Process.setProcessEnvironment(AEnvironment);
    Process.start(BinaryDir() + "/varnholt-batch",
                  QStringList{"--connection", AConnection} + AArguments);
    EXPECT_TRUE(Process.waitForFinished(120000));
    return {Process.exitCode(), QString::fromLocal8Bit(Process.readAllStandardOutput()),
            QString::fromLocal8Bit(Process.readAllStandardError())};
}

class BatchToolTest : public ::testing::Test {
protected:
    TRun Batch(const QStringList& AArguments) {
        return RunBatch(SqliteConnectionString(Db), AArguments);
    }
    QStringList Files() const { return Entries(Out); }

    TempDir Dir;
    QString Db = MakeDemoDb(Dir);
    QString Out = Dir.File("tables");
};

TEST_F(BatchToolTest, WritesEveryTableOfTheSelection) {
    const TRun Run = Batch({"--year", "2024", "--out", Out, "--node", "101002"});
    ASSERT_EQ(Run.ExitCode, 0) << Run.Err.toStdString();
    EXPECT_TRUE(Run.Out.contains("完成：")) << Run.Out.toStdString();

    // What the window selects for that node, filled in this process.
    TReportScope Scope(Db, "101001", true);
    const QString Name = UnitName("101002");
    const QStringList Funds =
        FundNaturesWithData(Scope.Context("101002", Name).Filter.WindowFilter(DefDialect()));
    ASSERT_GE(Funds.size(), 2);
    EXPECT_EQ(Files().size(), 2 * Funds.size());
    for (const QString& Fund : Funds) {
        const QString Workbook = ContinuousExportPath(Out, 2024, "预算数", Fund);
        ASSERT_TRUE(QFile::exists(Workbook)) << Workbook.toStdString();
        EXPECT_TRUE(QFile::exists(Workbook.chopped(5) + ".pdf"));
        const QString Code = LookupMoneyKindId(Fund);
        TCellDocument Grid;
        FillReport(Grid, Scope.Context("101002", Name, Code), Code, true);
        EXPECT_EQ(FirstDifference(ReadWorkbookCells(Workbook), GridCells(Grid)).toStdString(), "")
            << Fund.toStdString();
    }
}

// The PDFs of the demo province read back as their grids hold them: every
// character, no radical the grid does not hold, every code and amount whole;
// and they name their table, its selection and their maker.
TEST_F(BatchToolTest, PdfsReadBackAsTheirGridsHoldThem) {
    const TRun Run = Batch({"--year", "2024", "--out", Out, "--format", "pdf"});
    ASSERT_EQ(Run.ExitCode, 0) << Run.Err.toStdString();
    TReportScope Scope(Db, "101001", true);
    const QString Name = TopNodeName("101");
    const QStringList Funds =
        FundNaturesWithData(Scope.Context("101", Name).Filter.WindowFilter(DefDialect()));
    ASSERT_GE(Funds.size(), 3);
    for (const QString& Fund : Funds) {
        const QString Pdf = ContinuousExportPath(Out, 2024, "预算数", Fund).chopped(5) + ".pdf";
        const QString Code = LookupMoneyKindId(Fund);
        TCellDocument Grid;
        FillReport(Grid, Scope.Context("101", Name, Code), Code, true);
        WriteAmountHeader(Grid, Code, "预算数");
        const QString Text = PdfText(Pdf);
        QString Held;
        for (int Row = 1; Row < Grid.GetRowCount(0); ++Row) {
            for (int Col = 1; Col <= Grid.Sheet().ColCount(); ++Col) {
                const TCellRange* Merge = Grid.Sheet().MergeAt(Col, Row);
                if (Merge != nullptr && (Merge->FirstCol != Col || Merge->FirstRow != Row))
                    continue; // hidden under a merge, never shown
                const QString Cell = Grid.CellText(Col, Row);
                Held += Cell;
                if (TCellRowFitter::IsCode(Cell)) {
                    EXPECT_TRUE(Text.contains(Cell)) << Cell.toStdString();
                }
            }
        }
        for (const QChar Char : Held)
            EXPECT_TRUE(Char.isSpace() || Text.contains(Char)) << QString(Char).toStdString();
        for (const QChar Char : Text)
            if (Char >= QChar(0x2E80) && Char <= QChar(0x2FDF)) {
                EXPECT_TRUE(Held.contains(Char)) << QString(Char).toStdString();
            }
        EXPECT_EQ(PdfProperty(Pdf, "Title"), Grid.CellText(1, 1));
        EXPECT_EQ(PdfProperty(Pdf, "Subject"),
                  "2024年；指标类型：预算数（当年预算）；单位：" + Name + "；资金性质：" + Fund);
        EXPECT_TRUE(PdfProperty(Pdf, "Creator").startsWith("Varnholt 支付范围划分建议表打印 "));
        EXPECT_FALSE(PdfProperty(Pdf, "CreationDate").isEmpty());
    }
}

// No display, a platform named that needs one, and the dynamic loader
// telling every library it loads: the tool writes its tables and never
// loads Qt Widgets.
TEST_F(BatchToolTest, RunsWithoutADisplayAndWithoutQtWidgets) {
    QProcessEnvironment Environment = QProcessEnvironment::systemEnvironment();
    Environment.remove("DISPLAY");
    Environment.remove("WAYLAND_DISPLAY");
    Environment.insert("QT_QPA_PLATFORM", "xcb");
    Environment.insert("LD_DEBUG", "files");
    const TRun Run = RunBatch(SqliteConnectionString(Db),
                              {"--year", "2024", "--out", Out, "--node", "101002"}, Environment);
    ASSERT_EQ(Run.ExitCode, 0) << Run.Err.toStdString();
    EXPECT_TRUE(Run.Err.contains("libQt6Gui.so")) << "the loader said nothing";
    EXPECT_FALSE(Run.Err.contains("libQt6Widgets.so"));
    EXPECT_FALSE(Run.Err.contains("libQt6PrintSupport.so"));
    EXPECT_FALSE(Files().isEmpty());
}

TEST_F(BatchToolTest, TemporaryIndicatorsOfTheTopNode) {
    const TRun Run = Batch({"--year", "2024", "--btype", "2", "--out", Out, "--format", "xlsx"});
    ASSERT_EQ(Run.ExitCode, 0) << Run.Err.toStdString();
    EXPECT_TRUE(QFile::exists(ContinuousExportPath(Out, 2024, "临时指标", "<全部>")));
    for (const QString& File : Files())
        EXPECT_TRUE(File.endsWith(".xlsx")) << File.toStdString();
}

// Every failure says why, exits non-zero and leaves nothing under a final
// name.
TEST_F(BatchToolTest, FailuresSayWhyAndLeaveNothing) {
    QFile Blocker(Dir.File("a-file"));
    ASSERT_TRUE(Blocker.open(QIODevice::WriteOnly));
    Blocker.close();
    const struct {
        QStringList Arguments;
        int ExitCode;
        const char* Message;
    } Cases[] = {
        {{"--btype", "5", "--out", Out}, 2, "--btype"},
        {{"--year", "2024"}, 2, "--out"},
        {{"--out", Out, "--templates", Dir.File("no-templates/")}, 1, "报表模板不可用"},
        {{"--out", Dir.File("a-file/tables")}, 1, "输出文件夹"},
        {{"--out", Out, "--node", "999999"}, 1, "999999"},
    };
    for (const auto& Case : Cases) {
        const TRun Run = Batch(Case.Arguments);
        EXPECT_EQ(Run.ExitCode, Case.ExitCode) << Case.Message;
        EXPECT_TRUE(Run.Err.contains(QString::fromUtf8(Case.Message))) << Run.Err.toStdString();
        EXPECT_TRUE(Files().isEmpty()) << Case.Message;
    }
    Db = Dir.File("missing.db");
    const TRun Missing = Batch({"--out", Out});
    EXPECT_EQ(Missing.ExitCode, 1);
    EXPECT_TRUE(Missing.Err.contains("missing.db")) << Missing.Err.toStdString();
}

// A directory in the way of one table's workbook stops the run there.
TEST_F(BatchToolTest, AnUnwritableTableStopsTheRun) {
    ASSERT_TRUE(QDir().mkpath(ContinuousExportPath(Out, 2024, "预算数", "<全部>")));
    const TRun Run = Batch({"--year", "2024", "--out", Out});
    EXPECT_EQ(Run.ExitCode, 1);
    EXPECT_TRUE(Run.Err.contains("<全部> 导出失败")) << Run.Err.toStdString();
    EXPECT_EQ(Files().size(), 1);
}

// A province on the database server gives the same workbooks as the same
// province in a file.
TEST_F(BatchToolTest, SameWorkbooksFromPostgreSql) {
    VARNHOLT_REQUIRE_PG_SERVER();
    const TDemoOptions Options{120, 12000};
    const TDemoDatabase Server(TEngine::PostgreSQL, Options);
    const TDemoDatabase File(TEngine::SQLite, Options);
    const QString FromServer = Dir.File("server");
    const QStringList Arguments = {"--year", "2024", "--format", "xlsx", "--out"};
    ASSERT_EQ(RunBatch(Server.ConnectionString(), Arguments + QStringList{FromServer}).ExitCode, 0);
    ASSERT_EQ(RunBatch(File.ConnectionString(), Arguments + QStringList{Out}).ExitCode, 0);
    ASSERT_EQ(Entries(FromServer), Files());
    ASSERT_GE(Files().size(), 3);
    for (const QString& Name : Files())
        EXPECT_EQ(FirstDifference(ReadWorkbookCells(QDir(FromServer).filePath(Name)),
                                  ReadWorkbookCells(QDir(Out).filePath(Name)), 0)
                      .toStdString(),
                  "")
            << Name.toStdString();
}

} // namespace
