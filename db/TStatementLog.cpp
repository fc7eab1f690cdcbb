#include "TStatementLog.h"

#include <QFile>
#include <QMutex>
#include <QMutexLocker>

void TStatementLog::Record(const QString& ASql, double AMilliseconds) {
    static const QString Path = qEnvironmentVariable("VARNHOLT_SQL_LOG");
    if (Path.isEmpty())
        return;
    static QMutex Lock;
    const QMutexLocker Guard(&Lock);
    QFile Log(Path);
    if (!Log.open(QIODevice::Append | QIODevice::Text))
        return;
    QString Line = ASql;
    Line.replace(QLatin1Char('\n'), QLatin1Char(' '));
    Log.write(QString::number(AMilliseconds, 'f', 3).toUtf8() + '\t' + Line.toUtf8() + '\n');
}
