#pragma once

#include <QProcessEnvironment>
#include <QString>
#include <QStringList>

// varnholt-batch (and the script around it) run as processes, as a clerk or
// a scheduler runs them.
struct TRun {
    int ExitCode = -1;
    bool Crashed = false;
    QString Out;
    QString Err;
};

TRun RunBatch(const QString& AConnection, const QStringList& AArguments,
              const QProcessEnvironment& AEnvironment = QProcessEnvironment::systemEnvironment());
// scripts/run-batch.sh with the build as it is and AOut for its out/ folder.
TRun RunScript(const QString& AOut, const QStringList& AArguments);

QString ReadText(const QString& AFile);
// Files and folders in AFolder, hidden ones left out.
QStringList Entries(const QString& AFolder);
