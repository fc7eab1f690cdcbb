#include "TExportSet.h"

#include "report/tables/ReportFileNames.h"

#include <QDir>
#include <QFileInfo>

TExportSet::TExportSet(QString AFolder, int AYear, const QString& ABTypeText,
                       const QStringList& AFundTexts)
    : FFolder(std::move(AFolder)) {
    for (const QString& Fund : AFundTexts)
        FPaths << ContinuousExportPath(FFolder, AYear, ABTypeText, Fund);
    // The fund nature is the only part of the name that varies in a set.
    FPattern =
        QFileInfo(ContinuousExportPath(FFolder, AYear, ABTypeText, QStringLiteral("*"))).fileName();
}

QStringList TExportSet::Existing() const {
    QStringList Found;
    for (const QString& Path : FPaths) {
        // Something other than a file under the name is not replaced: the
        // export fails on it and says so.
        if (QFileInfo(Path).isFile())
            Found << Path;
    }
    return Found;
}

QStringList TExportSet::Others() const {
    QStringList Own;
    for (const QString& Path : FPaths)
        Own << QFileInfo(Path).fileName();
    QStringList Found;
    const QStringList Names = QDir(FFolder).entryList({FPattern}, QDir::Files, QDir::Name);
    for (const QString& Name : Names) {
        if (!Own.contains(Name))
            Found << Name;
    }
    return Found;
}
