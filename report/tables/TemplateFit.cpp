#include "TemplateFit.h"

#include "ReportCodes.h"
#include "cell/TCellDocument.h"

TTableKind TableKindOf(const QString& AFundCode) {
    if (AFundCode.isEmpty())
        return TTableKind::Summary;
    return AFundCode == QLatin1String("31") ? TTableKind::StateCapital : TTableKind::Detail;
}

QString LoadTableTemplate(TCellDocument& AGrid, const QString& APath, TTableKind AKind) {
    if (AGrid.LoadTemplate(APath, QString()) != 0)
        return QStringLiteral("报表模板 %1 不可用：%2").arg(APath, AGrid.LastError());
    const QString Misfit = TemplateMisfit(AGrid, AKind);
    if (!Misfit.isEmpty())
        return QStringLiteral("报表模板 %1 与报表不符：%2").arg(APath, Misfit);
    return QString();
}

QString TemplateMisfit(const TCellDocument& AGrid, TTableKind AKind) {
    const int Columns = AKind == TTableKind::Summary ? 12 : AKind == TTableKind::Detail ? 14 : 16;
    const int HeadingRows = FirstTableRow - 1;
    const int Rows = AGrid.GetRowCount(0) - 1;
    if (Rows != HeadingRows)
        return QStringLiteral("表头应为 %1 行，模板有 %2 行").arg(HeadingRows).arg(Rows);
    const int Found = AGrid.Sheet().ColCount();
    if (Found != Columns)
        return QStringLiteral("应有 %1 列，模板有 %2 列（是否用错了模板？）")
            .arg(Columns)
            .arg(Found);
    return QString();
}
