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
    Findings.append({true, AText, AAmount, ARows});
}

void TAuditResult::Fail(const QString& AText, double AAmount) {
    Findings.append({false, AText, AAmount, -1});
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
    return NoData ? QStringLiteral("无数据") : QStringLiteral("审核通过");
}
