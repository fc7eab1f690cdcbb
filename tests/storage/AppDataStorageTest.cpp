#include "SettingsFiles.h"
#include "platform/settings/TIniFile.h"
#include "storage/StorageExceptions.h"
#include "storage/TAppDataStorage.h"

#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>
#include <QPointer>
#include <gtest/gtest.h>
#include <memory>
#include <thread>
#include <vector>

namespace {

const QString Section = QStringLiteral("bwnCorrandel");

// What the export settings dialog does to read one value.
QString ReadSetting(TAppDataStorage& AStorage, const QString& AKey) {
    TDataSection* Found = AStorage.FindSection(Section);
    return Found ? Found->ReadValue(AKey) : QString();
}

class AppDataStorageTest : public ::testing::Test {
protected:
    TempDir Dir;
    QString FileName = Dir.File(QStringLiteral("host.INI"));
};

TEST_F(AppDataStorageTest, MissingFileIsCreatedEmptyAndHoldsNoSections) {
    const StoragePtr Storage = IniStorage(FileName);
    EXPECT_EQ(ReadBytes(FileName), QByteArray());
    EXPECT_TRUE(Storage->DataSectionS().isEmpty());
    EXPECT_EQ(ReadSetting(*Storage, QStringLiteral("ShowSaveExpSet")), QString());
}

TEST_F(AppDataStorageTest, WrittenValueIsInTheFileAtOnceAndReadByASecondStorage) {
    const StoragePtr Writer = IniStorage(FileName);
    Writer->WriteValue(Section, QStringLiteral("expType"), QStringLiteral("1"));
    EXPECT_EQ(ReadBytes(FileName), "[bwnCorrandel]\nexpType=1\n");
    EXPECT_EQ(ReadSetting(*IniStorage(FileName), QStringLiteral("EXPTYPE")), QStringLiteral("1"));
}

TEST_F(AppDataStorageTest, KeyCaseIsIgnoredAndTheFirstSpellingKept) {
    const StoragePtr Storage = IniStorage(FileName);
    Storage->WriteValue(Section, QStringLiteral("expType"), QStringLiteral("1"));
    Storage->WriteValue(Section, QStringLiteral("EXPTYPE"), QStringLiteral("0"));
    EXPECT_EQ(Storage->FindSection(Section)->Keys(), QStringList{QStringLiteral("expType")});
    EXPECT_EQ(ReadSetting(*Storage, QStringLiteral("expType")), QStringLiteral("0"));
    EXPECT_EQ(ReadBytes(FileName), "[bwnCorrandel]\nexpType=0\n");
}

TEST_F(AppDataStorageTest, SectionsMatchExactlyInMemoryButWithoutCaseInTheFile) {
    WriteBytes(FileName, "[BWNCORRANDEL]\nexpType=0\n");
    const StoragePtr Storage = IniStorage(FileName);
    EXPECT_EQ(Storage->FindSection(Section), nullptr);
    ASSERT_NE(Storage->FindSection(QStringLiteral("BWNCORRANDEL")), nullptr);

    Storage->WriteValue(Section, QStringLiteral("expType"), QStringLiteral("1"));
    EXPECT_EQ(Storage->DataSectionS().size(), 2);
    EXPECT_EQ(ReadSetting(*Storage, QStringLiteral("expType")), QStringLiteral("1"));
    EXPECT_EQ(ReadBytes(FileName), "[BWNCORRANDEL]\nexpType=1\n");
}

// The export settings dialog sets an empty INI name on a new storage, which
// changes nothing; the first lookup must still read the default file, or the
// dialog would overwrite the saved setting with its default.
TEST_F(AppDataStorageTest, EmptyIniFileNameReadsTheFileBesideTheProgram) {
    const QFileInfo Program(QCoreApplication::applicationFilePath());
    const QString Expected = Program.absolutePath() + QLatin1Char('/') +
                             Program.completeBaseName() + QStringLiteral(".INI");
    ASSERT_FALSE(QFileInfo::exists(Expected)) << "left over: " << Expected.toStdString();
    WriteBytes(Expected, "[bwnCorrandel]\nexpType=1\n");
    {
        const StoragePtr Storage(new TAppDataStorage());
        Storage->SetIniFileName(QString());
        EXPECT_TRUE(Storage->DataSectionS().isEmpty()); // nothing read before a lookup
        EXPECT_EQ(ReadSetting(*Storage, QStringLiteral("expType")), QStringLiteral("1"));
        EXPECT_EQ(Storage->IniFileName(), Expected);
    }
    QFile::remove(Expected);
}

TEST_F(AppDataStorageTest, ChangingTheFileReloadsEverySectionOnce) {
    const QString Other = Dir.File(QStringLiteral("other.ini"));
    WriteBytes(Other, "[First]\na=1\n[Second]\nb=2\n");
    const StoragePtr Storage = IniStorage(FileName);
    Storage->WriteValue(Section, QStringLiteral("expType"), QStringLiteral("1"));
    const QPointer<TDataSection> Old = Storage->FindSection(Section);
    int Destroyed = 0;
    QObject::connect(Old.data(), &QObject::destroyed, [&Destroyed] { ++Destroyed; });

    Storage->SetIniFileName(Other);
    EXPECT_TRUE(Old.isNull());
    EXPECT_EQ(Destroyed, 1);
    const QList<TDataSection*> Sections = Storage->DataSectionS();
    ASSERT_EQ(Sections.size(), 2);
    EXPECT_EQ(Sections[0]->SectionName(), QStringLiteral("First"));
    EXPECT_EQ(Sections[1]->ReadValue(QStringLiteral("B")), QStringLiteral("2"));
    EXPECT_EQ(Storage->ComponentCount(), 2);

    Storage->SetIniFileName(FileName);
    EXPECT_EQ(ReadSetting(*Storage, QStringLiteral("expType")), QStringLiteral("1"));
    EXPECT_EQ(Storage->ComponentCount(), 1);
}

TEST_F(AppDataStorageTest, RefusedStorageTypesChangeNothing) {
    const StoragePtr Storage = IniStorage(FileName);
    Storage->WriteValue(Section, QStringLiteral("expType"), QStringLiteral("1"));
    TDataSection* Before = Storage->FindSection(Section);
    const struct {
        TStorageType Type;
        QString Path;
        QString Message;
    } Cases[] = {
        {stRegistry, QString(), QStringLiteral("没有指定存储节的路径,不能变更数据存储方式！")},
        {stRegistry, QStringLiteral("  "),
         QStringLiteral("没有指定存储节的路径,不能变更数据存储方式！")},
        {static_cast<TStorageType>(2), QStringLiteral("Software\\Varnholt"),
         QStringLiteral("不支持的数据存储方式2,不能变更数据存储方式！")},
        {static_cast<TStorageType>(255), QStringLiteral("Software\\Varnholt"),
         QStringLiteral("不支持的数据存储方式255,不能变更数据存储方式！")},
    };
    for (const auto& C : Cases) {
        Storage->SetRegSectionPath(C.Path);
        try {
            Storage->SetStorageType(C.Type);
            ADD_FAILURE() << int(C.Type);
        } catch (const TExceptppDataStorage& E) {
            EXPECT_EQ(E.Message(), C.Message);
        }
        EXPECT_EQ(Storage->StorageType(), stIniFile);
        EXPECT_EQ(Storage->FindSection(Section), Before) << "reloaded";
    }
    Storage->SetStorageType(stIniFile); // equal: no reload either
    EXPECT_EQ(Storage->FindSection(Section), Before);
}

TEST_F(AppDataStorageTest, RegistryStorageKeepsItsOwnValues) {
    const TempConfigHome Home;
    const auto Open = [this](TRegRoot ARoot) {
        StoragePtr Storage = IniStorage(FileName);
        Storage->SetRegSectionPath(QStringLiteral("Software\\Varnholt"));
        Storage->SetRegistryRoot(ARoot);
        Storage->SetStorageType(stRegistry);
        return Storage;
    };
    Open(Reg_Current_User)->WriteValue(Section, QStringLiteral("expType"), QStringLiteral("1"));
    Open(Reg_Users)->WriteValue(Section, QStringLiteral("expType"), QStringLiteral("0"));

    EXPECT_EQ(ReadSetting(*Open(Reg_Current_User), QStringLiteral("expType")), QStringLiteral("1"));
    const StoragePtr Users = Open(Reg_Users);
    EXPECT_EQ(ReadSetting(*Users, QStringLiteral("expType")), QStringLiteral("0"));
    EXPECT_EQ(ReadBytes(FileName), QByteArray());

    Users->SetStorageType(stIniFile);
    EXPECT_EQ(Users->FindSection(Section), nullptr);
}

TEST_F(AppDataStorageTest, FailedWriteRaisesAndLeavesFileAndMemoryAsTheyWere) {
    const QByteArray Before = "[bwnCorrandel]\nexpType=0\n";
    WriteBytes(FileName, Before);
    const StoragePtr Storage = IniStorage(FileName);
    QFile::setPermissions(FileName, QFile::ReadOwner | QFile::ReadGroup | QFile::ReadOther);

    EXPECT_THROW(Storage->WriteValue(Section, QStringLiteral("expType"), QStringLiteral("1")),
                 EInOutError);
    EXPECT_THROW(
        Storage->WriteValue(QStringLiteral("New"), QStringLiteral("k"), QStringLiteral("v")),
        EInOutError);
    EXPECT_EQ(ReadSetting(*Storage, QStringLiteral("expType")), QStringLiteral("0"));
    EXPECT_EQ(Storage->FindSection(QStringLiteral("New")), nullptr);
    EXPECT_EQ(ReadBytes(FileName), Before);
}

TEST_F(AppDataStorageTest, SectionsWithoutNameOrStorageRaiseTheirErrors) {
    const StoragePtr Storage = IniStorage(FileName);
    for (const QString& Name : {QString(), QStringLiteral(" \t")}) {
        try {
            Storage->WriteValue(Name, QStringLiteral("k"), QStringLiteral("v"));
            ADD_FAILURE() << "no error";
        } catch (const TDataSecExcept& E) {
            EXPECT_EQ(E.Message(), QStringLiteral("没有指定存储节的名称！"));
        }
    }
    EXPECT_TRUE(Storage->DataSectionS().isEmpty());
    EXPECT_EQ(ReadBytes(FileName), QByteArray());

    TDataSection Orphan;
    Orphan.SetSectionName(Section);
    try {
        Orphan.Load();
        ADD_FAILURE() << "no error";
    } catch (const EStringListError& E) {
        EXPECT_EQ(E.Message(), QStringLiteral("没有指定存储节的父对象！"));
    }
}

// Threads write distinct keys, into one shared section and into a section of
// their own, through one storage or through a storage each: every value
// must reach the file.
class ConcurrentWriteTest : public AppDataStorageTest,
                            public ::testing::WithParamInterface<bool> {};

TEST_P(ConcurrentWriteTest, LosesNothing) {
    const bool Shared = GetParam();
    constexpr int Threads = 6;
    constexpr int Writes = 20;
    const StoragePtr Common = IniStorage(FileName);
    std::vector<StoragePtr> Own;
    for (int T = 0; T < Threads; ++T)
        Own.push_back(Shared ? nullptr : IniStorage(FileName));
    std::vector<std::thread> Workers;
    for (int T = 0; T < Threads; ++T) {
        TAppDataStorage* Storage = Shared ? Common.get() : Own[T].get();
        Workers.emplace_back([Storage, T] {
            for (int W = 0; W < Writes; ++W) {
                const QString Value = QStringLiteral("%1-%2").arg(T).arg(W);
                Storage->WriteValue(Section, QStringLiteral("k%1_%2").arg(T).arg(W), Value);
                Storage->WriteValue(QStringLiteral("T%1").arg(T), QStringLiteral("k%1").arg(W),
                                    Value);
            }
        });
    }
    for (std::thread& Worker : Workers)
        Worker.join();

    const StoragePtr Reader = IniStorage(FileName);
    EXPECT_EQ(Reader->DataSectionS().size(), Threads + 1);
    for (int T = 0; T < Threads; ++T) {
        for (int W = 0; W < Writes; ++W) {
            const QString Value = QStringLiteral("%1-%2").arg(T).arg(W);
            EXPECT_EQ(ReadSetting(*Reader, QStringLiteral("k%1_%2").arg(T).arg(W)), Value);
            EXPECT_EQ(Reader->FindSection(QStringLiteral("T%1").arg(T))
                          ->ReadValue(QStringLiteral("k%1").arg(W)),
                      Value);
        }
    }
    if (Shared) {
        EXPECT_EQ(Common->DataSectionS().size(), Threads + 1);
    }
}

INSTANTIATE_TEST_SUITE_P(Storages, ConcurrentWriteTest, ::testing::Bool(), [](const auto& AInfo) {
    return AInfo.param ? "OneStorage" : "StoragePerThread";
});

} // namespace
