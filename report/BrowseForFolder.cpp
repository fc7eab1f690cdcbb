#include "BrowseForFolder.h"

#include "TReportDialogs.h"

#include <QFileInfo>

bool BrowseForFolder(TReportDialogs& ADialogs, QWidget* AParent, const QString& ATitle,
                     const QString& ARoot, QString& AFolder) {
    if (!QFileInfo(AFolder).isDir())
        AFolder.clear();
    QString Chosen = AFolder;
    if (Chosen.isEmpty() && !ARoot.isEmpty() && QFileInfo(ARoot).isDir())
        Chosen = ARoot;
    if (!ADialogs.ChooseFolder(AParent, ATitle, Chosen) || Chosen.isEmpty())
        return false;
    AFolder = Chosen;
    return true;
}
