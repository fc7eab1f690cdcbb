#include "HostingFixture.h"
#include "TestWindows.h"
#include "forms/TfrmBsTrvTC.h"
#include "hosting/PlugInEntry.h"
#include "platform/TApplication.h"
#include "platform/TMainMenu.h"
#include "platform/TScreen.h"
#include "report/TbfrmVarnholt.h"

#include <QAction>
#include <QApplication>
#include <QMenu>
#include <QPointer>
#include <QSplitter>
#include <QTest>
#include <QTimer>
#include <QToolBar>
#include <QTreeWidget>

// Base windows created through the window manager, shown by hooks that do
// what the plug-in's entry does.
class BaseWindowsTest : public HostingFixture {
protected:
    void SetUp() override {
        HostingFixture::SetUp();
        Manager->OnAfterCreate = [](TResRefManager*, QObject* AObject) {
            auto* Window = qobject_cast<TfrmBase*>(AObject);
            if (Window && Window->ModalFlag() != 0)
                Window->ShowModal();
            else if (Window)
                Window->Show();
        };
        Manager->OnReuse = [](TResRefManager*, QObject* AObject) {
            qobject_cast<TForm*>(AObject)->Show();
        };
    }
};

TEST_F(BaseWindowsTest, DialogsAreModalAndChildWindowsAreNot) {
    int DialogFlag = -1;
    bool WasModal = false;
    QTimer::singleShot(0, [&] {
        auto* Dialog = qobject_cast<TestDialog*>(Manager->LookupResource("TestDialog"));
        DialogFlag = Dialog->ModalFlag();
        WasModal = Dialog->IsModal();
        Dialog->SetModalResult(mrOk);
    });
    Manager->GetResource(QStringLiteral("TestDialog"), true);
    EXPECT_EQ(DialogFlag, 1);
    EXPECT_TRUE(WasModal);

    auto* Child = qobject_cast<TestChild*>(Manager->GetResource("TestChild", true));
    ASSERT_NE(Child, nullptr);
    EXPECT_EQ(Child->ModalFlag(), 0);
    EXPECT_FALSE(Child->IsModal());
    EXPECT_TRUE(Child->Visible());
}

TEST_F(BaseWindowsTest, EnterMovesToTheNextFieldAndEscapeCancels) {
    TModalResult Result = mrNone;
    QString FocusAfterEnter;
    auto* Dialog = TComponent::Create<TestDialog>(Application);
    QTimer::singleShot(0, [&] {
        QApplication::setActiveWindow(Dialog->Widget());
        Dialog->First->setFocus();
        QTest::keyClick(Dialog->First, Qt::Key_Return);
        QWidget* Focus = QApplication::focusWidget();
        FocusAfterEnter = Focus ? Focus->objectName() : QString();
        QTest::keyClick(Focus ? Focus : Dialog->Widget(), Qt::Key_Escape);
    });
    Result = Dialog->ShowModal();
    EXPECT_EQ(FocusAfterEnter, QStringLiteral("Second"));
    EXPECT_EQ(Result, mrCancel);
    EXPECT_FALSE(Dialog->Visible());
}

TEST_F(BaseWindowsTest, CentringUsesTheFrameworksScreenAndTruncates) {
    struct Case {
        int ScreenWidth, ScreenHeight, Left, Top;
    };
    const Case Cases[] = {{1024, 768, 240, 189}, {1024, 769, 240, 189}, {400, 300, -71, -45}};
    auto* Window = TComponent::Create<TfrmBase>(Application);
    ASSERT_EQ(Window->Width(), 543);
    ASSERT_EQ(Window->Height(), 390);
    TScreen Pinned;
    TScreen* Saved = Screen;
    Screen = &Pinned;
    for (const Case& C : Cases) {
        Pinned.SetSize(C.ScreenWidth, C.ScreenHeight);
        CentreOnScreen(Window);
        EXPECT_EQ(Window->Left(), C.Left) << C.ScreenWidth << "x" << C.ScreenHeight;
        EXPECT_EQ(Window->Top(), C.Top) << C.ScreenWidth << "x" << C.ScreenHeight;
    }
    Screen = Saved;
}

TEST_F(BaseWindowsTest, AClosedTreeWindowIsFreedAndTheNextRequestMakesANewOne) {
    QPointer<QObject> First = Manager->GetResource(QStringLiteral("TbfrmVarnholt"), true);
    ASSERT_FALSE(First.isNull());
    qobject_cast<TForm*>(First.data())->Close();
    ProcessPending();
    EXPECT_TRUE(First.isNull());
    EXPECT_EQ(Hooks.count(QStringLiteral("release")), 1);
    QObject* Second = Manager->GetResource(QStringLiteral("TbfrmVarnholt"), true);
    EXPECT_NE(Second, nullptr);
    EXPECT_EQ(Manager->RefCount(), 1);
}

TEST_F(BaseWindowsTest, ChildWindowMenusCarryGroupOneAndTheTreeLayoutIsThere) {
    auto* Window = TComponent::Create<TbfrmVarnholt>(Application);
    ASSERT_NE(Window->Menu(), nullptr);
    QStringList Captions;
    for (QAction* Item : Window->Menu()->Items()) {
        Captions.append(Item->text());
        EXPECT_EQ(TMainMenu::GroupIndex(Item), 1) << Item->text().toStdString();
    }
    EXPECT_EQ(Captions, (QStringList{"辅助功能(&S)", "数据操作(&P)"}));
    EXPECT_EQ(Window->Width(), 829);
    EXPECT_EQ(Window->Height(), 613);
    EXPECT_EQ(Window->FormStyle(), TFormStyle::fsMDIChild);

    for (const char* Name : {"ctblChild", "tblChildMain", "pnlBottom", "Splitter1", "pnlLeft",
                             "trvList", "pnlNo", "Splitter2", "pnlBTop", "pnlRightTop",
                             "pnlTopMessage", "pnlBBotton", "pnlRightBottom", "pnlBottonMessage"})
        EXPECT_NE(Window->Widget()->findChild<QWidget*>(QString::fromLatin1(Name)), nullptr)
            << Name;
    // The strips as the base lays them out; the report window moves its
    // upper strip above the grids.
    auto* Base = TComponent::Create<TfrmBsTrvTC>(Application);
    Base->Show();
    ProcessPending();
    EXPECT_EQ(Base->pnlTopMessage->height(), 23);
    EXPECT_EQ(Base->pnlBottonMessage->height(), 22);
    EXPECT_EQ(Base->trvList->indentation(), 19);
    EXPECT_EQ(Base->Splitter2->handleWidth(), 2);
}
