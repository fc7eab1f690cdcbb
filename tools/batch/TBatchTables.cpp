#include "TBatchTables.h"

#include "report/tables/ReportFileNames.h"

#include <QHash>

namespace {

const QString All = QStringLiteral("<全部>");

QString StemOf(const QString& AFolder, int AYear, const QString& ABTypeText, const QString& AName) {
    return ContinuousExportPath(AFolder, AYear, ABTypeText, AName).chopped(5);
}

} // namespace

QList<TBatchTable> BatchTables(const QList<QPair<QString, QString>>& AFunds, const QString& AFolder,
                               int AYear, const QString& ABTypeText, QStringList& AClashes) {
    QList<TBatchTable> Tables{
        {QString(), All, QStringLiteral("汇总表"), StemOf(AFolder, AYear, ABTypeText, All)}};
    QHash<QString, int> Uses{{Tables.first().Stem, 1}};
    for (const auto& [Code, Name] : AFunds) {
        const QString Stem = StemOf(AFolder, AYear, ABTypeText, Name);
        ++Uses[Stem];
        Tables.append({Code, Name, Name, Stem});
    }
    for (TBatchTable& Table : Tables) {
        if (Table.Code.isEmpty() || Uses.value(Table.Stem) < 2)
            continue;
        const QString Coded = QStringLiteral("%1（%2）").arg(Table.Name, Table.Code);
        Table.Caption = Coded;
        Table.Stem = StemOf(AFolder, AYear, ABTypeText, Coded);
        AClashes << Coded;
    }
    return Tables;
}
