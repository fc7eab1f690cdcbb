// varnholt-batch run as a process on a generated province.
#include "BatchProcess.h"
#include "cell/TCellDocument.h"
#include "cell/TCellRowFitter.h"
#include "report/tables/DetailLayout.h"
#include "report/tables/ReportFileNames.h"
#include "report/tables/ReportFill.h"
#include "report/tables/ReportLookups.h"
#include "report/tables/SummaryLayout.h"
#include "support/CellFixture.h"
#include "support/EngineFixture.h"
#include "support/PdfStructure.h"
#include "support/ReportFixture.h"
#include "support/WorkbookCells.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QRegularExpression>
#include <gtest/gtest.h>

namespace {

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
    // Every table, and the audit of each beside them.
    EXPECT_EQ(Files().size(), 2 * Funds.size() + 1);
    const QString Audit = ReadText(AuditFilePath(Out, 2024, "预算数"));
    EXPECT_EQ(Audit.count("\t审核通过\t"), Funds.size() + Audit.count("已知原因："))
        << Audit.toStdString();
    EXPECT_TRUE(Run.Out.contains("审核 汇总表：审核通过")) << Run.Out.toStdString();
    for (const QString& Fund : Funds) {
        const QString Workbook = ContinuousExportPath(Out, 2024, "预算数", Fund);
        ASSERT_TRUE(QFile::exists(Workbook)) << Workbook.toStdString();
        EXPECT_EQ(PdfStructureFault(Workbook.chopped(5) + ".pdf").toStdString(), "");
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
        // Every page names the selection at the left of its page line.
        const QRegularExpression Blank("\\s", QRegularExpression::UseUnicodePropertiesOption);
        const int Pages = PdfPageCount(Pdf);
        for (int Page = 1; Page <= Pages; ++Page)
            EXPECT_TRUE(PdfText(Pdf, Page).remove(Blank).contains(
                Name + QStringLiteral("2024年预算数（当年预算）共%1页第%2页").arg(Pages).arg(Page)))
                << Fund.toStdString() << " page " << Page;
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
    const TRun Run = Batch(
        {"--year", "2024", "--btype", "2", "--subtype", "1", "--out", Out, "--format", "xlsx"});
    ASSERT_EQ(Run.ExitCode, 0) << Run.Err.toStdString();
    EXPECT_TRUE(Run.Out.contains("只对预算数有效，指标类型为临时指标时不起作用"))
        << Run.Out.toStdString();
    EXPECT_TRUE(QFile::exists(ContinuousExportPath(Out, 2024, "临时指标", "<全部>")));
    for (const QString& File : Files())
        EXPECT_TRUE(File.endsWith(".xlsx") || File.endsWith("审核结果.txt")) << File.toStdString();
}

// Every failure says why, exits non-zero and leaves nothing under a final
// name.
TEST_F(BatchToolTest, FailuresSayWhyAndLeaveNothing) {
    QFile Blocker(Dir.File("a-file"));
    ASSERT_TRUE(Blocker.open(QIODevice::WriteOnly));
    Blocker.close();
    // The summary's and a detail table's templates swapped.
    const QString Swapped = Dir.File("swapped/");
    QDir().mkpath(Swapped);
    const auto Copy = [&](const char* AFrom, const char* ATo) {
        ASSERT_TRUE(QFile::copy(QDir(TemplateFolder()).filePath(QString::fromUtf8(AFrom)),
                                Swapped + QString::fromUtf8(ATo)));
    };
    Copy(DetailTemplateFile, SummaryTemplateFile);
    Copy(SummaryTemplateFile, DetailTemplateFile);
    Copy(StateCapitalTemplateFile, StateCapitalTemplateFile);
    const struct {
        QStringList Arguments;
        int ExitCode;
        const char* Message;
    } Cases[] = {
        {{"--btype", "5", "--out", Out}, 2, "--btype"},
        {{"--year", "2024"}, 2, "--out"},
        {{"--out", Out, "--yaer", "2024"}, 2, "不认识的选项：--yaer"},
        {{"--out", Out, "--templates", Dir.File("no-templates/")}, 1, "模板文件不存在"},
        {{"--out", Out, "--templates", Swapped}, 1, "应有 12 列，模板有 14 列"},
        {{"--year", "2024", "--out", Dir.File("a-file/tables")}, 1, "输出文件夹"},
        {{"--year", "2024", "--out", Out, "--node", "999999"}, 2, "999999"},
        // No --year: this year, of which the province has no data.
        {{"--out", Out}, 1, "只有这些年度的数据：2022、2023、2024"},
        // The logged-in unit must be a unit, not the beginning of codes.
        {{"--year", "2024", "--out", Out, "--unit", "999001"}, 2, "999001 不是数据库中的单位"},
        {{"--year", "2024", "--out", Out, "--unit", "1"}, 2, "编码 1 不是数据库中的单位"},
        {{"--year", "2024", "--out", Out, "--unit", "1010"}, 2, "1010 不是数据库中的单位"},
        // The data is there under another class than the login's.
        {{"--year", "2024", "--out", Out, "--unit-class", "2"}, 1, "；请用 --unit-class 1。"},
        // A folder that is there but takes no new files.
        {{"--year", "2024", "--out", "/proc"},
         1,
         "输出文件夹 /proc 不可写：这个文件夹不能新建文件"},
        {{"--year", "2024", "--out", Out, "--connections", "0"}, 2, "--connections"},
        {{"--year", "2024", "--out", Out, "--connections", "9"}, 2, "--connections"},
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
    EXPECT_TRUE(Missing.Err.contains("varnholt-batch: 数据库文件不存在：") &&
                Missing.Err.contains("missing.db"))
        << Missing.Err.toStdString();
}

// Amounts that differ at every reading of the view: the summary and the
// detail tables cannot agree. Every table is still written, each audit line
// says what does not add up, and the run exits 3.
TEST_F(BatchToolTest, AnAuditWithoutKnownCauseExitsThreeAfterWritingEveryTable) {
    RunSql(Db, {"drop view vwbudgetadj",
                "create view vwbudgetadj as select a.adjid, a.datayear, a.eid, d.ename, "
                "a.deptclass, a.mid, m.mname, a.bid, s.bname, a.iid, i.iname, a.ipid, a.pid, "
                "a.BType, a.bkid, a.btypechild, a.BudgMoney + (random() % 1000) / 100.0 as "
                "BudgMoney from busibudgetadj a left join pubdept d on d.eid = a.eid left join "
                "pubmoneykind m on m.mid = a.mid left join pubbudgetsubject s on s.bid = a.bid "
                "left join busiindicator i on i.iid = a.iid"});
    const TRun Run = Batch({"--year", "2024", "--out", Out, "--format", "xlsx"});
    EXPECT_EQ(Run.ExitCode, 3) << Run.Err.toStdString();
    EXPECT_TRUE(Run.Out.contains("审核 汇总表：审核未通过")) << Run.Out.toStdString();
    EXPECT_TRUE(Run.Err.contains("审核未通过")) << Run.Err.toStdString();
    const int Tables = Run.Out.count(QRegularExpression("\\[\\d+/\\d+\\]"));
    EXPECT_GE(Tables, 2);
    EXPECT_EQ(Files().size(), Tables + 1);
    EXPECT_TRUE(ReadText(AuditFilePath(Out, 2024, "预算数")).contains("无已知原因"));
}

// A directory in the way of one table's workbook stops the run there.
TEST_F(BatchToolTest, AnUnwritableTableStopsTheRun) {
    ASSERT_TRUE(QDir().mkpath(ContinuousExportPath(Out, 2024, "预算数", "<全部>")));
    const TRun Run = Batch({"--year", "2024", "--out", Out});
    EXPECT_EQ(Run.ExitCode, 1);
    EXPECT_TRUE(Run.Err.contains("汇总表 导出失败")) << Run.Err.toStdString();
    EXPECT_EQ(Files().size(), 1);
}

// The tables in AOther read back as those in AFolder, cell for cell and
// page for page.
void ExpectSameTables(const QString& AFolder, const QString& AOther, const char* AWhat) {
    ASSERT_EQ(Entries(AOther), Entries(AFolder)) << AWhat;
    for (const QString& Name : Entries(AFolder)) {
        const QString Mine = QDir(AFolder).filePath(Name), Theirs = QDir(AOther).filePath(Name);
        if (Name.endsWith(".xlsx")) {
            EXPECT_EQ(FirstDifference(ReadWorkbookCells(Mine), ReadWorkbookCells(Theirs), 0)
                          .toStdString(),
                      "")
                << AWhat << ": " << Name.toStdString();
        }
        if (!Name.endsWith(".pdf"))
            continue;
        ASSERT_EQ(PdfPageCount(Mine), PdfPageCount(Theirs)) << AWhat << ": " << Name.toStdString();
        for (int Page = 1; Page <= PdfPageCount(Mine); ++Page)
            EXPECT_EQ(PdfText(Mine, Page), PdfText(Theirs, Page))
                << AWhat << ": " << Name.toStdString();
    }
}

// The ways a run may share its work out: one step after the other, or the
// tables queried on one to eight connections of their own while the one
// before is written. Each gives the same files.
struct TRunWay {
    const char* Name;
    QStringList Arguments;
    bool OneStepAfterTheOther;
};

const TRunWay RunWays[] = {
    {"one step after the other", {}, true},
    {"two connections (the default)", {}, false},
    {"one connection of its own", {"--connections", "1"}, false},
    {"eight connections", {"--connections", "8"}, false},
};

TRun RunWay(const QString& AConnection, const TRunWay& AWay, const QStringList& AArguments) {
    QProcessEnvironment Environment = QProcessEnvironment::systemEnvironment();
    if (AWay.OneStepAfterTheOther)
        Environment.insert("VARNHOLT_BATCH_THREADS", "1");
    return RunBatch(AConnection, AArguments + AWay.Arguments, Environment);
}

// Tables queried on connections of their own, the next ones while one is
// written, are the same as when each table is written before the next is
// queried, for one node and for each unit under it.
TEST_F(BatchToolTest, TablesWrittenAlongsideTheNextQueryAreTheSame) {
    const QStringList Node = {"--year", "2024", "--node", "101002"};
    for (const TRunWay& Way : RunWays) {
        const QString Folder = Dir.File(Way.Name);
        const TRun Run =
            RunWay(SqliteConnectionString(Db), Way, Node + QStringList{"--out", Folder});
        ASSERT_EQ(Run.ExitCode, 0) << Way.Name << Run.Err.toStdString();
        if (Way.OneStepAfterTheOther)
            ASSERT_GE(Entries(Folder).size(), 5);
        else
            ExpectSameTables(Dir.File(RunWays[0].Name), Folder, Way.Name);
    }
    const QStringList EachUnit = Node + QStringList{"--each-unit", "--format", "xlsx", "--out"};
    const QString Serial = Dir.File("each-unit-serial"), Parallel = Dir.File("each-unit");
    ASSERT_EQ(
        RunWay(SqliteConnectionString(Db), RunWays[0], EachUnit + QStringList{Serial}).ExitCode, 0);
    ASSERT_EQ(
        RunWay(SqliteConnectionString(Db), RunWays[1], EachUnit + QStringList{Parallel}).ExitCode,
        0);
    ASSERT_GE(Entries(Serial).size(), 4);
    for (const QString& Unit : QDir(Serial).entryList(QDir::Dirs | QDir::NoDotAndDotDot))
        ExpectSameTables(QDir(Serial).filePath(Unit), QDir(Parallel).filePath(Unit), "each unit");
}

// Every unit under a node in one run: a folder per unit with data, named
// by code and name (cut to what a folder's name may hold), a line per unit
// and the totals; a unit without data is listed and gets no folder. Each
// unit's tables and audit file are that unit's, and the list of units in
// the top folder says what became of each.
TEST_F(BatchToolTest, EveryUnitOfANodeInOneRun) {
    const QString LongName = QString(304, QChar(0x957F)); // 912 bytes in UTF-8
    RunSql(Db, {"insert into pubdept (eid, peid, ename, leafflag, class) values "
                "('101002099', '101002', '无数据的单位', '1', 2)",
                "update pubdept set ename = '" + LongName + "' where eid = '101002003'"});
    const TRun Run = Batch(
        {"--year", "2024", "--node", "101002", "--each-unit", "--format", "xlsx", "--out", Out});
    ASSERT_EQ(Run.ExitCode, 0) << Run.Err.toStdString();
    const QString Where = " from pubdept where eid like '101002_%' and replaceflag='0' and "
                          "useflag='0' order by eid";
    const QStringList Codes = ReadColumn(Db, "select eid" + Where);
    const QStringList Names = ReadColumn(Db, "select ename" + Where);
    ASSERT_GE(Codes.size(), 4);
    EXPECT_TRUE(Run.Out.contains("101002099 无数据的单位：没有数据")) << Run.Out.toStdString();
    EXPECT_TRUE(Run.Out.contains("文件夹名已截短")) << Run.Out.toStdString();
    EXPECT_EQ(Run.Out.count(QRegularExpression(QString("\\[\\d+/%1\\]").arg(Codes.size()))),
              Codes.size());
    EXPECT_TRUE(Run.Out.contains(
        QString("完成：%1 个单位写出了报表（另有 1 个单位没有数据）").arg(Codes.size() - 1)))
        << Run.Out.toStdString();
    const QString List = ReadText(UnitListPath(Out, 2024, "预算数"));
    EXPECT_EQ(RecordField(List, "状态"), QStringList{"完成"});
    QStringList Folders = RecordField(List, "单位文件夹");
    EXPECT_EQ(Files(), QStringList(Folders)
                           << QFileInfo(UnitListPath(Out, 2024, "预算数")).fileName());
    ASSERT_EQ(Folders.size(), Codes.size() - 1);
    for (int I = 0; I < Folders.size(); ++I) {
        const QString& Code = Codes[I];
        const QString& Name = Names[I];
        SCOPED_TRACE(Code.toStdString());
        const QString Folder = QDir(Out).filePath(Folders[I]);
        EXPECT_TRUE(Folders[I].startsWith(Code + " " + Name.left(20)));
        EXPECT_LE(QFile::encodeName(Folders[I]).size(), 255);
        EXPECT_TRUE(List.contains(Code + "\t" + Name + "\t" + Folders[I] + "\t"));
        // The tables name the unit, not the node.
        const TWorkbookCells Summary =
            ReadWorkbookCells(ContinuousExportPath(Folder, 2024, "预算数", "<全部>"));
        EXPECT_TRUE(Summary.value({1, 1}).toString().startsWith(Name + "2024年"));
        EXPECT_TRUE(Summary.values().contains(QVariant(Name + "单位合计")) ||
                    Summary.values().contains(QVariant(Name + "部门合计")));
        EXPECT_EQ(RecordField(ReadText(AuditFilePath(Folder, 2024, "预算数")), "单位"),
                  (QStringList{Code, Name}));
    }
    EXPECT_TRUE(List.contains("101002099\t无数据的单位\t\t\t\t没有数据"));
}

// The README's main job as a newcomer runs it: --help and a misspelt option
// change nothing, the run speaks one language, and a failing run leaves the
// tables of the last one.
TEST(BatchScript, HelpAndBadOptionsChangeNothingAndAFailureKeepsTheTables) {
    TempDir Dir;
    const QString Tables = Dir.File("tables");
    for (const QStringList& Arguments : {QStringList{"--help"}, QStringList{"--yaer", "2024"}}) {
        const TRun Run = RunScript(Dir.Path(), Arguments);
        EXPECT_EQ(Run.ExitCode, Arguments[0] == "--help" ? 0 : 2) << Run.Err.toStdString();
        EXPECT_EQ(Entries(Dir.Path()), QStringList()) << Arguments[0].toStdString();
    }
    const TRun First = RunScript(Dir.Path(), {"--format", "xlsx"});
    ASSERT_EQ(First.ExitCode, 0) << First.Err.toStdString();
    const QRegularExpression Chinese("[\\x{4e00}-\\x{9fff}]");
    for (const QString& Line : First.Out.split('\n', Qt::SkipEmptyParts))
        EXPECT_TRUE(Line.contains(Chinese)) << Line.toStdString();
    EXPECT_TRUE(First.Out.trimmed().endsWith(Tables + "/")) << First.Out.toStdString();
    const QStringList Written = Entries(Tables);
    const TRun Failed = RunScript(Dir.Path(), {"--unit", "999001"});
    EXPECT_EQ(Failed.ExitCode, 2);
    EXPECT_EQ(Entries(Tables), Written);
}

// A province on the database server gives the same tables as the same
// province in a file, whichever way the run shares its work out.
TEST_F(BatchToolTest, SameTablesFromPostgreSql) {
    VARNHOLT_REQUIRE_PG_SERVER();
    const TDemoOptions Options{120, 12000};
    const TDemoDatabase Server(TEngine::PostgreSQL, Options);
    const TDemoDatabase File(TEngine::SQLite, Options);
    const QStringList Arguments = {"--year", "2024", "--out"};
    ASSERT_EQ(RunBatch(File.ConnectionString(), Arguments + QStringList{Out}).ExitCode, 0);
    ASSERT_GE(Files().size(), 6);
    for (const TRunWay& Way : RunWays) {
        const QString FromServer = Dir.File(Way.Name);
        const TRun Run =
            RunWay(Server.ConnectionString(), Way, Arguments + QStringList{FromServer});
        ASSERT_EQ(Run.ExitCode, 0) << Way.Name << Run.Err.toStdString();
        // The tests' server account is a superuser, which no grant limits.
        EXPECT_TRUE(Run.Out.contains("以超级用户身份连接")) << Run.Out.toStdString();
        ExpectSameTables(Out, FromServer, Way.Name);
    }
}

} // namespace
