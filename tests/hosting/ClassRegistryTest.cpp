#include "hosting/ClassRegistry.h"
#include "HostedWindows.h"

#include <gtest/gtest.h>

class ClassRegistryTest : public ::testing::Test {
protected:
    void SetUp() override { InitClassRegistry(); }
    void TearDown() override { FinalizeClassRegistry(); }

    static QStringList RegisteredNames() {
        QStringList Names;
        const TRegGroup* Group = RegGroups->FindGroup(&TPersistent::staticMetaObject);
        for (TClass Class : Group->ClassList())
            Names.append(ClassNameOf(Class));
        return Names;
    }
};

TEST_F(ClassRegistryTest, RegisteringAWindowRegistersItsAncestorsInOrder) {
    RegisterClass<HostedSubWindow>();
    EXPECT_EQ(RegisteredNames(),
              (QStringList{"HostedSubWindow", "HostedWindow", "TForm", "TWinControl", "TControl",
                           "TComponent", "TPersistent"}));
}

TEST_F(ClassRegistryTest, LookupIgnoresLetterCase) {
    RegisterClass<HostedSubWindow>();
    for (const char* Name : {"HostedSubWindow", "hostedsubwindow", "HOSTEDSUBWINDOW"})
        EXPECT_EQ(GetClass(QString::fromLatin1(Name)), &HostedSubWindow::staticMetaObject) << Name;
    EXPECT_EQ(GetClass(QStringLiteral("TForm")), &TForm::staticMetaObject);
}

TEST_F(ClassRegistryTest, UnknownEmptyAndNearNamesAreNotFound) {
    RegisterClass<HostedSubWindow>();
    for (const char* Name : {"", "TNothing", "HostedSubWindo", "HostedSubWindowX", "QObject"})
        EXPECT_EQ(GetClass(QString::fromLatin1(Name)), nullptr) << Name;
}

TEST_F(ClassRegistryTest, RegisteringAgainOrBesideAddsOnlyWhatIsNew) {
    RegisterClass<HostedWindow>();
    const int Before = RegisteredNames().size();
    RegisterClass<HostedWindow>();
    EXPECT_EQ(RegisteredNames().size(), Before);

    // The sub-window's ancestors are there already.
    RegisterClass<HostedSubWindow>();
    const QStringList Names = RegisteredNames();
    EXPECT_EQ(Names.mid(Before), QStringList{"HostedSubWindow"});
}

TEST_F(ClassRegistryTest, OnlyPersistentClassesAreTaken) {
    RegisterClass(&QObject::staticMetaObject);
    EXPECT_TRUE(RegisteredNames().isEmpty());
}
