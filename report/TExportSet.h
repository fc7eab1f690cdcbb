#pragma once

#include <QString>
#include <QStringList>

// The workbooks of one continuous export into a folder: the files it
// writes, in the fund-nature list's order, and what the folder already
// holds under names of the same kind. The names carry no unit, so a folder
// that holds an earlier export of another unit looks the same as one that
// holds this unit's; these lists let the window say so before anything is
// replaced.
class TExportSet {
public:
    TExportSet(QString AFolder, int AYear, const QString& ABTypeText,
               const QStringList& AFundTexts);

    const QString& Folder() const { return FFolder; }
    // One path per fund-nature entry, in list order.
    const QStringList& Paths() const { return FPaths; }
    // The paths of the set under which a file already exists: writing the
    // set replaces them.
    QStringList Existing() const;
    // Files in the folder named as tables of the same year and indicator
    // type that the set does not write, by file name: left there by an
    // export of another choice, they stay as they are.
    QStringList Others() const;

private:
    QString FFolder;
    QString FPattern;
    QStringList FPaths;
};
