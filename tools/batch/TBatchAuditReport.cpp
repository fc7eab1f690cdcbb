#include "TBatchAuditReport.h"

#include "cell/TCellOutputSet.h"
#include "report/tables/CrossTableAudit.h"
#include "report/tables/PrintableText.h"

#include <algorithm>

namespace {

QString Amount(double AAmount) {
    return QString::number(AAmount, 'f', 2);
}

// A field holds no tab, line break or other control character of its own:
// they are written as escapes, so a name cannot forge a line or a column.
QString Cell(const QString& AText) {
    return PrintableText(AText);
}

} // namespace

void TBatchAuditReport::Add(const QString& ATable, const QString& AFundCode,
                            const TFillResult& AResult) {
    FTables.push_back({ATable, AFundCode, AResult});
}

void TBatchAuditReport::CompareTables() {
    const auto Summary = std::find_if(FTables.begin(), FTables.end(),
                                      [](const TTable& T) { return T.FundCode.isEmpty(); });
    if (Summary == FTables.end())
        return;
    for (TTable& Table : FTables) {
        if (!Table.FundCode.isEmpty())
            CompareWithSummary(Summary->Result, Table.FundCode, Table.Result);
    }
}

bool TBatchAuditReport::Passed() const {
    return std::all_of(FTables.begin(), FTables.end(),
                       [](const TTable& T) { return T.Result.Audit.Passed(); });
}

QStringList TBatchAuditReport::Lines() const {
    QStringList Lines;
    for (const TTable& Table : FTables)
        Lines << QStringLiteral("审核 %1：%2").arg(Table.Name, Table.Result.Audit.Line());
    return Lines;
}

bool TBatchAuditReport::Write(const QString& APath, const TRunRecord& AHead,
                              TCellOutputSet* AOutputs, QString& AError) const {
    QString Text = AHead.Head() + QStringLiteral("表\t结果\t差额及原因\t金额（万元）\t行数\n");
    for (const TTable& Table : FTables) {
        const TAuditResult& Audit = Table.Result.Audit;
        const QString Outcome =
            Audit.Passed() ? QStringLiteral("审核通过") : QStringLiteral("审核未通过");
        Text += Cell(Table.Name) + QLatin1Char('\t') + Outcome +
                (Audit.NoData ? QStringLiteral("\t无数据\t\t\n") : QStringLiteral("\t\t\t\n"));
        for (const TAuditFinding& Finding : Audit.Findings) {
            const QString Cause =
                Finding.Explained ? QStringLiteral("已知原因：") : QStringLiteral("无已知原因：");
            Text += Cell(Table.Name) + QLatin1Char('\t') + Outcome + QLatin1Char('\t') +
                    Cell(Cause + Finding.Text) + QLatin1Char('\t') + Amount(Finding.Amount) +
                    QLatin1Char('\t') +
                    (Finding.Rows >= 0 ? QString::number(Finding.Rows) : QString()) +
                    QLatin1Char('\n');
        }
    }
    auto File = std::make_unique<TCellOutputFile>(APath);
    if (!File->Open() || !File->Write(Text.toUtf8()) ||
        (AOutputs ? AOutputs->Hold(File) : File->Commit()) != TCellOutputFile::Committed) {
        AError = File->Error();
        return false;
    }
    return true;
}
