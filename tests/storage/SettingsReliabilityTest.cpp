// Settings files under hostile conditions: a full disk, a second process,
// something other than a file under the name, very many sections, a blank
// section header.

#include "SettingsFiles.h"
#include "platform/settings/TIniFile.h"
#include "storage/StorageExceptions.h"
#include "support/SmallDisk.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <functional>
#include <gtest/gtest.h>

namespace {

QByteArray ManySections(int ACount) {
    QByteArray Data;
    for (int Index = 0; Index < ACount; ++Index)
        Data += "[section" + QByteArray::number(Index) + "]\nexpType=" + QByteArray::number(Index) +
                "\nShowSaveExpSet=1\n\n";
    return Data;
}

// Bytes this process has read from files so far, or -1 where the kernel does
// not count them.
qint64 BytesReadByProcess() {
    QFile Io("/proc/self/io");
    if (!Io.open(QIODevice::ReadOnly))
        return -1;
    for (const QByteArray& Line : Io.readAll().split('\n'))
        if (Line.startsWith("rchar:"))
            return Line.mid(6).trimmed().toLongLong();
    return -1;
}

// The message of the EInOutError that AWrite raises; empty for none.
QString InOutError(const std::function<void()>& AWrite) {
    try {
        AWrite();
    } catch (const EInOutError& E) {
        return E.Message();
    }
    return QString();
}

} // namespace

// A write that cannot reach the disk raises, saying that the disk is full,
// and leaves the old file byte for byte, with nothing beside it; a new file
// is not left behind empty. Free space for no lock file, for the lock file
// only, for part of the text.
TEST(SettingsFullDisk, FailedWriteRaisesAndKeepsTheOldFile) {
    for (const qint64 Free : {qint64(0), qint64(4096), qint64(8192)}) {
        SCOPED_TRACE(Free);
        SmallDisk Disk(256);
        if (!Disk.Mounted())
            GTEST_SKIP() << Disk.Reason().toStdString();
        const QString Existing = Disk.File("host.INI");
        const QByteArray Before = ManySections(300); // about 11 kB
        WriteBytes(Existing, Before);
        Disk.Fill(Free);
        const QString Full = QStringLiteral("磁盘空间已满");
        EXPECT_TRUE(InOutError([&] {
                        TIniFile(Existing).WriteString("section1", "expType", "changed");
                    }).contains(Full));
        EXPECT_EQ(ReadBytes(Existing), Before);
        const QString Fresh = Disk.File("new.INI");
        EXPECT_TRUE(InOutError([&] {
                        TIniFile(Fresh).WriteString("bwnCorrandel", "expType", QString(20000, 'x'));
                    }).contains(Full));
        EXPECT_FALSE(QFile::exists(Fresh));
        EXPECT_EQ(QDir(Disk.File("")).entryList(QDir::Files), QStringList{"host.INI"});
    }
}

// Two programs writing one settings file at the same time: every value of
// both reaches the file.
TEST(SettingsProcesses, ConcurrentWritersLoseNothing) {
    TempDir Dir;
    const QString File = Dir.File("shared.ini");
    constexpr int Writes = 150;
    QProcess First, Second;
    First.start(BinaryDir() + "/ini_writer", {File, "a", QString::number(Writes)});
    Second.start(BinaryDir() + "/ini_writer", {File, "b", QString::number(Writes)});
    for (QProcess* Process : {&First, &Second}) {
        ASSERT_TRUE(Process->waitForFinished(120000)) << Process->errorString().toStdString();
        EXPECT_EQ(Process->exitCode(), 0) << Process->readAllStandardError().toStdString();
    }
    TIniFile Result(File);
    EXPECT_EQ(Result.ReadSection("shared").size(), 2 * Writes);
    for (int Index = 0; Index < Writes; ++Index)
        for (const char* Prefix : {"a", "b"})
            EXPECT_EQ(Result.ReadString("shared", Prefix + QString::number(Index)),
                      QString::number(Index));
    EXPECT_FALSE(QFile::exists(File + ".lock"));
}

// A FIFO, a device or a folder under the settings name is refused at once:
// no hang, no reading without end.
TEST(SettingsOddFiles, AnythingButAFileIsRefused) {
    TempDir Dir;
    for (const QString& Name : {MakeFifo(Dir, "fifo.ini"), QString("/dev/zero"), Dir.Path()}) {
        SCOPED_TRACE(Name.toStdString());
        try {
            TIniFile(Name).ReadSections();
            ADD_FAILURE() << "no error";
        } catch (const EInOutError& E) {
            EXPECT_TRUE(E.Message().contains(Name)) << E.what();
        }
        EXPECT_THROW(IniStorage(Name), EInOutError);
    }
}

// A reload reads the file once, however many sections it has.
TEST(SettingsReload, ReadsTheFileOncePerReload) {
    if (BytesReadByProcess() < 0)
        GTEST_SKIP() << "/proc/self/io is not available";
    TempDir Dir;
    const QString File = Dir.File("many.ini");
    const QByteArray Data = ManySections(2000);
    WriteBytes(File, Data);
    const qint64 Before = BytesReadByProcess();
    const StoragePtr Storage = IniStorage(File);
    const qint64 Read = BytesReadByProcess() - Before;
    ASSERT_EQ(Storage->DataSectionS().size(), 2000);
    EXPECT_EQ(Storage->FindSection("section1999")->ReadValue("expType"), "1999");
    EXPECT_LT(Read, 3 * Data.size());
}

// A hand-edited "[ ]" line is kept but never read, so it cannot hide the
// sections around it; a blank name is still refused on write.
TEST(SettingsBlankSection, BlankHeaderIsSkippedAndTheOthersStillWork) {
    TempDir Dir;
    const QString File = Dir.File("host.INI");
    WriteBytes(File, "[ ]\nstray=1\n[bwnCorrandel]\nexpType=2\n[]\n[other]\nx=3\n");
    const StoragePtr Storage = IniStorage(File);
    ASSERT_EQ(Storage->DataSectionS().size(), 2);
    EXPECT_EQ(Storage->FindSection("bwnCorrandel")->ReadValue("expType"), "2");
    Storage->WriteValue("other", "x", "4");
    EXPECT_THROW(Storage->WriteValue(" ", "k", "v"), TDataSecExcept);
    EXPECT_EQ(ReadBytes(File), "[ ]\nstray=1\n[bwnCorrandel]\nexpType=2\n[]\n[other]\nx=4\n");
    EXPECT_EQ(IniStorage(File)->FindSection("other")->ReadValue("x"), "4");
}
