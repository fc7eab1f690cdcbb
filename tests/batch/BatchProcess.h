#pragma once

#include <QByteArray>
#include <QMap>
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
// Every file under AFolder, hidden ones and those of subfolders included,
// by its path below AFolder, with its bytes.
QMap<QString, QByteArray> Snapshot(const QString& AFolder);
// The fields of the line that begins with AKey in the head of a record the
// run left (an audit file or a list of units), tab-separated.
QStringList RecordField(const QString& AText, const QString& AKey);
