#include "plugin/PlugInEntry.h"
#include "forms/TfrmBsTrvTC.h"
#include "hosting/ClassRegistry.h"
#include "hosting/TResRefManager.h"
#include "platform/ui/TApplication.h"
#include "platform/ui/TScreen.h"
#include "support/PendingEvents.h"
#include "support/RecordingPlugInManager.h"
#include "support/TestDialog.h"

#include <QTimer>
#include <gtest/gtest.h>

// The entry as a host drives it, inside this process: the plug-in's own load
// and unload, and a host record with its own application and screen objects.
class PlugInEntryTest : public ::testing::Test {
protected:
    void SetUp() override {
        FOwnApplication = Application;
        FOwnScreen = Screen;
        PlugInLoad();
        RegisterClass<TestDialog>();
        HostApplication.OnException = [this](QObject*, const Exception& E) {
            Errors.append(E.Message());
        };
        Info.PlugInId = 4711;
        Record = {&Context, &Info, &Notifier, &HostApplication, &HostScreen};
    }

    void TearDown() override {
        while (HostApplication.ComponentCount() > 0)
            HostApplication.Components(HostApplication.ComponentCount() - 1)->Free();
        PlugInUnload();
        Application = FOwnApplication;
        Screen = FOwnScreen;
    }

    std::int32_t Show(const char* AClassName) { return ShowPlugInWindowImpl(AClassName, &Record); }

    TApplication HostApplication;
    TScreen HostScreen;
    THostContext Context;
    TPlugInInfo Info;
    RecordingPlugInManager Notifier;
    TPlugInHostRecord Record;
    QStringList Errors;

private:
    TApplication* FOwnApplication = nullptr;
    TScreen* FOwnScreen = nullptr;
};

TEST_F(PlugInEntryTest, FillsTheDescriptorAndHandsOverTheHostsObjects) {
    EXPECT_EQ(Show("TbfrmVarnholt"), 0);
    EXPECT_STREQ(Info.ModuleName, "\xCA\xDA\xC8\xA8\xD6\xA7\xB3\xF6\xC4\xA3\xBF\xE9");
    EXPECT_EQ(Info.PlugInId, 4711u);
    EXPECT_EQ(Application, &HostApplication);
    EXPECT_EQ(Screen, &HostScreen);
    EXPECT_EQ(HostContext, &Context);
    ASSERT_EQ(HostApplication.ComponentCount(), 1) << "the window must belong to the host";
    auto* Window = qobject_cast<TForm*>(HostApplication.Components(0));
    ASSERT_NE(Window, nullptr);
    EXPECT_EQ(QSize(Window->Width(), Window->Height()), QSize(829, 613));
    EXPECT_TRUE(Errors.isEmpty());
}

// Loading registers the report window and, in order, the base windows it
// stands on, so each can be found by name.
TEST_F(PlugInEntryTest, LoadingRegistersTheReportWindowWithItsBaseWindows) {
    const TRegGroup* Group = RegGroups->FindGroup(&TPersistent::staticMetaObject);
    ASSERT_NE(Group, nullptr);
    QStringList Names;
    for (TClass Class : Group->ClassList())
        Names.append(ClassNameOf(Class));
    EXPECT_EQ(Names.mid(0, 5),
              (QStringList{"TbfrmVarnholt", "TfrmBsTrvTC", "TfrmBsCld", "TfrmBase", "TForm"}));
    EXPECT_EQ(GetClass("TfrmBase"), &TfrmBase::staticMetaObject);
    EXPECT_EQ(GetClass("tfrmbstrvtc"), &TfrmBsTrvTC::staticMetaObject);
}

TEST_F(PlugInEntryTest, ASecondRequestInAnyCaseShowsTheSameWindow) {
    Show("TbfrmVarnholt");
    Show("tbfrmvarnholt");
    EXPECT_EQ(HostApplication.ComponentCount(), 1);
    EXPECT_EQ(ResRefManager->RefCount(), 1);
}

TEST_F(PlugInEntryTest, ClosingTheLastWindowTellsTheHostOnce) {
    Show("TbfrmVarnholt");
    auto* Window = qobject_cast<TForm*>(HostApplication.Components(0));
    ASSERT_NE(Window, nullptr);
    Window->Close();
    ProcessPendingEvents();
    EXPECT_EQ(HostApplication.ComponentCount(), 0) << "a closed child window must be freed";
    EXPECT_EQ(Notifier.Released, QList<std::uint32_t>{4711u});
}

TEST_F(PlugInEntryTest, WithoutANotifierClosingIsQuiet) {
    Record.PlugInManager = nullptr;
    Show("TbfrmVarnholt");
    qobject_cast<TForm*>(HostApplication.Components(0))->Close();
    ProcessPendingEvents();
    EXPECT_TRUE(Notifier.Released.isEmpty());
    EXPECT_TRUE(Errors.isEmpty());
}

// The registry also holds every ancestor of the report window; none of those
// that is not a window may be made by name, or the manager would hold an
// invisible object for good and never tell the host it is released.
TEST_F(PlugInEntryTest, UnknownMissingAndNonWindowNamesAreReportedAndTheCallStillSucceeds) {
    const char* Names[] = {"TNotThere",   nullptr,    "TComponent",
                           "TPersistent", "TControl", "TWinControl"};
    for (const char* Name : Names) {
        Errors.clear();
        EXPECT_EQ(Show(Name), 0) << Name;
        EXPECT_EQ(Errors, QStringList{QStringLiteral("类%1没有进行注册或不存在！")
                                          .arg(QString::fromLatin1(Name ? Name : ""))})
            << Name;
    }
    EXPECT_EQ(HostApplication.ComponentCount(), 0);
    EXPECT_EQ(ResRefManager->RefCount(), 0);

    Show("TbfrmVarnholt");
    qobject_cast<TForm*>(HostApplication.Components(0))->Close();
    ProcessPendingEvents();
    EXPECT_EQ(Notifier.Released, QList<std::uint32_t>{4711u});
}

TEST_F(PlugInEntryTest, ADialogIsModalTheFirstTimeAndModelessWhenReused) {
    bool WasModal = false;
    QTimer::singleShot(0, [&] {
        auto* Dialog = qobject_cast<TForm*>(HostApplication.Components(0));
        WasModal = Dialog && Dialog->IsModal();
        if (Dialog)
            Dialog->SetModalResult(mrOk);
    });
    EXPECT_EQ(Show("TestDialog"), 0);
    EXPECT_TRUE(WasModal);

    Show("TestDialog");
    auto* Dialog = qobject_cast<TForm*>(HostApplication.Components(0));
    EXPECT_TRUE(Dialog->Visible());
    EXPECT_FALSE(Dialog->IsModal());
}

TEST_F(PlugInEntryTest, UnloadPutsTheFrameworksOwnObjectsBack) {
    TApplication* Own = Application;
    Show("TbfrmVarnholt");
    EXPECT_NE(Application, Own);
    LibraryProcessHook(DLL_PROCESS_DETACH);
    EXPECT_EQ(Application, Own);
    LibraryProcessHook(DLL_THREAD_ATTACH);
    EXPECT_EQ(Application, Own);
}
