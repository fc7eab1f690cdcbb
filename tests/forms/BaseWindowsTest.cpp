#include "forms/TfrmBsTrvTC.h"
#include "platform/ui/TApplication.h"
#include "platform/ui/TMainMenu.h"
#include "platform/ui/TScreen.h"
#include "support/PendingEvents.h"
#include "support/TestDialog.h"

#include <QAction>
#include <QApplication>
#include <QMenu>
#include <QPointer>
#include <QSplitter>
#include <QTest>
#include <QTimer>
#include <QToolBar>
#include <QTreeWidget>
#include <gtest/gtest.h>

// Base windows as the framework creates them, each freed after its test.
class BaseWindowsTest : public ::testing::Test {
protected:
    void TearDown() override {
        while (Application->ComponentCount() > 0)
            Application->Components(Application->ComponentCount() - 1)->Free();
        ProcessPendingEvents();
    }
};

// The window manager's hooks read the flag to choose a modal showing.
TEST_F(BaseWindowsTest, DialogsAskForAModalShowingAndChildWindowsDoNot) {
    EXPECT_EQ(TComponent::Create<TestDialog>(Application)->ModalFlag(), 1);
    EXPECT_EQ(TComponent::Create<TfrmBase>(Application)->ModalFlag(), 1);
    EXPECT_EQ(TComponent::Create<TfrmBsCld>(Application)->ModalFlag(), 0);
    EXPECT_EQ(TComponent::Create<TfrmBsTrvTC>(Application)->ModalFlag(), 0);
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

    // Shown for real, and again: the window stays where it was centred
    // (its frame is not mistaken for its position).
    Pinned.SetSize(1024, 768);
    for (int Showing = 0; Showing < 2; ++Showing) {
        Window->Show();
        ProcessPendingEvents();
        EXPECT_EQ(QPoint(Window->Left(), Window->Top()), QPoint(240, 189)) << Showing;
        EXPECT_EQ(Window->Widget()->geometry(), QRect(240, 189, 543, 390)) << Showing;
        Window->Hide();
    }
    Screen = Saved;
}

// The tool bar is 35 pixels high, with or without buttons, and its buttons
// (also those added later) 61 by 35, in the 39-pixel band, once shown.
TEST_F(BaseWindowsTest, TheToolBarKeepsItsSizeWhenShown) {
    auto* Window = TComponent::Create<TfrmBsTrvTC>(Application);
    Window->Show();
    ProcessPendingEvents();
    EXPECT_EQ(Window->ctblChild->height(), 39);
    EXPECT_EQ(Window->tblChildMain->height(), 35) << "without buttons";
    QAction* Action = Window->tblChildMain->addAction(QStringLiteral("退出"));
    ProcessPendingEvents();
    EXPECT_EQ(Window->tblChildMain->height(), 35);
    EXPECT_EQ(Window->tblChildMain->widgetForAction(Action)->geometry(), QRect(0, 0, 61, 35));
}

TEST_F(BaseWindowsTest, AClosedTreeWindowIsFreed) {
    QPointer<TfrmBsTrvTC> Window = TComponent::Create<TfrmBsTrvTC>(Application);
    Window->Show();
    Window->Close();
    ProcessPendingEvents();
    EXPECT_TRUE(Window.isNull());
}

TEST_F(BaseWindowsTest, ChildWindowMenusCarryGroupOneAndTheTreeLayoutIsThere) {
    auto* Window = TComponent::Create<TfrmBsTrvTC>(Application);
    ASSERT_NE(Window->Menu(), nullptr);
    QStringList Captions;
    for (QAction* Item : Window->Menu()->Items()) {
        Captions.append(Item->text());
        EXPECT_EQ(TMainMenu::GroupIndex(Item), 1) << Item->text().toStdString();
    }
    EXPECT_EQ(Captions, (QStringList{"辅助功能(&S)", "数据操作(&P)"}));
    EXPECT_EQ(Window->FormStyle(), TFormStyle::fsMDIChild);

    for (const char* Name : {"ctblChild", "tblChildMain", "pnlBottom", "Splitter1", "pnlLeft",
                             "trvList", "pnlNo", "Splitter2", "pnlBTop", "pnlRightTop",
                             "pnlTopMessage", "pnlBBotton", "pnlRightBottom", "pnlBottonMessage"})
        EXPECT_NE(Window->Widget()->findChild<QWidget*>(QString::fromLatin1(Name)), nullptr)
            << Name;
    Window->Show();
    ProcessPendingEvents();
    EXPECT_EQ(Window->pnlTopMessage->height(), 23);
    EXPECT_EQ(Window->pnlBottonMessage->height(), 22);
    EXPECT_EQ(Window->trvList->indentation(), 19);
    EXPECT_EQ(Window->Splitter2->handleWidth(), 2);
}
