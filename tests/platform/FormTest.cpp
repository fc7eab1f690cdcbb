#include "platform/ui/TApplication.h"
#include "platform/ui/TForm.h"
#include "platform/ui/VirtualKeys.h"
#include "support/TModalWatch.h"

#include <QLineEdit>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QPointer>
#include <QTest>
#include <QTimer>
#include <QVBoxLayout>
#include <gtest/gtest-spi.h>
#include <gtest/gtest.h>

class ScriptedForm : public TForm {
    Q_OBJECT
public:
    Q_INVOKABLE explicit ScriptedForm(TComponent* AOwner = nullptr)
        : TForm(AOwner) {}
    TCloseAction ActionToGive = TCloseAction::caHide;
    bool OverrideAction = false;
    int Shows = 0;
    int Creates = 0;
    int Destroys = 0;
    QList<int> KeysDown;
    bool EatKey = false;

protected:
    void FormCreate() override { ++Creates; }
    void FormShow() override { ++Shows; }
    void FormDestroy() override { ++Destroys; }
    void FormClose(TCloseAction& Action) override {
        if (OverrideAction)
            Action = ActionToGive;
    }
    void FormKeyDown(int& Key, Qt::KeyboardModifiers) override {
        KeysDown.append(Key);
        if (EatKey)
            Key = 0;
    }
};

namespace {
void ProcessPending() {
    for (int I = 0; I < 3; ++I)
        QCoreApplication::processEvents();
}
} // namespace

TEST(Form, CreateRunsTheCreationHandlerOnce) {
    QPointer<ScriptedForm> Form = TComponent::Create<ScriptedForm>(nullptr);
    EXPECT_EQ(Form->Creates, 1);
    Form->Free();
}

TEST(Form, CloseActionsDecideWhatHappens) {
    struct Case {
        TCloseAction Action;
        bool StillAlive;
        bool Visible;
    };
    const Case Cases[] = {
        {TCloseAction::caNone, true, true},
        {TCloseAction::caHide, true, false},
        {TCloseAction::caFree, false, false},
    };
    for (const Case& C : Cases) {
        QPointer<ScriptedForm> Form = TComponent::Create<ScriptedForm>(nullptr);
        Form->OverrideAction = true;
        Form->ActionToGive = C.Action;
        Form->Show();
        Form->Close();
        ProcessPending();
        EXPECT_EQ(!Form.isNull(), C.StillAlive) << static_cast<int>(C.Action);
        if (Form) {
            EXPECT_EQ(Form->Visible(), C.Visible) << static_cast<int>(C.Action);
            Form->Free();
        }
    }
}

TEST(Form, FreeOnCloseWaitsUntilTheHandlerHasReturned) {
    QPointer<ScriptedForm> Form = TComponent::Create<ScriptedForm>(nullptr);
    Form->OverrideAction = true;
    Form->ActionToGive = TCloseAction::caFree;
    Form->Show();
    Form->Close();
    ASSERT_FALSE(Form.isNull()) << "freed inside the close handler";
    EXPECT_EQ(Form->Destroys, 0);
    ProcessPending();
    EXPECT_TRUE(Form.isNull());
}

TEST(Form, MdiChildGoesIntoTheApplicationsArea) {
    QMdiArea Area;
    Area.resize(900, 700);
    Area.show();
    QMdiArea* Previous = Application->MdiArea();
    Application->SetMdiArea(&Area);
    QPointer<ScriptedForm> Form = TComponent::Create<ScriptedForm>(nullptr);
    Form->SetFormStyle(TFormStyle::fsMDIChild);
    Form->Show();
    ASSERT_EQ(Area.subWindowList().size(), 1);
    EXPECT_EQ(TForm::FromWidget(Area.subWindowList().first()), Form.data());
    EXPECT_EQ(Form->Shows, 1);

    // Closing the sub-window through its frame goes through the form's close.
    Form->OverrideAction = true;
    Form->ActionToGive = TCloseAction::caFree;
    Area.subWindowList().first()->close();
    ProcessPending();
    EXPECT_TRUE(Form.isNull());
    EXPECT_TRUE(Area.subWindowList().isEmpty());
    Application->SetMdiArea(Previous);
}

