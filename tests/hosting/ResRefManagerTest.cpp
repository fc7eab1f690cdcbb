#include "HostedWindows.h"
#include "HostingFixture.h"
#include "platform/ui/TApplication.h"

#include <QPointer>

using ResRefManagerTest = HostingFixture;

TEST_F(ResRefManagerTest, ASecondRequestReusesTheHeldWindow) {
    QObject* First = Manager->GetResource(QStringLiteral("HostedWindow"), true);
    QObject* Second = Manager->GetResource(QStringLiteral("hostedwindow"), true);
    ASSERT_NE(First, nullptr);
    EXPECT_EQ(First, Second);
    EXPECT_EQ(Hooks,
              (QStringList{"before:HostedWindow", "after:HostedWindow", "reuse:HostedWindow"}));
    EXPECT_EQ(Manager->RefCount(), 1);
    EXPECT_EQ(Manager->ResourceCount(), 1);
}

TEST_F(ResRefManagerTest, ReleaseAllFiresOnceWhenTheLastWindowGoes) {
    auto* A =
        qobject_cast<TComponent*>(Manager->GetResource(QStringLiteral("HostedWindow"), false));
    auto* B =
        qobject_cast<TComponent*>(Manager->GetResource(QStringLiteral("HostedSubWindow"), false));
    ASSERT_TRUE(A && B);
    EXPECT_EQ(Manager->RefCount(), 2);
    A->Free();
    EXPECT_FALSE(Hooks.contains(QStringLiteral("release")));
    B->Free();
    EXPECT_EQ(Hooks.count(QStringLiteral("release")), 1);
    EXPECT_EQ(Manager->RefCount(), 0);
    EXPECT_EQ(Manager->ResourceCount(), 0);

    // The count can rise again and signals again.
    Manager->GetResource(QStringLiteral("HostedWindow"), false);
    qobject_cast<TComponent*>(Manager->LookupResource(QStringLiteral("HostedWindow")))->Free();
    EXPECT_EQ(Hooks.count(QStringLiteral("release")), 2);
}

TEST_F(ResRefManagerTest, WithoutAReleaseHookTheLastWindowGoesQuietly) {
    Manager->OnReleaseAll = nullptr;
    auto* A =
        qobject_cast<TComponent*>(Manager->GetResource(QStringLiteral("HostedWindow"), false));
    A->Free();
    EXPECT_EQ(Manager->RefCount(), 0);
    EXPECT_TRUE(Hooks.isEmpty());
}

TEST_F(ResRefManagerTest, ARequestDuringDestructionMakesASecondInstance) {
    auto* Dying =
        qobject_cast<HostedWindow*>(Manager->GetResource(QStringLiteral("HostedWindow"), false));
    QPointer<QObject> Replacement;
    int LinesWhileBothLive = 0;
    Dying->OnDestroy = [&] {
        Replacement = Manager->GetResource(QStringLiteral("HostedWindow"), false);
        LinesWhileBothLive = Manager->ResourceCount();
    };
    Dying->Free();
    ASSERT_FALSE(Replacement.isNull());
    EXPECT_NE(Replacement.data(), static_cast<QObject*>(Dying));
    EXPECT_EQ(LinesWhileBothLive, 2);
    // The dying one's line was the first; the replacement stays held.
    EXPECT_EQ(Manager->LookupResource(QStringLiteral("HostedWindow")), Replacement.data());
    EXPECT_EQ(Manager->RefCount(), 1);
    EXPECT_FALSE(Hooks.contains(QStringLiteral("release")));
}

TEST_F(ResRefManagerTest, WithoutShowingNoHookRunsAndNothingIsShown) {
    auto* Window =
        qobject_cast<TForm*>(Manager->GetResource(QStringLiteral("HostedWindow"), false));
    ASSERT_NE(Window, nullptr);
    EXPECT_TRUE(Hooks.isEmpty());
    EXPECT_FALSE(Window->Visible());
    EXPECT_EQ(Manager->LookupResource(QStringLiteral("HostedWindow")), Window);
}

TEST_F(ResRefManagerTest, FailuresAreReportedToTheApplicationAndGiveNothing) {
    struct Case {
        const char* Name;
        const char* Message;
    };
    const Case Cases[] = {
        {"TNotThere", "类TNotThere没有进行注册或不存在！"},
        {"", "类没有进行注册或不存在！"},
        {"TPersistent", "只能创建从TComponent继承过来的类的实例！"},
        {"FailingComponent", "创建对象失败！"},
    };
    for (const Case& C : Cases) {
        Errors.clear();
        EXPECT_EQ(Manager->GetResource(QString::fromLatin1(C.Name), true), nullptr) << C.Name;
        EXPECT_EQ(Errors, QStringList{QString::fromUtf8(C.Message)}) << C.Name;
    }
    EXPECT_EQ(Manager->ResourceCount(), 0);
    EXPECT_EQ(Manager->RefCount(), 0);
    EXPECT_EQ(Application->ComponentCount(), 0) << "a failed creation left an object behind";
}

TEST_F(ResRefManagerTest, AForbiddenCreationHoldsNothing) {
    AllowCreation = false;
    EXPECT_EQ(Manager->GetResource(QStringLiteral("HostedWindow"), true), nullptr);
    EXPECT_EQ(Hooks, QStringList{"before:HostedWindow"});
    EXPECT_EQ(Manager->ResourceCount(), 0);
    EXPECT_TRUE(Errors.isEmpty());
}

// A window that a raising hook was about to show is still held and still
// the answer, whether it was just made or held already.
TEST_F(ResRefManagerTest, AFailingShowHookStillHoldsAndReturnsTheWindow) {
    const TObjectHook Raise = [](TResRefManager*, QObject*) {
        throw Exception(QStringLiteral("show failed"));
    };
    Manager->OnAfterCreate = Raise;
    QObject* Window = Manager->GetResource(QStringLiteral("HostedWindow"), true);
    ASSERT_NE(Window, nullptr);
    Manager->OnReuse = Raise;
    EXPECT_EQ(Manager->GetResource(QStringLiteral("HostedWindow"), true), Window);
    EXPECT_EQ(Errors, (QStringList{"show failed", "show failed"}));
    EXPECT_EQ(Manager->LookupResource(QStringLiteral("HostedWindow")), Window);
    EXPECT_EQ(Manager->RefCount(), 1);
}

TEST_F(ResRefManagerTest, LookingUpAnUnknownNameChangesNothing) {
    EXPECT_EQ(Manager->LookupResource(QStringLiteral("HostedWindow")), nullptr);
    Manager->RemoveResource(QStringLiteral("HostedWindow"));
    EXPECT_EQ(Manager->RefCount(), 0);
    EXPECT_TRUE(Hooks.isEmpty());
}

TEST_F(ResRefManagerTest, FreeingTheManagerLeavesWindowsAndReportsNoRelease) {
    QPointer<QObject> Window = Manager->GetResource(QStringLiteral("HostedWindow"), false);
    FreeAndNil(Manager);
    EXPECT_FALSE(Window.isNull());
    EXPECT_TRUE(Hooks.isEmpty());
    // The window's later destruction must not reach the freed manager.
    qobject_cast<TComponent*>(Window.data())->Free();
}
