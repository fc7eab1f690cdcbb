#include "HostMainWindow.h"

#include "FrameGeometryStore.h"
#include "HostSession.h"
#include "PlugInLibrary.h"
#include "platform/Exception.h"
#include "platform/ui/TForm.h"
#include "platform/ui/TMainMenu.h"

#include <QAction>
#include <QGuiApplication>
#include <QMdiArea>
#include <QMenuBar>
#include <QMessageBox>
#include <QScreen>
#include <QStatusBar>
#include <QStringDecoder>
#include <cstdio>

namespace {
const char* const ReportWindowClass = "TbfrmVarnholt";
const int FileGroup = 0;
const int WindowGroup = 9;
const int HelpGroup = 10;

QString FromGbk(const char* AText) {
    if (!AText)
        return QString();
    QStringDecoder Decoder("GBK");
    return Decoder.isValid() ? Decoder(QByteArray(AText)) : QString::fromLatin1(AText);
}
} // namespace

HostMainWindow::HostMainWindow(PlugInLibrary* ALibrary, HostSession* ASession, QWidget* AParent)
    : QMainWindow(AParent)
    , FLibrary(ALibrary)
    , FSession(ASession)
    , FMdiArea(new QMdiArea(this)) {
    setWindowTitle(QStringLiteral("预算执行管理系统 — 参考宿主"));
    FMdiArea->setObjectName(QStringLiteral("mdiArea"));
    FMdiArea->setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    FMdiArea->setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    setCentralWidget(FMdiArea);
    BuildMenus();
    connect(FMdiArea, &QMdiArea::subWindowActivated, this, &HostMainWindow::MergeChildMenu);
    statusBar()->showMessage(FLibrary->IsLoaded()
                                 ? QStringLiteral("插件已加载：%1").arg(FLibrary->Path())
                                 : FLibrary->ErrorText());
    FitToScreen();
}

void HostMainWindow::FitToScreen() {
    // The window system's title bar and borders are not known before the
    // frame is shown; this leaves room for the usual ones, so the close
    // button and the status bar stay on a small screen.
    const QMargins Decoration(8, 40, 8, 8);
    QList<QRect> Areas{screen()->availableGeometry()};
    for (const QScreen* Other : QGuiApplication::screens())
        if (Other != screen())
            Areas << Other->availableGeometry();
    ApplyFrameState(*this,
                    OpeningFrameState(ReadFrameState(), Areas, Decoration, QSize(1200, 800)));
}

void HostMainWindow::closeEvent(QCloseEvent* AEvent) {
    // Kept when the user closes the frame; a run that quits by itself
    // (--quit-after) leaves the kept state alone.
    try {
        WriteFrameState(CaptureFrameState(*this));
    } catch (const Exception& E) {
        // Not worth keeping the frame open for: it opens at its preferred
        // size next time.
        std::fprintf(stderr, "varnholt-host: %s\n", E.Message().toUtf8().constData());
    }
    QMainWindow::closeEvent(AEvent);
}

void HostMainWindow::BuildMenus() {
    QMenu* FileMenu = menuBar()->addMenu(QStringLiteral("文件(&F)"));
    TMainMenu::SetGroupIndex(FileMenu->menuAction(), FileGroup);
    QAction* Open = FileMenu->addAction(QStringLiteral("支付范围划分建议表打印(&R)"), this,
                                        &HostMainWindow::OpenReportWindow);
    Open->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_R));
    Open->setEnabled(FLibrary->IsLoaded());
    FileMenu->addSeparator();
    FileMenu->addAction(QStringLiteral("退出(&X)"), this, &QWidget::close);

    QMenu* WindowMenu = menuBar()->addMenu(QStringLiteral("窗口(&W)"));
    TMainMenu::SetGroupIndex(WindowMenu->menuAction(), WindowGroup);
    WindowMenu->addAction(QStringLiteral("层叠(&C)"), FMdiArea, &QMdiArea::cascadeSubWindows);
    WindowMenu->addAction(QStringLiteral("平铺(&T)"), FMdiArea, &QMdiArea::tileSubWindows);

    QMenu* HelpMenu = menuBar()->addMenu(QStringLiteral("帮助(&H)"));
    TMainMenu::SetGroupIndex(HelpMenu->menuAction(), HelpGroup);
    HelpMenu->addAction(QStringLiteral("关于插件(&A)…"), this, &HostMainWindow::ShowAbout);
}

void HostMainWindow::OpenReportWindow() {
    const std::int32_t Result =
        FLibrary->ShowPlugInWindow(QString::fromLatin1(ReportWindowClass), FSession->Record());
    if (Result != 0)
        statusBar()->showMessage(QStringLiteral("插件未能打开窗口（返回 %1）").arg(Result));
}

void HostMainWindow::MergeChildMenu(QMdiSubWindow* AWindow) {
    TForm* Form = AWindow ? TForm::FromWidget(AWindow) : nullptr;
    if (Form && Form->Menu())
        Form->Menu()->MergeInto(menuBar());
    else
        TMainMenu::Unmerge(menuBar());
}

void HostMainWindow::ShowAbout() {
    const TPlugInInfo& Info = FSession->Info();
    if (!Info.ModuleName) {
        QMessageBox::information(this, QStringLiteral("关于插件"),
                                 QStringLiteral("插件尚未打开过窗口，还没有提供说明。"));
        return;
    }
    QMessageBox::about(this, QStringLiteral("关于插件"),
                       QStringLiteral("<b>%1</b><br>%2<br><br>%3<br><br>插件编号：%4")
                           .arg(FromGbk(Info.ModuleName).toHtmlEscaped(),
                                FromGbk(Info.SubsystemName).toHtmlEscaped(),
                                FromGbk(Info.Description).toHtmlEscaped())
                           .arg(Info.PlugInId));
}

void HostMainWindow::OnPlugInReleased(quint32 APlugInId) {
    TMainMenu::Unmerge(menuBar());
    statusBar()->showMessage(
        QStringLiteral("报表插件的窗口已全部关闭，插件已释放（插件编号 %1）").arg(APlugInId));
}
