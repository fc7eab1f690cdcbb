#include "hostcontext/PlugInHostSdk.h"
#include "platform/ui/TApplication.h"
#include "platform/ui/TForm.h"
#include "platform/ui/TScreen.h"
#include "support/RecordingPlugInManager.h"
#include "support/TempDir.h"

#include <QCoreApplication>
#include <QDir>
#include <QStringDecoder>
#include <dlfcn.h>
#include <gtest/gtest.h>

namespace {

QString FromGbk(const char* AText) {
    return QStringDecoder("GBK")(QByteArray(AText));
}

QString PlugInPath() {
    return QDir(BinaryDir()).filePath(QStringLiteral("libvarnholt.so"));
}
} // namespace

TEST(PlugInModule, ExportsOnlyTheEntry) {
    void* Handle = dlopen(PlugInPath().toLocal8Bit().constData(), RTLD_NOW | RTLD_LOCAL);
    ASSERT_NE(Handle, nullptr) << dlerror();
    EXPECT_NE(dlsym(Handle, "ShowPlugInWindow"), nullptr);
    for (const char* Hidden : {"PlugInLoad", "ResRefManager", "RegGroups", "HostContext"})
        EXPECT_EQ(dlsym(Handle, Hidden), nullptr) << Hidden;
    dlclose(Handle);
}

// One whole session as a host has it: load, show, close, unload.
TEST(PlugInModule, ALoadShowCloseUnloadSession) {
    TApplication* Own = Application;
    TScreen* OwnScreen = Screen;
    void* Handle = dlopen(PlugInPath().toLocal8Bit().constData(), RTLD_NOW | RTLD_LOCAL);
    ASSERT_NE(Handle, nullptr) << dlerror();
    auto Entry = reinterpret_cast<TShowPlugInWindow>(dlsym(Handle, "ShowPlugInWindow"));
    ASSERT_NE(Entry, nullptr);

    QStringList Errors;
    {
        TApplication HostApplication;
        TScreen HostScreen;
        HostApplication.OnException = [&Errors](QObject*, const Exception& E) {
            Errors.append(E.Message());
        };
        THostContext Context;
        TPlugInInfo Info;
        Info.PlugInId = 77;
        RecordingPlugInManager Notifier;
        TPlugInHostRecord Record{&Context, &Info, &Notifier, &HostApplication, &HostScreen};

        EXPECT_EQ(Entry("TbfrmVarnholt", &Record), 0);
        EXPECT_EQ(FromGbk(Info.ModuleName), QStringLiteral("授权支出模块"));
        EXPECT_EQ(FromGbk(Info.SubsystemName), QStringLiteral("支付管理子系统"));
        EXPECT_EQ(FromGbk(Info.Description), QStringLiteral("完成授权支付的支出、查询等功能"));
        EXPECT_EQ(Info.PlugInId, 77u);
        EXPECT_EQ(Application, &HostApplication);
        EXPECT_EQ(Screen, &HostScreen);

        ASSERT_EQ(HostApplication.ComponentCount(), 1);
        auto* Window = qobject_cast<TForm*>(HostApplication.Components(0));
        ASSERT_NE(Window, nullptr);
        EXPECT_EQ(Window->Caption(), QStringLiteral("支付范围划分建议表打印"));
        EXPECT_TRUE(Window->Visible());

        EXPECT_EQ(Entry("tbfrmvarnholt", &Record), 0);
        EXPECT_EQ(HostApplication.ComponentCount(), 1);

        Window->Close();
        for (int I = 0; I < 3; ++I)
            QCoreApplication::processEvents();
        EXPECT_EQ(HostApplication.ComponentCount(), 0);
        EXPECT_EQ(Notifier.Released, QList<std::uint32_t>{77u});
        EXPECT_TRUE(Errors.isEmpty()) << Errors.join(QLatin1Char('\n')).toStdString();

        EXPECT_EQ(dlclose(Handle), 0);
        EXPECT_EQ(dlopen(PlugInPath().toLocal8Bit().constData(), RTLD_NOW | RTLD_NOLOAD), nullptr)
            << "the module stayed loaded";
    }
    EXPECT_EQ(Application, Own);
    EXPECT_EQ(Screen, OwnScreen);
}
