#include "host/HostOptions.h"
#include "support/DbFixture.h"
#include "support/ProcessLimits.h"
#include "support/TempDir.h"

#include <QFile>
#include <QProcess>
#include <QProcessEnvironment>
#include <QRegularExpression>
#include <gtest/gtest.h>
#include <vector>

namespace {

// Standard error of the program, run with at most 2 GB of address space.
QString RunProgram(const QString& AName, const QStringList& AArguments, int& AExitCode) {
    QProcess Program;
    LimitAddressSpace(Program, qint64(2) << 30);
    Program.start(BinaryDir() + '/' + AName, AArguments);
    if (!Program.waitForFinished(60000))
        return "did not finish";
    AExitCode = Program.exitStatus() == QProcess::NormalExit ? Program.exitCode() : -1;
    return QString::fromUtf8(Program.readAllStandardError());
}

QString RunHost(const QStringList& AArguments, int& AExitCode) {
    return RunProgram("varnholt-host", AArguments, AExitCode);
}

} // namespace

// Values that make no sense are refused with a message naming the option.
TEST(HostOptions, NonsenseValuesAreRefusedNamingTheOption) {
    TempDir Dir;
    const QString Fifo = MakeFifo(Dir, "host.conf");
    const std::vector<std::pair<QStringList, const char*>> Cases = {
        {{"--year", "-1"}, "--year"},
        {{"--year=20240"}, "--year"},
        {{"--storage", "7"}, "--storage"},
        {{"--reg-root", "99"}, "--reg-root"},
        {{"--btype", "3"}, "--btype"},
        {{"--plugin-id", "-1"}, "--plugin-id"},
        {{"--quit-after", "-5"}, "--quit-after"},
        {{"--year", ""}, "--year 需要"},
        {{"--config", Dir.Path()}, "不是普通文件"},
        {{"--config", Fifo}, "不是普通文件"},
    };
    for (const auto& [Arguments, Named] : Cases) {
        const HostOptionsResult Result = ParseHostOptions(QStringList{"varnholt-host"} + Arguments);
        EXPECT_TRUE(Result.Error.contains(QString::fromUtf8(Named)))
            << Arguments.join(' ').toStdString() << ": " << Result.Error.toStdString();
    }
    const HostOptionsResult Good =
        ParseHostOptions({"varnholt-host", "-year", "2024", "--storage=1", "--reg-root", "5"});
    EXPECT_TRUE(Good.Error.isEmpty()) << Good.Error.toStdString();
    EXPECT_EQ(Good.Options.DataYear, 2024);
    EXPECT_EQ(Good.Options.StorageKind, 1);
    EXPECT_EQ(Good.Options.RegRoot, 5);
}

// The host's own options leave the argument list before QApplication sees
// it; Qt's options and everything after "--" stay.
TEST(HostOptions, OwnArgumentsAreTakenBeforeQtSeesThem) {
    QByteArrayList Storage = {"host",        "--plugin", "/x.so",    "-platform",
                              "offscreen",   "-plugin",  "/y.so",    "--open",
                              "--year=2024", "--",       "--plugin", "kept"};
    std::vector<char*> Argv;
    for (QByteArray& Argument : Storage)
        Argv.push_back(Argument.data());
    Argv.push_back(nullptr);
    int Argc = static_cast<int>(Storage.size());
    const QStringList Taken = TakeHostArguments(Argc, Argv.data());
    EXPECT_EQ(Taken,
              (QStringList{"--plugin", "/x.so", "-plugin", "/y.so", "--open", "--year=2024"}));
    ASSERT_EQ(Argc, 6);
    EXPECT_EQ(QByteArrayList(Argv.begin(), Argv.begin() + Argc),
              (QByteArrayList{"host", "-platform", "offscreen", "--", "--plugin", "kept"}));
    EXPECT_EQ(Argv[Argc], nullptr);
}

// The running host: a plug-in that is missing or not ours, or a screenshot
// that cannot be written, is an error with its reason and a non-zero exit.
TEST(HostProgram, FailuresAreReportedWithAnExitCode) {
    const std::vector<std::pair<QStringList, QString>> Cases = {
        {{"--plugin", "/nonexistent/libother.so"}, "/nonexistent/libother.so"},
        {{"--plugin", BinaryDir() + "/libplatform.so"}, "ShowPlugInWindow"},
        {{"--screenshot", "/nonexistent/host.png"}, "/nonexistent/host.png"},
    };
    for (const auto& [Arguments, Named] : Cases) {
        int ExitCode = 0;
        const QString Error = RunHost(Arguments + QStringList{"--quit-after", "600"}, ExitCode);
        EXPECT_NE(ExitCode, 0) << Arguments.join(' ').toStdString();
        EXPECT_TRUE(Error.contains(Named)) << Error.toStdString();
    }
}

