#include "SettingsFiles.h"
#include "platform/settings/TIniFile.h"

#include <QDir>
#include <QFile>
#include <gtest/gtest.h>
#include <tuple>

namespace {

class IniFileTest : public ::testing::Test {
protected:
    TempDir Dir;
    QString FileName = Dir.File(QStringLiteral("settings.ini"));
};

TEST_F(IniFileTest, ValuesReadBackExactlyThroughAFreshObject) {
    const QStringList Values = {QStringLiteral("1"),         QString(),
                                QStringLiteral("  padded "), QStringLiteral("\"quoted\""),
                                QStringLiteral("'single'"),  QStringLiteral("a=b;c#d"),
                                QStringLiteral("\""),        QStringLiteral("导出当前所选单位")};
    for (int I = 0; I < Values.size(); ++I)
        TIniFile(FileName).WriteString(QStringLiteral("S"), QStringLiteral("K%1").arg(I),
                                       Values[I]);
    TIniFile Reader(FileName);
    for (int I = 0; I < Values.size(); ++I)
        EXPECT_EQ(Reader.ReadString(QStringLiteral("S"), QStringLiteral("K%1").arg(I)), Values[I])
            << I;
}

// An edit changes one line and leaves every other byte alone, whatever the
// file's line ends, byte order mark or foreign bytes.
TEST_F(IniFileTest, WriteChangesOnlyTheLineOfTheKey) {
    struct Case {
        const char* Name;
        QByteArray Before;
        QByteArray After;
    };
    const QByteArray Gbk("\xB5\xBC\xB3\xF6"); // not UTF-8
    const Case Cases[] = {
        {"lf", "; head\n[Other]\nx=1\n\n[bwnCorrandel]\nexpType = 0 ; old\nShowSaveExpSet=1\n",
         "; head\n[Other]\nx=1\n\n[bwnCorrandel]\nexpType = 1\nShowSaveExpSet=1\n"},
        {"crlf+bom", "\xEF\xBB\xBF[BWNCORRANDEL]\r\n  EXPTYPE=0\r\n; " + Gbk + "\r\n",
         "\xEF\xBB\xBF[BWNCORRANDEL]\r\n  EXPTYPE=1\r\n; " + Gbk + "\r\n"},
        {"no final newline", "[bwnCorrandel]\nexpType=0", "[bwnCorrandel]\nexpType=1"},
    };
    for (const Case& C : Cases) {
        WriteBytes(FileName, C.Before);
        TIniFile(FileName).WriteString(QStringLiteral("bwncorrandel"), QStringLiteral("expTYPE"),
                                       QStringLiteral("1"));
        EXPECT_EQ(ReadBytes(FileName), C.After) << C.Name;
    }
}

TEST_F(IniFileTest, NewKeysAndSectionsGoWhereAWindowsProfileWouldPutThem) {
    WriteBytes(FileName, "[A]\r\nk=1\r\n\r\n; about B\r\n[B]\r\n");
    TIniFile Ini(FileName);
    Ini.WriteString(QStringLiteral("a"), QStringLiteral("new"), QStringLiteral("2"));
    Ini.WriteString(QStringLiteral("C"), QStringLiteral("c"), QStringLiteral("3"));
    EXPECT_EQ(ReadBytes(FileName),
              "[A]\r\nk=1\r\nnew=2\r\n\r\n; about B\r\n[B]\r\n\r\n[C]\r\nc=3\r\n");
}

TEST_F(IniFileTest, NamesMatchWithoutCaseAndTheFirstOfADuplicateCounts) {
    WriteBytes(FileName, "top=ignored\n[Alpha]\nKey=1\nkey=2\n; c=3\nplain line\n"
                         "[beta]\n[ALPHA]\nkey=4\nother=5\n");
    TIniFile Ini(FileName);
    EXPECT_EQ(Ini.ReadSections(), (QStringList{QStringLiteral("Alpha"), QStringLiteral("beta")}));
    EXPECT_EQ(Ini.ReadSection(QStringLiteral("alpha")), QStringList{QStringLiteral("Key")});
    EXPECT_EQ(Ini.ReadString(QStringLiteral("ALPHA"), QStringLiteral("KEY")), QStringLiteral("1"));
    EXPECT_EQ(
        Ini.ReadString(QStringLiteral("alpha"), QStringLiteral("other"), QStringLiteral("default")),
        QStringLiteral("default"));
    EXPECT_TRUE(Ini.ReadSection(QStringLiteral("missing")).isEmpty());
}

TEST_F(IniFileTest, NamesAndValuesThatWouldBreakTheFileAreRefused) {
    const QByteArray Before = "[S]\nk=1\n";
    WriteBytes(FileName, Before);
    const QString S = QStringLiteral("S"), K = QStringLiteral("k"), V = QStringLiteral("v");
    const QList<std::tuple<QString, QString, QString>> Cases = {
        {QStringLiteral(" "), K, V},          {QStringLiteral("a]b"), K, V},
        {QStringLiteral("a\nb"), K, V},       {S, QString(), V},
        {S, QStringLiteral("a=b"), V},        {S, QStringLiteral("[x"), V},
        {S, QStringLiteral(";x"), V},         {S, QStringLiteral("k\r"), V},
        {S, K, QStringLiteral("two\nlines")}, {S, K, QStringLiteral("x\r\n[Injected]")},
    };
    for (const auto& [Section, Key, Value] : Cases) {
        EXPECT_THROW(TIniFile(FileName).WriteString(Section, Key, Value), ESettingsError)
            << Section.toStdString() << '|' << Key.toStdString() << '|' << Value.toStdString();
    }
    EXPECT_EQ(ReadBytes(FileName), Before);
}

TEST_F(IniFileTest, ReadOnlyFileRaisesAndKeepsItsContent) {
    const QByteArray Before = "[bwnCorrandel]\nexpType=0\n";
    WriteBytes(FileName, Before);
    QFile::setPermissions(FileName, QFile::ReadOwner | QFile::ReadGroup | QFile::ReadOther);
    try {
        TIniFile(FileName).WriteString(QStringLiteral("bwnCorrandel"), QStringLiteral("expType"),
                                       QStringLiteral("1"));
        ADD_FAILURE() << "no error";
    } catch (const EInOutError& E) {
        EXPECT_TRUE(E.Message().contains(FileName)) << E.what();
    }
    EXPECT_EQ(ReadBytes(FileName), Before);
    EXPECT_EQ(QDir(Dir.Path()).entryList(QDir::Files), QStringList{QStringLiteral("settings.ini")});
}

TEST_F(IniFileTest, FileInAMissingFolderRaisesInsteadOfVanishing) {
    TIniFile Ini(Dir.File(QStringLiteral("no/such/folder/settings.ini")));
    EXPECT_THROW(Ini.CreateIfMissing(), EInOutError);
    EXPECT_THROW(Ini.WriteString(QStringLiteral("S"), QStringLiteral("k"), QStringLiteral("v")),
                 EInOutError);
    EXPECT_TRUE(Ini.ReadSections().isEmpty());
}

} // namespace
