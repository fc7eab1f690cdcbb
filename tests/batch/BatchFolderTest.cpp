// What a run leaves in its folder: the set of one selection, whole, with an
// audit file that says what it is of, and nothing of the run's machinery;
// whatever another run, another user or a failure does to the folder.
#include "BatchProcess.h"
#include "report/tables/ReportFileNames.h"
#include "support/DbFixture.h"
#include "support/TempDir.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QRegularExpression>
#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

const QString Audit = "2024年国库集中支付改革预算数审核结果.txt";

class BatchFolderTest : public ::testing::Test {
protected:
    TRun Batch(const QStringList& AArguments, const QString& AOut = QString()) {
        return RunBatch(SqliteConnectionString(Db),
                        QStringList{"--year", "2024", "--out", AOut.isEmpty() ? Out : AOut} +
                            AArguments);
    }
    QString AuditText() const { return ReadText(QDir(Out).filePath(Audit)); }

    TempDir Dir;
    QString Db = MakeDemoDb(Dir);
    QString Out = Dir.File("tables");
};

// Another selection is refused naming both, the folder left as it was;
// --replace puts the new set in the old one's place whole; the same
// selection again replaces its own set, the files it no longer writes
// included.
TEST_F(BatchFolderTest, AFolderHoldsTheSetOfOneSelection) {
    const struct {
        const char* What;
        QStringList First;
        QStringList Second;
        int ExitCode;
        const char* Says;
    } Cases[] = {
        {"another sub-type", {}, {"--subtype", "2"}, 2, "（追加预算）"},
        {"another node", {}, {"--node", "101002001"}, 2, "（101002001）"},
        {"another year", {}, {"--year", "2023"}, 2, "2023年预算数"},
        {"another login", {}, {"--unit", "102001"}, 2, "102001（类别 1）"},
        {"each unit after the node",
         {"--node", "101002"},
         {"--node", "101002", "--each-unit"},
         2,
         "逐个单位写出"},
        {"another node and sub-type, replaced",
         {},
         {"--node", "101002001", "--subtype", "2", "--replace"},
         0,
         "按 --replace"},
        {"the same selection, fewer files", {}, {"--format", "xlsx"}, 0, "已删除"},
    };
    for (const auto& Case : Cases) {
        SCOPED_TRACE(Case.What);
        QDir(Out).removeRecursively();
        ASSERT_EQ(Batch(Case.First).ExitCode, 0);
        const QMap<QString, QByteArray> Before = Snapshot(Out);
        const TRun Run = Batch(Case.Second);
        EXPECT_EQ(Run.ExitCode, Case.ExitCode) << Run.Err.toStdString();
        EXPECT_TRUE((Run.Out + Run.Err).contains(QString::fromUtf8(Case.Says)))
            << (Run.Out + Run.Err).toStdString();
        if (Case.ExitCode != 0) {
            EXPECT_TRUE(Run.Err.contains("（当年预算）")) << "both selections named";
            EXPECT_EQ(Snapshot(Out), Before);
            continue;
        }
        // Exactly the files the record lists, and the record.
        QStringList Listed = RecordField(AuditText(), "文件") << Audit;
        Listed.sort();
        EXPECT_EQ(Entries(Out), Listed);
        const QStringList Unit = RecordField(AuditText(), "单位");
        const QStringList SubType = RecordField(AuditText(), "指标子类型");
        EXPECT_EQ(Unit.value(0), Case.Second.contains("--node") ? "101002001" : "101");
        EXPECT_EQ(SubType.value(1), Case.Second.contains("2") ? "追加预算" : "当年预算");
    }
}