// --help of the host and of the demo generator: Chinese throughout, every
// option listed. Left after the option names, the placeholders, the
// program's name and the examples of values, no Latin word remains.
TEST(HostProgram, HelpIsChineseButForOptionNames) {
    const struct {
        const char* Program;
        QStringList Options;
        QStringList Examples;
    } Cases[] = {
        {"varnholt-host",
         {"connection", "year", "unit", "unit-class", "dept-mode", "btype", "templates", "config",
          "plugin", "ini", "registry", "storage", "reg-root", "plugin-id", "screenshot",
          "quit-after", "open"},
         {"Provider=SQLite;Data Source=demo.db", "libvarnholt.so", "templates/", "[host]", "INI",
          "PNG"}},
        {"varnholt-demo-db",
         {"units", "rows", "seed", "first-year", "years", "connection", "replace"},
         {"Provider=PostgreSQL;Host=…;Port=…;Database=…;User ID=…;Password=…",
          "Provider=SQLite;Data Source=", "SQLite", "PostgreSQL"}},
    };
    for (const auto& Case : Cases) {
        QProcess Program;
        // Started outside a desktop session: nothing of Qt's own in English
        // on the error stream either.
        QProcessEnvironment Environment = QProcessEnvironment::systemEnvironment();
        Environment.remove("XDG_RUNTIME_DIR");
        Program.setProcessEnvironment(Environment);
        Program.start(BinaryDir() + '/' + Case.Program, {"--help"});
        ASSERT_TRUE(Program.waitForFinished(60000)) << Case.Program;
        EXPECT_EQ(Program.exitCode(), 0) << Case.Program;
        QString Errors = QString::fromUtf8(Program.readAllStandardError());
        Errors.remove(QString::fromLatin1(Case.Program)).remove("Qt").remove("offscreen");
        EXPECT_FALSE(Errors.contains(QRegularExpression("[A-Za-z]"))) << Errors.toStdString();
        QString Help = QString::fromUtf8(Program.readAllStandardOutput());
        for (const QString& Option : Case.Options)
            EXPECT_TRUE(Help.contains("  --" + Option + ' '))
                << Case.Program << " --" << Option.toStdString();
        for (const QString& Example : Case.Examples)
            Help.remove(Example);
        Help.remove(QString::fromLatin1(Case.Program));
        Help.remove(QRegularExpression("--?[a-z][a-z-]*|<[^>]*>"));
        EXPECT_FALSE(Help.contains(QRegularExpression("[A-Za-z]"))) << Help.toStdString();
    }
}

// The [host] section is read as the settings store reads INI files: a value
// is the rest of its line, so a connection string needs no quotes. A value
// that opens a quote and does not close it, or holds a control character,
// is refused naming its line; another section's lines are not the host's.
TEST(HostOptions, ConfigValuesAreTheRestOfTheLine) {
    const struct {
        QByteArray Line;
        const char* Expected;
        const char* Error;
    } Cases[] = {
        {"connection=Provider=SQLite;Data Source=a b.db", "Provider=SQLite;Data Source=a b.db", ""},
        {"Connection = \"Provider=SQLite;Data Source=a.db\" ", "Provider=SQLite;Data Source=a.db",
         ""},
        {"; connection=commented out\nconnection=x,y;z", "x,y;z", ""},
        {"connection='it''s'", "it''s", ""},
        {"connection=\"Provider=SQLite;Data Source=a.db", "",
         "第 4 行（connection）：值以引号 \" 开头，却没有配对的结束引号"},
        {"connection=  '", "", "第 4 行（connection）：值以引号 ' 开头"},
        {"connection=\"a.db'", "", "没有配对的结束引号"},
        {QByteArray("connection=a\0b.db", 17), "", "第 4 行（connection）：值中有空字符（NUL）"},
        {"connection=a\x1b[2Jb.db", "", "控制字符"},
    };
    TempDir Dir;
    for (const auto& [Line, Expected, Error] : Cases) {
        WriteBytes(Dir.File("host.ini"), "[other]\nconnection=\"no\n[host]\n" + Line + "\n");
        const HostOptionsResult Result =
            ParseHostOptions({"varnholt-host", "--config", Dir.File("host.ini")});
        EXPECT_TRUE(Result.Error.contains(QString::fromUtf8(Error))) << Result.Error.toStdString();
        EXPECT_EQ(Result.Error.isEmpty(), *Error == 0) << Line.data();
        if (*Error == 0) {
            EXPECT_EQ(Result.Options.ConnectionString.toStdString(), Expected) << Line.data();
        }
    }
}

// A config file far too large to be one is refused with its name, before
// anything reads it whole, by both programs that take the host's options.
TEST(HostProgram, AHugeConfigFileIsRefused) {
    TempDir Dir;
    const QString Huge = Dir.File("huge.ini");
    QFile Sparse(Huge);
    ASSERT_TRUE(Sparse.open(QIODevice::WriteOnly));
    ASSERT_TRUE(Sparse.resize(qint64(3) << 30)); // sparse: no disk space
    Sparse.close();
    for (const char* Program : {"varnholt-host", "varnholt-batch"}) {
        int ExitCode = 0;
        const QString Error = RunProgram(Program, {"--config", Huge}, ExitCode);
        EXPECT_EQ(ExitCode, 2) << Program << ": " << Error.toStdString();
        EXPECT_TRUE(Error.contains("16 MB") && Error.contains(Huge)) << Error.toStdString();
    }
}

// The report window opens on a unit tree 2,500 levels deep with the host's
// main thread on a 1 MB stack: loading it takes no call per level.
TEST(HostProgram, ADeepUnitTreeOpensOnASmallStack) {
    TempDir Dir;
    const QString Db = MakeDemoDb(Dir, TDemoOptions{30, 300});
    RunSql(Db, {"with recursive c(i) as (select 1 union all select i + 1 from c where i < 2500) "
                "insert into pubdept (eid, peid, ename, leafflag, class) select '101c' || i, case "
                "when i = 1 then '101' else '101c' || (i - 1) end, 'level ' || i, case when i = "
                "2500 then '1' else '0' end, 1 from c"});
    QProcess Host;
    LimitStack(Host, 1 << 20);
    Host.start(BinaryDir() + "/varnholt-host", {"--connection", SqliteConnectionString(Db),
                                                "--year", "2024", "--open", "--quit-after", "500"});
    ASSERT_TRUE(Host.waitForFinished(240000));
    EXPECT_EQ(Host.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(Host.exitCode(), 0) << Host.readAllStandardError().toStdString();
}
