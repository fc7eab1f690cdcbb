#pragma once

#include <QString>

class QWidget;
class TReportDialogs;

// Lets the user pick a folder under ATitle. AFolder, when it names an
// existing folder, is where the dialog opens; otherwise ARoot, when that is
// one. On confirmation AFolder becomes the chosen folder and the result is
// true; a cancelled dialog gives false and an AFolder that is empty or the
// folder it named before.
bool BrowseForFolder(TReportDialogs& ADialogs, QWidget* AParent, const QString& ATitle,
                     const QString& ARoot, QString& AFolder);
