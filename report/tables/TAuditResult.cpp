#include "TAuditResult.h"

#include "cell/TCell.h"

#include <algorithm>

namespace {

QString Described(const TAuditFinding& AFinding) {
    QString Text = AFinding.Text + QStringLiteral(" ") + TCell::FormatNumber(AFinding.Amount) +
                   QStringLiteral(" 万元");
    if (AFinding.Rows >= 0)
        Text += QStringLiteral("（%1 行）").arg(AFinding.Rows);
    return Text;
}

// The printed differences summed by their label, in the order they first
// appear: "合计含未列出的行 -0.20 万元，1 行".
QStringList PrintedSums(const QList<TAuditFinding>& AFindings) {
    QStringList Labels;
    QList<TAuditFinding> Sums;
    for (const TAuditFinding& Finding : AFindings) {
        if (Finding.Printed.isEmpty())
            continue;
        const qsizetype At = Labels.indexOf(Finding.Printed);
        if (At < 0) {
            Labels << Finding.Printed;
            Sums << Finding;
            continue;
        }
        TAuditFinding& Sum = Sums[At];
        Sum.Amount += Finding.Amount;
        Sum.Rows = Sum.Rows >= 0 && Finding.Rows >= 0 ? Sum.Rows + Finding.Rows : -1;
    }
    QStringList Texts;
    for (const TAuditFinding& Sum : Sums) {
        QString Text = Sum.Printed + QStringLiteral(" ") + TCell::FormatNumber(Sum.Amount) +
                       QStringLiteral(" 万元");
        if (Sum.Rows >= 0)
            Text += QStringLiteral("，%1 行").arg(Sum.Rows);
        Texts << Text;
    }
    return Texts;
}

QStringList Described(const QList<TAuditFinding>& AFindings, bool AExplained) {
    QStringList Texts;
    for (const TAuditFinding& Finding : AFindings) {
        if (Finding.Explained == AExplained)
            Texts << Described(Finding);
    }
    return Texts;
}

} // namespace

bool TAuditResult::Passed() const {
    return std::all_of(Findings.begin(), Findings.end(),
                       [](const TAuditFinding& F) { return F.Explained; });
}

void TAuditResult::Explain(const QString& AText, double AAmount, int ARows) {
    Findings.append({true, AText, AAmount, ARows, QString()});
}

void TAuditResult::ExplainPrinted(const QString& AText, double AAmount, int ARows,
                                  const QString& APrinted) {
    Findings.append({true, AText, AAmount, ARows, APrinted});
}

void TAuditResult::Fail(const QString& AText, double AAmount) {
    Findings.append({false, AText, AAmount, -1, QString()});
}

QString TAuditResult::Line() const {
    const QStringList Causes = Described(Findings, true);
    if (Passed()) {
        QString Text = QStringLiteral("审核通过");
        if (NoData)
            Text += QStringLiteral("（无数据）");
        if (!Causes.isEmpty())
            Text += QStringLiteral("；已知原因的差额：") + Causes.join(QStringLiteral("；"));
        return Text;
    }
    QString Text =
        QStringLiteral("审核未通过：") + Described(Findings, false).join(QStringLiteral("；"));
    if (!Causes.isEmpty())
        Text += QStringLiteral("；另有已知原因的差额：") + Causes.join(QStringLiteral("；"));
    return Text;
}

QString TAuditResult::Brief() const {
    if (!Passed()) {
        const auto Unexplained = std::find_if(Findings.begin(), Findings.end(),
                                              [](const TAuditFinding& F) { return !F.Explained; });
        return QStringLiteral("审核未通过：") + Described(*Unexplained);
    }
    if (NoData)
        return QStringLiteral("无数据");
    const QStringList Printed = PrintedSums(Findings);
    if (Printed.isEmpty())
        return QStringLiteral("审核通过");
    return QStringLiteral("审核通过（") + Printed.join(QStringLiteral("；")) + QStringLiteral("）");
}
