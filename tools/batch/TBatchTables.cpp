#include "TBatchTables.h"

#include "report/tables/ReportFileNames.h"

QList<TBatchTable> BatchTables(const QList<QPair<QString, QString>>& AFunds, const QString& AFolder,
                               int AYear, const QString& ABTypeText, QStringList& AClashes) {
    QList<QPair<QString, QString>> Entries{{QString(), QStringLiteral("<全部>")}};
    Entries += AFunds;
    const QStringList Texts = FileFundTexts(Entries);
    QList<TBatchTable> Tables;
    for (int I = 0; I < Entries.size(); ++I) {
        const auto& [Code, Name] = Entries[I];
        QString Caption = Code.isEmpty() ? QStringLiteral("汇总表") : Texts[I];
        if (Texts[I] != Name)
            AClashes << Texts[I];
        Tables.append({Code, Name, Caption,
                       ContinuousExportPath(AFolder, AYear, ABTypeText, Texts[I]).chopped(5)});
    }
    return Tables;
}