// The audit file's head says what it audited, so a file found later can be
// traced: unit, year, type, sub-type, login, fund natures, the database
// without its password, when, and the files of its set.
TEST_F(BatchFolderTest, TheAuditFileNamesItsSelection) {
    const QDateTime Start = QDateTime::currentDateTime().addSecs(-1);
    const TRun Run =
        RunBatch(SqliteConnectionString(Db) + ";Password=Geheim42",
                 {"--year", "2024", "--out", Out, "--node", "101002001", "--subtype", "2"});
    ASSERT_EQ(Run.ExitCode, 0) << Run.Err.toStdString();
    const QString Text = AuditText();
    EXPECT_EQ(RecordField(Text, "单位"), (QStringList{"101002001", "省教育厅省立大学本级"}));
    EXPECT_EQ(RecordField(Text, "年度"), QStringList{"2024"});
    EXPECT_EQ(RecordField(Text, "指标类型"), (QStringList{"1", "预算数"}));
    EXPECT_EQ(RecordField(Text, "指标子类型"), (QStringList{"2", "追加预算"}));
    EXPECT_EQ(RecordField(Text, "登录单位"), (QStringList{"101001", "类别 1"}));
    EXPECT_TRUE(RecordField(Text, "资金性质").contains("11 公共财政预算资金"));
    EXPECT_TRUE(RecordField(Text, "数据库").value(0).contains(QFileInfo(Db).fileName()));
    EXPECT_FALSE(Text.contains("Geheim42"));
    const QDateTime Made =
        QDateTime::fromString(RecordField(Text, "生成时间").value(0), "yyyy-MM-dd HH:mm:ss");
    EXPECT_TRUE(Made >= Start && Made <= QDateTime::currentDateTime()) << Text.toStdString();
    EXPECT_EQ(RecordField(Text, "状态"), QStringList{"完成"});
    EXPECT_EQ(RecordField(Text, "文件").size(), Entries(Out).size() - 1);
    EXPECT_TRUE(Run.Out.startsWith("省教育厅省立大学本级（101002001）2024年预算数（追加预算）"))
        << Run.Out.toStdString();
}

// A run that fails on its fourth table leaves the folder's earlier set
// whole, the audit file that vouches for it included, and no temporary file.
TEST_F(BatchFolderTest, AFailedRunLeavesTheEarlierSetWhole) {
    ASSERT_EQ(Batch({}).ExitCode, 0);
    const QMap<QString, QByteArray> Before = Snapshot(Out);
    ASSERT_EQ(Before.size(), 9);
    // Only the detail table of fund nature 21 reads an indicator's name of
    // those rows, and that name now fails when read.
    RunSql(Db, {"drop view vwbudgetadj",
                "create view vwbudgetadj as select a.datayear, a.eid, d.ename, a.deptclass, "
                "a.mid, m.mname, a.bid, s.bname, a.iid, case when a.mid = '21' then "
                "abs(-9223372036854775807 - 1) else i.iname end as iname, a.ipid, a.pid, a.BType, "
                "a.bkid, a.btypechild, a.BudgMoney from busibudgetadj a left join pubdept d on "
                "d.eid = a.eid left join pubmoneykind m on m.mid = a.mid left join "
                "pubbudgetsubject s on s.bid = a.bid left join busiindicator i on i.iid = a.iid"});
    const TRun Run = Batch({});
    EXPECT_EQ(Run.ExitCode, 1);
    EXPECT_TRUE(Run.Err.contains("财政专户管理资金 的查询失败")) << Run.Err.toStdString();
    EXPECT_TRUE(Run.Out.contains("[3/4]")) << Run.Out.toStdString();
    EXPECT_EQ(Snapshot(Out), Before);

    // Over each unit, the list of units says which units have no tables of
    // the run that stopped.
    const QString Units = Dir.File("units");
    const TRun Each = Batch({"--node", "101002", "--each-unit"}, Units);
    EXPECT_EQ(Each.ExitCode, 1);
    const QString List = ReadText(UnitListPath(Units, 2024, "预算数"));
    EXPECT_TRUE(RecordField(List, "状态").value(0).startsWith("未完成：第 ")) << List.toStdString();
    const int Failed = int(List.indexOf("\t未写出："));
    ASSERT_GT(Failed, 0) << List.toStdString();
    EXPECT_TRUE(List.left(Failed).contains("\t审核通过\n")) << "units before it written";
    EXPECT_TRUE(List.mid(Failed).contains("\t未写出\n")) << "units after it not reached";
}

