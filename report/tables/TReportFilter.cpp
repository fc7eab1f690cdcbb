#include "TReportFilter.h"

#include "platform/data/TSqlDialect.h"

// The blanks inside the pieces are part of the queries' fixed texts, kept
// byte for byte because the servers' cached plans and the offices' stored
// reports depend on them; the three filters differ only in them.

QString TReportFilter::SubTypeCondition() const {
    if (BTypeIndex != QLatin1String("1"))
        return QString();
    switch (SubTypeIndex) {
    case 0:
        return QStringLiteral(" and bkid='21' and btypechild='1'");
    case 1:
        return QStringLiteral(" and bkid='22' ");
    case 2:
        return QStringLiteral(" and bkid='21' and btypechild='2' ");
    default:
        return QString();
    }
}

QString TReportFilter::UnitCondition(const TSqlDialect& ADialect) const {
    // A code is data: its quotes are doubled and its wildcards escaped, so
    // '101%' keeps its plain form and odd codes still match only
    // themselves.
    return QStringLiteral(" and eid like ") + ADialect.LikePrefix(UnitPrefix) + QLatin1Char(' ');
}

QString TReportFilter::WindowFilter(const TSqlDialect& ADialect) const {
    return QStringLiteral(" where datayear=") + QString::number(Year) + UnitCondition(ADialect) +
           QStringLiteral(" and pid<>''  ") + QStringLiteral("  and  BType='") + BTypeIndex +
           QStringLiteral("' ") + QStringLiteral(" and deptclass='") + QString::number(DeptClass) +
           QStringLiteral("' ") + SubTypeCondition();
}

QString TReportFilter::SummaryFilter(const TSqlDialect& ADialect) const {
    return QStringLiteral(" and datayear=") + QString::number(Year) + UnitCondition(ADialect) +
           QStringLiteral(" and pid<>''  ") + QStringLiteral(" and BType='") + BTypeIndex +
           QStringLiteral("' ") + QStringLiteral(" and deptclass='") + QString::number(DeptClass) +
           QStringLiteral("' ") + SubTypeCondition();
}

QString TReportFilter::DetailFilter(const TSqlDialect& ADialect) const {
    return QStringLiteral(" and datayear=") + QString::number(Year) + UnitCondition(ADialect) +
           QStringLiteral(" and pid<>'' ") + QStringLiteral(" and BType='") + BTypeIndex +
           QStringLiteral("' ") + QStringLiteral(" and deptclass='") + QString::number(DeptClass) +
           QStringLiteral("' ") + SubTypeCondition();
}
