#include "ReportFixture.h"

#include "DemoData.h"
#include "cell/TCellDocument.h"
#include "report/tables/ReportHost.h"

TBudgetRows::TBudgetRows(const QString& AFile)
    : FSession(SqliteConnectionString(AFile)) {
    QSqlDatabase Db = FSession.Db();
    ApplyDemoSchema(Db);
    for (const auto& [Mid, Name] : {std::pair{"11", "公共财政预算资金"},
                                    {"12", "政府性基金"},
                                    {"21", "财政专户管理资金"},
                                    {"31", "国有资本经营预算资金"}})
        Fund(Mid, Name);
    for (const auto& [Bid, Name] : {std::pair{"2010101", "行政运行"},
                                    {"2010102", "一般行政管理事务"},
                                    {"2050101", "教育行政运行"},
                                    {"2080101", "民政行政运行"},
                                    {"2120801", "征地拆迁补偿"},
                                    {"2230101", "资本性支出"}})
        FSession.Exec(QStringLiteral("insert into pubbudgetsubject values (?, ?)"),
                      {QString::fromUtf8(Bid), QString::fromUtf8(Name)});
}

void TBudgetRows::Unit(const QString& AEid, const QString& AName, bool ALeaf, bool ASpecial) {
    FSession.Exec(
        QStringLiteral("insert into pubdept (eid, peid, ename, leafflag, class, specialaccount) "
                       "values (?, ?, ?, ?, ?, ?)"),
        {AEid, AEid.size() > 3 ? AEid.chopped(3) : QStringLiteral(""), AName,
         ALeaf ? QStringLiteral("1") : QStringLiteral("0"), int(AEid.size() / 3 - 1),
         ASpecial ? QStringLiteral("是") : QStringLiteral("否")});
}

void TBudgetRows::Fund(const QString& AMid, const QString& AName) {
    FSession.Exec(QStringLiteral("insert into pubmoneykind values (?, ?, '0')"), {AMid, AName});
}

void TBudgetRows::Adj(const TAdj& A) {
    const QString Key = A.Eid + QLatin1Char('/') + A.Mid + QLatin1Char('/') + A.Bid;
    QString Iid = FIndicators.value(Key);
    if (Iid.isEmpty()) {
        Iid = QStringLiteral("%1").arg(FIndicators.size() + 1, 6, 10, QLatin1Char('0'));
        FIndicators.insert(Key, Iid);
        FSession.Exec(QStringLiteral("insert into busiindicator values (?, ?, ?, ?, ?, ?)"),
                      {Iid, QStringLiteral("指标") + Iid, A.Eid, A.Mid, A.Bid, A.Ipid});
    }
    FSession.Exec(
        QStringLiteral("insert into busibudgetadj (datayear, eid, deptclass, mid, bid, iid, ipid, "
                       "pid, BType, bkid, btypechild, BudgMoney) "
                       "values (?, ?, '1', ?, ?, ?, ?, ?, ?, ?, ?, ?)"),
        {A.Year, A.Eid, A.Mid, A.Bid, Iid, A.Ipid, A.Pid, A.BType, A.Bkid, A.BTypeChild, A.Yuan});
}

TReportScope::TReportScope(const QString& ADbFile, const QString& AUnit, bool ADepartmentMode)
    : THostScope(SqliteConnectionString(ADbFile)) {
    SetUnit(AUnit, ADepartmentMode ? QStringLiteral("1") : QString());
}

TReportContext TReportScope::Context(const QString& APrefix, const QString& AUnitName,
                                     const QString& AFundCode) const {
    // The host's year and class go in.
    const TReportFilter Filter{0, 0, QStringLiteral("1"), 0, APrefix, AUnitName};
    return MakeReportContext(Filter, QStringLiteral("预算数"), AFundCode);
}

QStringList RowTexts(const TCellDocument& AGrid, int ARow, int ALastCol) {
    QStringList Texts;
    for (int Col = 1; Col <= ALastCol; ++Col)
        Texts << AGrid.CellText(Col, ARow);
    return Texts;
}