// Two runs at once into one folder: the second waits for the first and,
// told not to wait, says the folder is in use. A folder another process
// holds even in shared mode is in use too. Temporary files of an
// interrupted run go, unless a process still has them open; and nothing
// of the runs' own is left behind.
TEST_F(BatchFolderTest, OneRunAtATimeAndNothingOfTheRunsLeftBehind) {
    // The first run's first line comes once it holds the folder; stopped
    // there, it holds it while the second tries.
    TPipedBatch First(SqliteConnectionString(Db), {"--year", "2024", "--out", Out});
    ASSERT_FALSE(First.ReadLine().isEmpty());
    First.Stop();
    const TRun Second = Batch({"--wait", "0"});
    First.Resume();
    EXPECT_EQ(First.Wait(), 0) << First.Errors().toStdString();
    EXPECT_EQ(Second.ExitCode, 1);
    EXPECT_TRUE(Second.Err.contains("正被另一次运行使用")) << Second.Err.toStdString();

    const int Shared = ::open(QFile::encodeName(Out).constData(), O_RDONLY | O_DIRECTORY);
    ASSERT_EQ(::flock(Shared, LOCK_SH), 0);
    EXPECT_EQ(Batch({"--wait", "0"}).ExitCode, 1);
    ::close(Shared);

    const QString Held = QDir(Out).filePath(Audit + ".AbC123.part");
    WriteBytes(Held, "being written");
    WriteBytes(QDir(Out).filePath(".varnholt-batch.lock"), "");
    QProcess Holder;
    Holder.start("sh", {"-c", "exec 3<\"$0\"; echo open; exec sleep 60", Held});
    ASSERT_TRUE(Holder.waitForReadyRead(10000));
    const TRun Third = Batch({});
    Holder.kill();
    Holder.waitForFinished();
    EXPECT_EQ(Third.ExitCode, 0) << Third.Err.toStdString();
    EXPECT_TRUE(QFile::exists(Held));
    ASSERT_EQ(Batch({}).ExitCode, 0);
    EXPECT_FALSE(QFile::exists(Held));
    ASSERT_EQ(Batch({"--node", "101002", "--each-unit", "--replace"}).ExitCode, 0);
    for (const QString& File : Snapshot(Out).keys())
        EXPECT_FALSE(QFileInfo(File).fileName().startsWith('.')) << File.toStdString();
}

// A run over each unit again, after a unit lost its data: that unit's
// folder is cleared of what the run before wrote there, and only of that
// (a clerk's copy of a table stays, and so does the folder). A list of
// units another user put in the folder cannot make the run clear a set of
// the clerk's elsewhere.
TEST_F(BatchFolderTest, AnotherRunOverEachUnitClearsWhatTheOneBeforeWrote) {
    const QStringList Arguments{"--node", "101002", "--each-unit", "--format", "xlsx"};
    ASSERT_EQ(Batch(Arguments).ExitCode, 0);
    const QString List = UnitListPath(Out, 2024, "预算数");
    const QStringList Folders = RecordField(ReadText(List), "单位文件夹");
    ASSERT_GE(Folders.size(), 3);
    const QString Lost = Folders.last();
    const QString Code = Lost.section(' ', 0, 0);
    const QString Copy = "2023年国库集中支付改革预算数汇总范围划分建议表.xlsx";
    WriteBytes(QDir(QDir(Out).filePath(Lost)).filePath(Copy), "the clerk's copy");
    const QString Other = QDir(Out).filePath("other");
    ASSERT_EQ(Batch({"--node", "101002001", "--format", "xlsx"}, Other).ExitCode, 0);
    const auto OtherSet = Snapshot(Other);
    if (::geteuid() == 0) {
        const QString Planted =
            QDir(Out).filePath("2023年国库集中支付改革预算数各单位审核结果.txt");
        WriteBytes(Planted,
                   QString("\uFEFF报表集\tx\n单位\t101002\tx\n年度\t2024\n指标类型\t1\tx\n"
                           "指标子类型\t0\tx\n登录单位\t101001\t类别 1\n写出方式\t逐个单位\n"
                           "文件\t\n单位文件夹\tother\n\n")
                       .toUtf8());
        ASSERT_EQ(::chown(QFile::encodeName(Planted).constData(), 65534, 65534), 0);
    }
    RunSql(Db, {"delete from busibudgetadj where eid like '" + Code + "%'"});
    const TRun Run = Batch(Arguments);
    ASSERT_EQ(Run.ExitCode, 0) << Run.Err.toStdString();
    EXPECT_TRUE(Run.Out.contains(Code + " ") && Run.Out.contains("已删除"))
        << Run.Out.toStdString();
    EXPECT_EQ(Entries(QDir(Out).filePath(Lost)), QStringList{Copy});
    EXPECT_FALSE(RecordField(ReadText(List), "单位文件夹").contains(Lost));
    EXPECT_EQ(Snapshot(Other), OtherSet);
}

} // namespace
