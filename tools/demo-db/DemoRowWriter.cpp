#include "DemoRowWriter.h"

#include "platform/data/DatabaseFailureText.h"

#include <QLocale>
#include <QSqlError>
#include <stdexcept>

void FailDemo(const QString& AWhat, const QSqlError& AError) {
    QString Cause = DatabaseCause(AError.text());
    if (Cause.isEmpty())
        Cause = QStringLiteral("写入数据库失败");
    throw std::runtime_error(QStringLiteral("%1（%2：%3）")
                                 .arg(Cause, AWhat, AError.text().simplified())
                                 .toUtf8()
                                 .toStdString());
}

TPreparedRowWriter::TPreparedRowWriter(QSqlDatabase& ADb)
    : FQuery(ADb) {}

void TPreparedRowWriter::BeginTable(const QString& ATable, const QStringList& AColumns) {
    FTable = ATable;
    QStringList Marks;
    for (qsizetype I = 0; I < AColumns.size(); ++I)
        Marks << QStringLiteral("?");
    const QString Sql =
        QStringLiteral("insert into %1 (%2) values (%3)")
            .arg(ATable, AColumns.join(QStringLiteral(", ")), Marks.join(QStringLiteral(", ")));
    if (!FQuery.prepare(Sql))
        FailDemo(Sql, FQuery.lastError());
}

void TPreparedRowWriter::AddRow(const QVariantList& AValues) {
    for (qsizetype I = 0; I < AValues.size(); ++I)
        FQuery.bindValue(int(I), AValues[I]);
    if (!FQuery.exec())
        FailDemo(FTable, FQuery.lastError());
}

TBatchRowWriter::TBatchRowWriter(QSqlDatabase& ADb, int ABatchRows)
    : FDb(ADb)
    , FBatchRows(ABatchRows) {}

QString TBatchRowWriter::Literal(const QVariant& AValue) {
    switch (AValue.typeId()) {
    case QMetaType::Int:
    case QMetaType::LongLong:
        return QString::number(AValue.toLongLong());
    case QMetaType::Double:
        return QString::number(AValue.toDouble(), 'g', QLocale::FloatingPointShortest);
    default: {
        QString Text = AValue.toString();
        Text.replace(QLatin1Char('\''), QStringLiteral("''"));
        return QLatin1Char('\'') + Text + QLatin1Char('\'');
    }
    }
}

void TBatchRowWriter::BeginTable(const QString& ATable, const QStringList& AColumns) {
    FTable = ATable;
    FHead = QStringLiteral("insert into %1 (%2) values ")
                .arg(ATable, AColumns.join(QStringLiteral(", ")));
    FRows.clear();
}

void TBatchRowWriter::AddRow(const QVariantList& AValues) {
    QString Row = QStringLiteral("(");
    for (qsizetype I = 0; I < AValues.size(); ++I) {
        if (I > 0)
            Row += QLatin1Char(',');
        Row += Literal(AValues[I]);
    }
    FRows << Row + QLatin1Char(')');
    if (FRows.size() >= FBatchRows)
        Flush();
}

void TBatchRowWriter::EndTable() {
    Flush();
}

void TBatchRowWriter::Flush() {
    if (FRows.isEmpty())
        return;
    QSqlQuery Insert(FDb);
    if (!Insert.exec(FHead + FRows.join(QLatin1Char(','))))
        FailDemo(FTable, Insert.lastError());
    FRows.clear();
}
