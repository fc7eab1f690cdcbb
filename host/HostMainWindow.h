#pragma once

#include <QMainWindow>

class QMdiArea;
class QMdiSubWindow;
class HostSession;
class PlugInLibrary;

// The reference host's frame: an MDI area for the plug-in's windows, a menu
// bar into which the active child's menus are merged by group, and a status
// bar that reports the plug-in's release.
class HostMainWindow : public QMainWindow {
    Q_OBJECT
public:
    HostMainWindow(PlugInLibrary* ALibrary, HostSession* ASession, QWidget* AParent = nullptr);

    QMdiArea* MdiArea() const { return FMdiArea; }

public slots:
    void OpenReportWindow();
    void ShowAbout();
    void OnPlugInReleased(quint32 APlugInId);

protected:
    // Keeps the frame's place and state for the next start.
    void closeEvent(QCloseEvent* AEvent) override;

private:
    void BuildMenus();
    // The place and state the user left the frame in, on a screen that is
    // still there; otherwise the preferred size, or as much of it as the
    // screen has room for.
    void FitToScreen();
    void MergeChildMenu(QMdiSubWindow* AWindow);

    PlugInLibrary* FLibrary;
    HostSession* FSession;
    QMdiArea* FMdiArea;
};