// A top-level window's frame (title bar, borders) lies outside the geometry
// SetBounds sets; Left and Top read what was set, shown or not, top-level or
// in an MDI area.
TEST(Form, PositionReadsBackWhatWasSetBeforeAndAfterShowing) {
    QMdiArea Area;
    Area.resize(900, 700);
    Area.show();
    QMdiArea* Previous = Application->MdiArea();
    for (const TFormStyle Style : {TFormStyle::fsNormal, TFormStyle::fsMDIChild}) {
        Application->SetMdiArea(Style == TFormStyle::fsMDIChild ? &Area : nullptr);
        ScriptedForm* Form = TComponent::Create<ScriptedForm>(nullptr);
        Form->SetFormStyle(Style);
        Form->SetBounds(40, 50, 300, 200);
        const QPoint Before(Form->Left(), Form->Top());
        Form->Show();
        ProcessPending();
        const QPoint Shown(Form->Left(), Form->Top());
        Form->SetTop(70);
        Form->SetLeft(Form->Left());
        ProcessPending();
        const QPoint Moved(Form->Left(), Form->Top());
        EXPECT_EQ(Before, QPoint(40, 50)) << static_cast<int>(Style);
        EXPECT_EQ(Shown, QPoint(40, 50)) << static_cast<int>(Style);
        EXPECT_EQ(Moved, QPoint(40, 70)) << static_cast<int>(Style);
        Form->Free();
    }
    Application->SetMdiArea(Previous);
}

TEST(Form, ShowModalReturnsTheResultThatEndedIt) {
    ScriptedForm* Form = TComponent::Create<ScriptedForm>(nullptr);
    QTimer::singleShot(0, [Form] { Form->SetModalResult(mrOk); });
    EXPECT_EQ(Form->ShowModal(), mrOk);
    EXPECT_FALSE(Form->Visible());
    EXPECT_FALSE(Form->IsModal());

    // Closing a modal window cancels it.
    QTimer::singleShot(0, [Form] { Form->Close(); });
    EXPECT_EQ(Form->ShowModal(), mrCancel);
    Form->Free();
}

TEST(Form, ModalCloseRefusedByTheHandlerKeepsTheLoopRunning) {
    ScriptedForm* Form = TComponent::Create<ScriptedForm>(nullptr);
    Form->OverrideAction = true;
    Form->ActionToGive = TCloseAction::caNone;
    QTimer::singleShot(0, [Form] { Form->SetModalResult(mrOk); });
    QTimer::singleShot(20, [Form] {
        EXPECT_TRUE(Form->IsModal());
        Form->ActionToGive = TCloseAction::caHide;
        Form->SetModalResult(mrYes);
    });
    EXPECT_EQ(Form->ShowModal(), mrYes);
    Form->Free();
}

// Under test a modal window that nobody answers fails the test and is
// closed, so the suite never waits (the test main's watch; a quicker one
// here).
TEST(Form, AModalWindowLeftOpenFailsTheTestAndIsClosed) {
    TModalWatch Quick(200);
    ScriptedForm* Form = TComponent::Create<ScriptedForm>(nullptr);
    TModalResult Result = mrNone;
    EXPECT_NONFATAL_FAILURE(Result = Form->ShowModal(), "modal window");
    EXPECT_EQ(Result, mrCancel);
    Form->Free();
}

TEST(Form, KeyPreviewSeesKeysBeforeTheFocusedControl) {
    ScriptedForm* Form = TComponent::Create<ScriptedForm>(nullptr);
    auto* Edit = new QLineEdit(Form->Widget());
    Form->Widget()->layout()->addWidget(Edit);
    Form->SetKeyPreview(true);
    Form->Show();
    Form->Widget()->activateWindow();
    Edit->setFocus();
    QTest::keyClick(Edit, Qt::Key_A);
    // The edit ignores F5, which travels on to the form's widget: still one
    // preview.
    QTest::keyClick(Edit, Qt::Key_F5);
    EXPECT_EQ(Form->KeysDown, (QList<int>{'A', 0x74}));
    EXPECT_EQ(Edit->text(), QStringLiteral("a"));

    Form->EatKey = true;
    QTest::keyClick(Edit, Qt::Key_B);
    EXPECT_EQ(Edit->text(), QStringLiteral("a")) << "an eaten key reached the control";
    Form->Free();
}

#include "FormTest.moc"
