// varnholt-batch against what goes wrong in offices: databases that fail
// after the start, odd data, planted links, a busy folder, interruptions.
// Each run either writes sound tables or fails saying why, and leaves no
// table that was built on a failed query.
#include "BatchProcess.h"
#include "support/DbFixture.h"
#include "support/SmallDisk.h"
#include "support/TempDir.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QThread>
#include <csignal>
#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/file.h>
#include <unistd.h>

namespace {

// SQLite raises "integer overflow" when this is evaluated, and only then:
// count(*) over a view that holds it still works.
const QString Failing = "abs(-9223372036854775807 - 1)";

const QString Summary = "2024年国库集中支付改革预算数汇总范围划分建议表.xlsx";

class BatchReliabilityTest : public ::testing::Test {
protected:
    TRun Batch(const QStringList& AArguments) {
        return RunBatch(SqliteConnectionString(Db),
                        QStringList{"--year", "2024", "--out", Out, "--format", "xlsx"} +
                            AArguments);
    }
    TempDir Dir;
    QString Db = MakeDemoDb(Dir);
    QString Out = Dir.File("tables");
};

TEST_F(BatchReliabilityTest, BadDatabasesFailTheRunOrAreToldApart) {
    const QString Adjustment =
        "insert into busibudgetadj (datayear, eid, deptclass, mid, bid, iid, "
        "ipid, pid, BType, bkid, btypechild, BudgMoney) select datayear, "
        "eid, deptclass, %1, bid, iid, ipid, pid, BType, bkid, btypechild, "
        "%2 from busibudgetadj where datayear=2024 and BType='1' and "
        "bkid='21' and btypechild='1' and pid<>'' and mid='12' limit 3";
    const struct {
        const char* What;
        QStringList Sql;
        int ExitCode;
        const char* Says;
        const char* NotWritten;
    } Cases[] = {
        {"an amount column that fails when read",
         {"drop view vwbudgetadj",
          "create view vwbudgetadj as select a.datayear, a.eid, d.ename, a.deptclass, a.mid, "
          "m.mname, a.bid, s.bname, a.iid, i.iname, a.ipid, a.pid, a.BType, a.bkid, "
          "a.btypechild, " +
              Failing +
              " as BudgMoney from busibudgetadj a left join pubdept d on d.eid = a.eid left join "
              "pubmoneykind m on m.mid = a.mid left join pubbudgetsubject s on s.bid = a.bid "
              "left join busiindicator i on i.iid = a.iid"},
         1,
         "汇总表 的查询失败，未写出该表：",
         "汇总"},
        {"a fund-nature list that fails",
         {"alter table busibudgetadj rename to adjustment_rows",
          "create view busibudgetadj as select adjid, " + Failing +
              " as datayear, eid, deptclass, mid, bid, iid, ipid, pid, BType, bkid, btypechild, "
              "BudgMoney from adjustment_rows"},
         1,
         "查询资金性质失败",
         "汇总"},
        {"a unit class that fails when read",
         {"alter table pubdept rename to unit_rows",
          "create view pubdept as select eid, peid, ename, leafflag, " + Failing +
              " as class, deptclass, replaceflag, useflag, specialaccount from unit_rows"},
         1,
         "的查询失败，未写出该表",
         "公共财政预算资金"},
        {"amounts beyond any number", {Adjustment.arg("mid", "'1e400'")}, 1, "不是有限数", "汇总"},
        {"fund natures of one name, and one named like the summary",
         {"insert into pubmoneykind values ('13', '基金预算资金', '0'), ('14', '<全部>', '0')",
          Adjustment.arg("'13'", "BudgMoney"), Adjustment.arg("'14'", "BudgMoney")},
         0,
         "文件名中加上了编码：基金预算资金（12）、基金预算资金（13）、<全部>（14）",
         ""},
        {"a fund-nature name too long for a file name",
         {"update pubmoneykind set mname = replace(hex(zeroblob(120)), '00', '基') where mid='12'"},
         1,
         "文件名太长",
         "汇总"},
        {"a fund-nature name with a line break",
         {"update pubmoneykind set mname = '政府' || char(10) || '基金' where mid='12'"},
         0,
         "[3/",
         "政府\n基金"},
    };
    for (const auto& Case : Cases) {
        SCOPED_TRACE(Case.What);
        TempDir Own;
        const QString File = Own.File("demo.db");
        ASSERT_TRUE(QFile::copy(Db, File));
        RunSql(File, Case.Sql);
        const QString Tables = Own.File("tables");
        const TRun Run = RunBatch(SqliteConnectionString(File),
                                  {"--year", "2024", "--out", Tables, "--format", "xlsx"});
        EXPECT_EQ(Run.ExitCode, Case.ExitCode) << Run.Err.toStdString();
        EXPECT_TRUE((Run.Out + Run.Err).contains(QString::fromUtf8(Case.Says)))
            << (Run.Out + Run.Err).toStdString();
        const QStringList Written = Entries(Tables);
        if (*Case.NotWritten) {
            EXPECT_TRUE(Written.filter(QString::fromUtf8(Case.NotWritten)).isEmpty())
                << Written.join(' ').toStdString();
        }
        // No two tables in one file.
        if (Case.ExitCode == 0) {
            EXPECT_EQ(QDir(Tables).entryList({"*.xlsx"}).size(), Run.Out.count(" 行 -> "))
                << Run.Out.toStdString();
        }
    }
}

// A link planted in a folder others can write, at a table's name: the run
// must not replace the file it points to.
TEST_F(BatchReliabilityTest, ALinkOfAnotherUserIsNotWrittenThrough) {
    if (::geteuid() != 0)
        GTEST_SKIP() << "giving a link to another user needs root";
    const QString Victim = Dir.File("victim.conf");
    WriteBytes(Victim, "keep me");
    ASSERT_TRUE(QDir().mkpath(Out));
    const QByteArray Link = QFile::encodeName(QDir(Out).filePath(Summary));
    ASSERT_EQ(::symlink(QFile::encodeName(Victim).constData(), Link.constData()), 0);
    ASSERT_EQ(::lchown(Link.constData(), 65534, 65534), 0);
    const TRun Run = Batch({});
    EXPECT_EQ(Run.ExitCode, 1);
    EXPECT_TRUE(Run.Err.contains("属于其他用户的链接")) << Run.Err.toStdString();
    EXPECT_EQ(ReadBytes(Victim), "keep me");
}

// What another user plants in a folder everyone may write (mode 1777): a
// link at a unit's folder name or at the output folder's own name (at a
// table's name: the test above), and a pipe at the name earlier versions
// locked. None sends a file of the run elsewhere or replaces one there, and
// none blocks the run.
TEST_F(BatchReliabilityTest, WhatAnotherUserPlantsInASharedFolder) {
    if (::geteuid() != 0)
        GTEST_SKIP() << "giving a link to another user needs root";
    const QString Shared = Dir.File("shared");
    const QString Secret = Dir.File("secret");
    ASSERT_TRUE(QDir().mkpath(Shared) && QDir().mkpath(Secret));
    ASSERT_EQ(::chmod(QFile::encodeName(Shared).constData(), 01777), 0);
    ASSERT_EQ(::chmod(QFile::encodeName(Secret).constData(), 0700), 0);
    WriteBytes(QDir(Secret).filePath(Summary), "root's own");
    const QString Unit = ReadColumn(Db, "select eid || ' ' || ename from pubdept where "
                                        "eid = '101002001'")
                             .value(0);
    const QString Tables = QDir(Shared).filePath("tables");
    const struct {
        const char* What;
        QString Planted;
        QString Target; // empty: a pipe
        QStringList Arguments;
        int ExitCode;
        const char* Says;
    } Cases[] = {
        {"a link at a unit's folder",
         QDir(Tables).filePath(Unit),
         Secret,
         {"--node", "101002", "--each-unit"},
         1,
         "属于其他用户（nobody）的链接"},
        {"a link at the output folder", Tables, Secret, {}, 1, "属于其他用户（nobody）的链接"},
        {"a pipe at the old lock's name",
         QDir(Tables).filePath(".varnholt-batch.lock"),
         "",
         {},
         0,
         "完成："},
    };
    for (const auto& Case : Cases) {
        SCOPED_TRACE(Case.What);
        // A link left by the case before goes first: removing its folder would
        // empty the one it points to.
        ::unlink(QFile::encodeName(Tables).constData());
        QDir(Tables).removeRecursively();
        if (Case.Planted != Tables) {
            ASSERT_TRUE(QDir().mkpath(Tables));
        }
        const QByteArray Planted = QFile::encodeName(Case.Planted);
        ASSERT_EQ(Case.Target.isEmpty()
                      ? ::mkfifo(Planted.constData(), 0666)
                      : ::symlink(QFile::encodeName(Case.Target).constData(), Planted.constData()),
                  0);
        ASSERT_EQ(::lchown(Planted.constData(), 65534, 65534), 0);
        const TRun Run = RunBatch(
            SqliteConnectionString(Db),
            QStringList{"--year", "2024", "--out", Tables, "--format", "xlsx"} + Case.Arguments);
        EXPECT_EQ(Run.ExitCode, Case.ExitCode) << Run.Err.toStdString();
        EXPECT_TRUE((Run.Out + Run.Err).contains(QString::fromUtf8(Case.Says)))
            << (Run.Out + Run.Err).toStdString();
        EXPECT_EQ(Entries(Secret), QStringList{Summary});
        EXPECT_EQ(ReadBytes(QDir(Secret).filePath(Summary)), "root's own");
    }
}

// Names that hold line breaks, a terminal's escapes or a NUL: the run's
// lines and its audit file show them escaped, so no name forges a line or
// commands the terminal; a NUL in a unit's name is refused naming the unit.
TEST_F(BatchReliabilityTest, ControlCharactersInNamesAreShownEscaped) {
    RunSql(Db, {"update pubdept set ename = '南州' || char(10) || '[4/4] 伪造：审核通过' || "
                "char(27) || ']0;标题' || char(7) where eid = '101002'",
                "update pubmoneykind set mname = '政府性' || char(13) || char(27) || '[2J基金' "
                "where mid = '12'"});
    const TRun Run = Batch({"--node", "101002"});
    ASSERT_EQ(Run.ExitCode, 0) << Run.Err.toStdString();
    const QString Audit = ReadText(QDir(Out).filePath("2024年国库集中支付改革预算数审核结果.txt"));
    for (const QString& Text : {Run.Out + Run.Err, Audit}) {
        EXPECT_FALSE(Text.contains(QChar(27)) || Text.contains('\r') || Text.contains(QChar(7)));
        for (const QString& Line : Text.split('\n'))
            EXPECT_FALSE(Line.startsWith("[4/4] 伪造")) << Line.toStdString();
    }
    EXPECT_TRUE(Run.Out.contains("南州\\n[4/4] 伪造：审核通过\\x1b]0;标题\\x07"))
        << Run.Out.toStdString();
    EXPECT_TRUE(Audit.contains("政府性\\r\\x1b[2J基金\t")) << Audit.toStdString();

    RunSql(Db, {"update pubdept set ename = '南' || char(0) || '州' where eid = '101002'"});
    const TRun Nul = Batch({"--node", "101002", "--replace"});
    EXPECT_EQ(Nul.ExitCode, 1);
    EXPECT_TRUE(Nul.Err.contains("单位 101002 的名称中有空字符（NUL）")) << Nul.Err.toStdString();
    EXPECT_TRUE(Nul.Err.trimmed().endsWith("改正它的名称")) << "the message is whole";
}

// A closed standard output (the reader of the run's lines has gone while
// the first table is written) ends the run as the signal does, says so,
// and leaves the folder's set as it was.
TEST_F(BatchReliabilityTest, AClosedOutputEndsTheRunAndKeepsTheFolder) {
    ASSERT_EQ(Batch({}).ExitCode, 0);
    const auto Before = Snapshot(Out);
    TPipedBatch Run(SqliteConnectionString(Db),
                    {"--year", "2024", "--out", Out, "--format", "xlsx"});
    ASSERT_FALSE(Run.ReadLine().isEmpty());
    Run.Stop();
    Run.CloseOutput();
    Run.Resume();
    EXPECT_EQ(Run.Wait(), 128 + SIGPIPE);
    EXPECT_TRUE(Run.Errors().contains("标准输出已关闭")) << Run.Errors().toStdString();
    EXPECT_EQ(Snapshot(Out), Before);
}

// Two runs into one folder take turns; leftovers of an interrupted run go,
// and a table the folder's record does not account for is not mixed with.
TEST_F(BatchReliabilityTest, AFolderInUseWaitsThenRefusesAndLeftoversGo) {
    ASSERT_TRUE(QDir().mkpath(Out));
    const int Held = ::open(QFile::encodeName(Out).constData(), O_RDONLY | O_DIRECTORY);
    ASSERT_GE(Held, 0);
    ASSERT_EQ(::flock(Held, LOCK_EX), 0);
    const TRun Busy = Batch({"--wait", "1"});
    ::close(Held);
    EXPECT_EQ(Busy.ExitCode, 1);
    EXPECT_TRUE(Busy.Err.contains("正被另一次运行使用（等了 1 秒）")) << Busy.Err.toStdString();
    EXPECT_TRUE(Entries(Out).isEmpty());

    const QString Leftover = Summary + ".AbC123.part";
    const QString Stray = "2023年国库集中支付改革预算数汇总范围划分建议表.xlsx";
    WriteBytes(QDir(Out).filePath(Leftover), "half a workbook");
    WriteBytes(QDir(Out).filePath(Stray), "");
    const TRun Refused = Batch({});
    EXPECT_EQ(Refused.ExitCode, 2);
    EXPECT_TRUE(Refused.Err.contains(Stray)) << Refused.Err.toStdString();
    EXPECT_FALSE(QFile::exists(QDir(Out).filePath(Leftover)));
    EXPECT_TRUE(Refused.Out.contains("已删除上次中断时留下的临时文件"))
        << Refused.Out.toStdString();
    const TRun Run = Batch({"--replace"});
    EXPECT_EQ(Run.ExitCode, 0) << Run.Err.toStdString();
    EXPECT_FALSE(QFile::exists(QDir(Out).filePath(Stray)));
}

// Interrupted while it writes: the run ends as the signal ends it and
// leaves no temporary file.
TEST_F(BatchReliabilityTest, AnInterruptedRunLeavesNoPartialFile) {
    TempDir Big;
    const QString Province = MakeDemoDb(Big, TDemoOptions{1500, 150000});
    for (const int Delay : {150, 400}) {
        QProcess Process;
        Process.start(
            BinaryDir() + "/varnholt-batch",
            {"--connection", SqliteConnectionString(Province), "--year", "2024", "--out", Out});
        ASSERT_TRUE(Process.waitForStarted());
        QThread::msleep(Delay);
        ::kill(pid_t(Process.processId()), SIGTERM);
        ASSERT_TRUE(Process.waitForFinished(60000));
        if (Process.exitStatus() == QProcess::CrashExit) {
            EXPECT_EQ(Process.exitCode(), SIGTERM);
        }
        EXPECT_TRUE(QDir(Out).entryList({"*.part"}, QDir::Files | QDir::Hidden).isEmpty());
    }
}

TEST_F(BatchReliabilityTest, NamesAndDisksThatCannotTakeTheTablesAreSaidSo) {
    const TRun Long = Batch({"--out", Dir.File(QString(4000, 'x'))});
    EXPECT_EQ(Long.ExitCode, 2);
    EXPECT_TRUE(Long.Err.contains("太长")) << Long.Err.toStdString();
    EXPECT_TRUE(Entries(Dir.Path()).filter("xxx").isEmpty());

    SmallDisk Disk(2048);
    if (!Disk.Mounted())
        GTEST_SKIP() << Disk.Reason().toStdString();
    Disk.Fill(4096);
    const TRun Full = Batch({"--out", Disk.File("tables")});
    EXPECT_EQ(Full.ExitCode, 1);
    EXPECT_TRUE(Full.Err.contains("磁盘已满")) << Full.Err.toStdString();
    EXPECT_TRUE(QDir(Disk.File("tables")).entryList({"*.part"}, QDir::Files).isEmpty());
}

} // namespace
