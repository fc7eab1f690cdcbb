#include "ErrorKindText.h"
#include "HostMainWindow.h"
#include "HostOptions.h"
#include "HostPlugInManager.h"
#include "HostSession.h"
#include "PlugInLibrary.h"
#include "QtTranslations.h"
#include "platform/ui/TApplication.h"
#include "platform/ui/TScreen.h"

#include <QApplication>
#include <QMessageBox>
#include <QTimer>
#include <cerrno>
#include <cstdio>
#include <sys/stat.h>
#include <unistd.h>

namespace {
// Exit codes besides 0: the options, the plug-in, the screenshot.
enum : int { BadOptions = 2, PlugInFailed = 3, ScreenshotFailed = 4 };

// Without a display the host still runs, on Qt's offscreen platform, so the
// main job works on servers and in CI.
void ChooseOffscreenWithoutDisplay() {
    if (!qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        return;
    if (!qEnvironmentVariableIsEmpty("DISPLAY") || !qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY"))
        return;
    qputenv("QT_QPA_PLATFORM", "offscreen");
    std::fprintf(stderr, "varnholt-host: 没有找到显示器，在 Qt 的 offscreen 平台上运行\n");
}

// Qt needs a runtime folder and, outside a desktop session, makes one up
// and says so in English on every start; give it the one it would make, so
// a terminal shows only the host's own lines.
void ProvideRuntimeFolder() {
    if (!qEnvironmentVariableIsEmpty("XDG_RUNTIME_DIR"))
        return;
    const QByteArray Folder = "/tmp/runtime-" + QByteArray::number(getuid());
    if (mkdir(Folder.constData(), 0700) == 0 || errno == EEXIST)
        qputenv("XDG_RUNTIME_DIR", Folder);
}

void ReportErrorsInMessageBoxes(TApplication& AApplication, QWidget* AWindow) {
    AApplication.OnException = [AWindow](QObject*, const Exception& E) {
        std::fprintf(stderr, "varnholt-host: %s: %s\n", E.ClassName().toUtf8().constData(),
                     E.Message().toUtf8().constData());
        QMessageBox Box(QMessageBox::Critical, QStringLiteral("错误"), E.Message(), QMessageBox::Ok,
                        AWindow);
        Box.setInformativeText(QStringLiteral("错误类型：%1").arg(ErrorKindText(E.ClassName())));
        Box.exec();
    };
}

void ScheduleScreenshotAndQuit(HostMainWindow& AWindow, const HostOptions& AOptions) {
    const int Delay = AOptions.QuitAfterMs > 0 ? AOptions.QuitAfterMs : 1500;
    if (!AOptions.ScreenshotPath.isEmpty()) {
        QTimer::singleShot(Delay * 2 / 3, &AWindow, [&AWindow, AOptions] {
            if (AWindow.grab().save(AOptions.ScreenshotPath)) {
                std::fprintf(stderr, "varnholt-host: 截图已保存到 %s\n",
                             AOptions.ScreenshotPath.toUtf8().constData());
                return;
            }
            std::fprintf(stderr, "varnholt-host: 无法保存截图 %s\n",
                         AOptions.ScreenshotPath.toUtf8().constData());
            QCoreApplication::exit(ScreenshotFailed);
        });
    }
    if (AOptions.QuitAfterMs > 0 || !AOptions.ScreenshotPath.isEmpty())
        QTimer::singleShot(Delay, qApp, &QCoreApplication::quit);
}
} // namespace

int main(int argc, char** argv) {
    ChooseOffscreenWithoutDisplay();
    ProvideRuntimeFolder();
    // The host's options first: QApplication would take --plugin as its own.
    const QStringList Own = TakeHostArguments(argc, argv);
    QApplication App(argc, argv);
    App.setApplicationName(QStringLiteral("varnholt-host"));
    // The program speaks Chinese; Qt's own dialogs should too. The plug-in
    // needs none of it: without the translation they stay in English.
    if (!InstallQtTranslations(App))
        std::fprintf(stderr, "varnholt-host: 找不到 Qt 的中文翻译（qtbase_zh_CN，Debian 软件包 "
                             "qt6-translations-l10n），Qt 自带的对话框将显示英文\n");
    const QStringList Left = App.arguments();
    const HostOptionsResult Parsed = ParseHostOptions(Left.mid(0, 1) + Own + Left.mid(1));
    if (!Parsed.Error.isEmpty()) {
        std::fprintf(Parsed.HelpShown ? stdout : stderr, "%s\n", Parsed.Error.toUtf8().constData());
        return Parsed.HelpShown ? 0 : BadOptions;
    }
    const HostOptions& Options = Parsed.Options;

    TApplication HostApplication;
    TScreen HostScreen;
    HostApplication.SetTitle(QStringLiteral("预算执行管理系统"));
    Application = &HostApplication;
    Screen = &HostScreen;

    HostPlugInManager Manager;
    HostSession Session(Options, &Manager, &HostApplication, &HostScreen);
    PlugInLibrary Library(Options.PlugInPath);
    if (!Library.Load()) {
        // A host without its plug-in has nothing to show.
        std::fprintf(stderr, "varnholt-host: %s\n", Library.ErrorText().toUtf8().constData());
        Application = nullptr;
        Screen = nullptr;
        return PlugInFailed;
    }
    if (!Session.DatabaseError().isEmpty())
        std::fprintf(stderr, "varnholt-host: %s\n", Session.DatabaseError().toUtf8().constData());

    int Result = 0;
    {
        HostMainWindow Window(&Library, &Session);
        HostApplication.SetMdiArea(Window.MdiArea());
        HostApplication.SetMainWindow(&Window);
        ReportErrorsInMessageBoxes(HostApplication, &Window);
        QObject::connect(&Manager, &HostPlugInManager::Released, &Window,
                         &HostMainWindow::OnPlugInReleased);
        Window.show();
        if (Options.OpenAtStart)
            QTimer::singleShot(0, &Window, &HostMainWindow::OpenReportWindow);
        ScheduleScreenshotAndQuit(Window, Options);
        Result = App.exec();
        // The plug-in's windows go while the frame and the library are there.
        Window.MdiArea()->closeAllSubWindows();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QCoreApplication::processEvents();
    }
    // Whatever the plug-in still owns through the host's application object
    // goes before the library is unloaded, since its code lives there.
    while (HostApplication.ComponentCount() > 0)
        HostApplication.Components(HostApplication.ComponentCount() - 1)->Free();
    Application = nullptr;
    Screen = nullptr;
    return Result;
}
