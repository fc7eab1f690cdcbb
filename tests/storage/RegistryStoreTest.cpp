#include "SettingsFiles.h"
#include "platform/settings/TRegistryStore.h"

#include <QFileInfo>
#include <gtest/gtest.h>
#include <memory>

namespace {

class RegistryStoreTest : public ::testing::Test {
protected:
    TempConfigHome Home;

    static std::unique_ptr<TRegistryStore> Open(TRegRoot ARoot, const QString& APath) {
        auto Store = std::make_unique<TRegistryStore>();
        Store->SetRootKey(ARoot);
        EXPECT_TRUE(Store->OpenKey(APath, true)) << APath.toStdString();
        return Store;
    }
};

TEST_F(RegistryStoreTest, RootsKeepSeparateValuesUnderTheSamePath) {
    const QString Path = QStringLiteral("Software\\Taldrow\\Varnholt");
    const QString Section = QStringLiteral("bwnCorrandel");
    Open(Reg_Current_User, Path)
        ->WriteString(Section, QStringLiteral("expType"), QStringLiteral("0"));
    Open(Reg_Local_Machine, Path)
        ->WriteString(Section, QStringLiteral("expType"), QStringLiteral("1"));

    const auto User = Open(Reg_Current_User, QStringLiteral("\\software\\TALDROW\\varnholt\\"));
    EXPECT_EQ(User->ReadSections(), QStringList{Section});
    EXPECT_EQ(User->ReadSection(QStringLiteral("BWNCORRANDEL")), QStringList{"expType"});
    EXPECT_EQ(User->ReadString(Section, QStringLiteral("EXPTYPE")), QStringLiteral("0"));
    const auto Machine = Open(Reg_Local_Machine, Path);
    EXPECT_EQ(Machine->ReadString(Section, QStringLiteral("expType")), QStringLiteral("1"));
    EXPECT_EQ(User->FileName(),
              Home.Path() + QStringLiteral("/varnholt/registry/HKEY_CURRENT_USER.ini"));
    EXPECT_TRUE(QFileInfo::exists(User->FileName()));
    EXPECT_NE(User->FileName(), Machine->FileName());

    // A root outside the known ones reads the current user's keys.
    TRegistryStore Unknown;
    Unknown.SetRootKey(static_cast<TRegRoot>(9));
    ASSERT_TRUE(Unknown.OpenKey(Path, false));
    EXPECT_EQ(Unknown.ReadString(Section, QStringLiteral("expType")), QStringLiteral("0"));
}

TEST_F(RegistryStoreTest, SubkeysAreTheDirectChildrenOfTheOpenKeyOnly) {
    const auto Writer = Open(Reg_Current_User, QStringLiteral("App"));
    Writer->WriteString(QStringLiteral("One"), QStringLiteral("v"), QStringLiteral("1"));
    Writer->WriteString(QStringLiteral("Two\\Deep"), QStringLiteral("v"), QStringLiteral("2"));
    Writer->WriteString(QStringLiteral("two"), QStringLiteral("v"), QStringLiteral("3"));
    Open(Reg_Current_User, QStringLiteral("Apple"))
        ->WriteString(QStringLiteral("NotMine"), QStringLiteral("v"), QStringLiteral("4"));

    const auto Reader = Open(Reg_Current_User, QStringLiteral("app"));
    EXPECT_EQ(Reader->ReadSections(), (QStringList{QStringLiteral("One"), QStringLiteral("Two")}));
    EXPECT_EQ(Reader->ReadString(QStringLiteral("TWO"), QStringLiteral("v")), QStringLiteral("3"));
    EXPECT_EQ(Reader->ReadString(QStringLiteral("two\\deep"), QStringLiteral("v")),
              QStringLiteral("2"));
}

TEST_F(RegistryStoreTest, WithoutAnOpenKeyNothingIsReadAndWritesRaise) {
    TRegistryStore Store;
    EXPECT_FALSE(Store.OpenKey(QStringLiteral(" \\ "), true));
    EXPECT_FALSE(Store.OpenKey(QString(), true));
    EXPECT_FALSE(Store.OpenKey(QStringLiteral("Missing"), false));
    EXPECT_FALSE(Store.HasOpenKey());
    EXPECT_TRUE(Store.ReadSections().isEmpty());
    EXPECT_EQ(Store.ReadString(QStringLiteral("S"), QStringLiteral("k"), QStringLiteral("d")),
              QStringLiteral("d"));
    EXPECT_THROW(Store.WriteString(QStringLiteral("S"), QStringLiteral("k"), QStringLiteral("v")),
                 EInOutError);
    EXPECT_FALSE(QFileInfo::exists(Store.FileName()));
}

} // namespace
