#include "hosting/ClassRegistry.h"
#include "TestWindows.h"
#include "forms/TfrmBsTrvTC.h"
#include "report/TbfrmVarnholt.h"

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
    RegisterClass<TbfrmVarnholt>();
    EXPECT_EQ(RegisteredNames(),
              (QStringList{"TbfrmVarnholt", "TfrmBsTrvTC", "TfrmBsCld", "TfrmBase", "TForm",
                           "TWinControl", "TControl", "TComponent", "TPersistent"}));
}

TEST_F(ClassRegistryTest, LookupIgnoresLetterCase) {
    RegisterClass<TbfrmVarnholt>();
    for (const char* Name : {"TbfrmVarnholt", "tbfrmvarnholt", "TBFRMVARNHOLT"})
        EXPECT_EQ(GetClass(QString::fromLatin1(Name)), &TbfrmVarnholt::staticMetaObject) << Name;
    EXPECT_EQ(GetClass(QStringLiteral("TfrmBase")), &TfrmBase::staticMetaObject);
}

TEST_F(ClassRegistryTest, UnknownEmptyAndNearNamesAreNotFound) {
    RegisterClass<TbfrmVarnholt>();
    for (const char* Name : {"", "TNothing", "TbfrmVarnhol", "TbfrmVarnholtX", "QObject"})
        EXPECT_EQ(GetClass(QString::fromLatin1(Name)), nullptr) << Name;
}

TEST_F(ClassRegistryTest, RegisteringAgainOrBesideAddsOnlyWhatIsNew) {
    RegisterClass<TbfrmVarnholt>();
    const int Before = RegisteredNames().size();
    RegisterClass<TbfrmVarnholt>();
    EXPECT_EQ(RegisteredNames().size(), Before);

    // TestDialog's ancestors down to TfrmBase are there already.
    RegisterClass<TestDialog>();
    const QStringList Names = RegisteredNames();
    EXPECT_EQ(Names.size(), Before + 2);
    EXPECT_EQ(Names.mid(Before), (QStringList{"TestDialog", "TfrmBsDialog"}));
}

TEST_F(ClassRegistryTest, OnlyPersistentClassesAreTaken) {
    RegisterClass(&QObject::staticMetaObject);
    EXPECT_TRUE(RegisteredNames().isEmpty());
}
