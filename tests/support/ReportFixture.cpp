#include "ReportFixture.h"

#include "DemoData.h"
#include "cell/TCellDocument.h"
#include "report/ReportHost.h"

#include <QDir>
#include <QSqlError>
#include <QSqlQuery>
#include <atomic>
#include <gtest/gtest.h>

namespace {
std::atomic<int> Connections{0};

void Exec(QSqlDatabase& ADb, const QString& ASql, const QVariantList& AValues = {}) {
    QSqlQuery Query(ADb);
    ASSERT_TRUE(Query.prepare(ASql)) << Query.lastError().text().toStdString();
    for (int I = 0; I < AValues.size(); ++I)
        Query.bindValue(I, AValues[I]);
    ASSERT_TRUE(Query.exec()) << Query.lastError().text().toStdString();
}
} // namespace

TBudgetRows::TBudgetRows(const QString& AFile)
    : FName(QStringLiteral("budget-rows-%1").arg(++Connections))
    , FDb(std::make_unique<QSqlDatabase>(
          QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), FName))) {
    FDb->setDatabaseName(AFile);
    EXPECT_TRUE(FDb->open());
    ApplyDemoSchema(*FDb);
    const char* const Funds[][2] = {{"11", "公共财政预算资金"},
                                    {"12", "政府性基金"},
                                    {"21", "财政专户管理资金"},
                                    {"31", "国有资本经营预算资金"}};
    for (const auto& Fund : Funds)
        Exec(*FDb, QStringLiteral("insert into pubmoneykind values (?, ?, '0')"),
             {QString::fromUtf8(Fund[0]), QString::fromUtf8(Fund[1])});
    const char* const Subjects[][2] = {{"2010101", "行政运行"},     {"2010102", "一般行政管理事务"},
                                       {"2050101", "教育行政运行"}, {"2080101", "民政行政运行"},
                                       {"2120801", "征地拆迁补偿"}, {"2230101", "资本性支出"}};
    for (const auto& Subject : Subjects)
        Exec(*FDb, QStringLiteral("insert into pubbudgetsubject values (?, ?)"),
             {QString::fromUtf8(Subject[0]), QString::fromUtf8(Subject[1])});
}

TBudgetRows::~TBudgetRows() {
    FDb->close();
    FDb.reset();
    QSqlDatabase::removeDatabase(FName);
}

void TBudgetRows::Unit(const QString& AEid, const QString& AName, bool ALeaf, bool ASpecial) {
    Exec(*FDb,
         QStringLiteral("insert into pubdept (eid, peid, ename, leafflag, class, specialaccount) "
                        "values (?, ?, ?, ?, ?, ?)"),
         {AEid, AEid.size() > 3 ? AEid.chopped(3) : QStringLiteral(""), AName,
          ALeaf ? QStringLiteral("1") : QStringLiteral("0"), int(AEid.size() / 3 - 1),
          ASpecial ? QStringLiteral("是") : QStringLiteral("否")});
}

void TBudgetRows::Fund(const QString& AMid, const QString& AName) {
    Exec(*FDb, QStringLiteral("insert into pubmoneykind values (?, ?, '0')"), {AMid, AName});
}

void TBudgetRows::Adj(const TAdj& A) {
    const QString Key = A.Eid + QLatin1Char('/') + A.Mid + QLatin1Char('/') + A.Bid;
    QString Iid = FIndicators.value(Key);
    if (Iid.isEmpty()) {
        Iid = QStringLiteral("%1").arg(FIndicators.size() + 1, 6, 10, QLatin1Char('0'));
        FIndicators.insert(Key, Iid);
        Exec(*FDb, QStringLiteral("insert into busiindicator values (?, ?, ?, ?, ?, ?)"),
             {Iid, QStringLiteral("指标") + Iid, A.Eid, A.Mid, A.Bid, A.Ipid});
    }
    Exec(*FDb,
         QStringLiteral("insert into busibudgetadj (datayear, eid, deptclass, mid, bid, iid, ipid, "
                        "pid, BType, bkid, btypechild, BudgMoney) "
                        "values (?, ?, '1', ?, ?, ?, ?, ?, ?, ?, ?, ?)"),
         {A.Year, A.Eid, A.Mid, A.Bid, Iid, A.Ipid, A.Pid, A.BType, A.Bkid, A.BTypeChild, A.Yuan});
}

void TBudgetRows::Adj(const QString& AEid, const QString& AMid, const QString& ABid,
                      const QString& AIpid, const QString& APid, double AYuan) {
    TAdj A;
    A.Eid = AEid;
    A.Mid = AMid;
    A.Bid = ABid;
    A.Ipid = AIpid;
    A.Pid = APid;
    A.Yuan = AYuan;
    Adj(A);
}

TReportScope::TReportScope(const QString& ADbFile, const QString& AUnit, bool ADepartmentMode)
    : Host(SqliteConnectionString(ADbFile)) {
    Host.SetUnit(AUnit, ADepartmentMode ? QStringLiteral("1") : QString());
    Params.Params = {QStringLiteral("11=") +
                     QDir(BinaryDir()).filePath(QStringLiteral("templates")) + QLatin1Char('/')};
    Host.Context.SysParams = &Params;
}

TReportContext TReportScope::Context(const QString& APrefix, const QString& AUnitName,
                                     const QString& AFundCode) const {
    TReportFilter Filter;
    Filter.BTypeIndex = QStringLiteral("1");
    Filter.SubTypeIndex = 0;
    Filter.UnitPrefix = APrefix;
    Filter.UnitName = AUnitName;
    return MakeReportContext(Filter, QStringLiteral("预算数"), AFundCode);
}

QStringList RowTexts(const TCellDocument& AGrid, int ARow, int ALastCol) {
    QStringList Texts;
    for (int Col = 1; Col <= ALastCol; ++Col)
        Texts << AGrid.CellText(Col, ARow);
    return Texts;
}
