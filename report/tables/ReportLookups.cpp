#include "ReportLookups.h"

#include "db/SharedLookups.h"
#include "db/SqlLiteral.h"
#include "db/TARQuery.h"
#include "platform/data/TAdoConn.h"
#include "platform/data/TSqlDialect.h"

const TSqlDialect& DefDialect() {
    try {
        return GetDefConnection()->Dialect();
    } catch (...) {
        return TSqlDialect::ForKind(TSqlKind::Other);
    }
}

QString LookupSql(const QString& ATable, const QString& AField, const QString& ACondition) {
    QString Sql = QStringLiteral(" select ") + AField + QStringLiteral(" from ") + ATable +
                  QStringLiteral(" where 1=1");
    if (!ACondition.trimmed().isEmpty())
        Sql += QStringLiteral(" and ") + ACondition;
    return Sql;
}

bool LookupValue(const QString& ATable, const QString& AField, const QString& ACondition,
                 QString& AValue) {
    AValue.clear();
    IARQueryPtr Query;
    if (!OpenDefQuery(LookupSql(ATable, AField, ACondition), Query))
        return false;
    TARQuery& Rows = *Query->GetQuery();
    if (Rows.IsEmpty() || Rows.FieldCount() == 0)
        return false;
    AValue = Rows.Fields(0).AsString();
    return true;
}

namespace {
const QString MoneyKindTable = QStringLiteral("PubMoneyKind");
const QString MoneyKindField = QStringLiteral("Mid");
QString MoneyKindCondition(const QString& AName) {
    return QStringLiteral(" MName=") + QuotedSqlString(AName.trimmed());
}
} // namespace

QString MoneyKindIdSql(const QString& AName) {
    return LookupSql(MoneyKindTable, MoneyKindField, MoneyKindCondition(AName));
}

QString LookupMoneyKindId(const QString& AName) {
    QString Code;
    LookupValue(MoneyKindTable, MoneyKindField, MoneyKindCondition(AName), Code);
    return Code;
}

QString UnitName(const QString& AEid) {
    QString Name;
    LookupValue(QStringLiteral("pubdept"), QStringLiteral("ename"),
                QStringLiteral(" eid=") + QuotedSqlString(AEid), Name);
    return Name;
}

QString TopNodeName(const QString& APrefix) {
    const QString Name = UnitName(APrefix);
    return Name.trimmed().isEmpty() ? QString::fromUtf8(UnitTreeTitle) : Name;
}

QString SpecialAccountSql(const QString& AEid) {
    return QStringLiteral(" select specialaccount from pubdept where eid=") + QuotedSqlString(AEid);
}

bool IsSpecialAccount(const QString& AEid) {
    IARQueryPtr Query;
    if (!OpenDefQuery(SpecialAccountSql(AEid), Query))
        return false;
    TARQuery& Rows = *Query->GetQuery();
    return !Rows.IsEmpty() && Rows.Fields(0).AsString() == QStringLiteral("是");
}

QStringList ListFromQuery(const QString& ASql, bool AIncludeAll) {
    QStringList Names;
    for (const auto& [Id, Name] : CodedListFromQuery(ASql))
        Names << Name;
    if (AIncludeAll && !Names.isEmpty())
        Names.prepend(QStringLiteral("<全部>"));
    return Names;
}

QString MoneyKindListSql(int AVariant, bool ADescending, const QString& AExtra) {
    QString Sql;
    switch (AVariant) {
    case 0:
        Sql =
            QStringLiteral("select mid as id,mname as name from pubmoneykind where leafflag='0' ");
        break;
    case 1:
        Sql = QStringLiteral("select mid as id,mname as name from pubmoneykind where leafflag='0' "
                             "and mid in ('11','12','31')");
        break;
    case 2:
        Sql = QStringLiteral("select mid as id,mname as name from pubmoneykind where leafflag='0' "
                             "and mid in ('11','21')");
        break;
    case 3:
        Sql = QStringLiteral("select mid as id,mname as name from pubmoneykind where leafflag='0' "
                             "and mid in ('11','12')");
        break;
    default:
        return QString();
    }
    if (!AExtra.isEmpty())
        Sql += AExtra;
    if (AVariant == 2 || ADescending)
        Sql += QStringLiteral("order by mid desc ");
    return Sql;
}

QString FundNaturesSql(const QString& AWindowFilter) {
    return MoneyKindListSql(0, false,
                            QStringLiteral(" and mid in (select distinct mid from busibudgetadj ") +
                                AWindowFilter + QStringLiteral(")"));
}

QStringList FundNaturesWithData(const QString& AWindowFilter) {
    return ListFromQuery(FundNaturesSql(AWindowFilter), true);
}

QList<QPair<QString, QString>> CodedListFromQuery(const QString& ASql) {
    QList<QPair<QString, QString>> Entries;
    IARQueryPtr Query;
    if (!OpenDefQuery(ASql, Query))
        return Entries;
    TARQuery& Rows = *Query->GetQuery();
    const int Id = Rows.FieldIndex(QStringLiteral("id"));
    const int Name = Rows.FieldIndex(QStringLiteral("name"));
    if (Name < 0)
        return Entries;
    for (Rows.First(); !Rows.Eof(); Rows.Next())
        Entries.append(
            {Id < 0 ? QString() : Rows.Fields(Id).AsString(), Rows.Fields(Name).AsString()});
    return Entries;
}

QList<QPair<QString, QString>> CodedFundNaturesWithData(const QString& AWindowFilter) {
    return CodedListFromQuery(FundNaturesSql(AWindowFilter));
}

QString UnitsUnderSql(const QString& APrefix, const TSqlDialect& ADialect) {
    return QStringLiteral("select eid as id,ename as name from pubdept where replaceflag='0' and "
                          "useflag='0' and eid like ") +
           ADialect.LikePrefix(APrefix) + QStringLiteral(" and eid<>") + QuotedSqlString(APrefix) +
           QStringLiteral(" order by eid");
}

QList<QPair<QString, QString>> UnitsUnder(const QString& APrefix) {
    return CodedListFromQuery(UnitsUnderSql(APrefix, DefDialect()));
}

QString UnitTreeSql(const QString& ARoot, const TSqlDialect& ADialect) {
    return QStringLiteral("select eid,peid,leafflag,ename,") +
           ADialect.Concat(
               {QStringLiteral("eid"), QStringLiteral("' '"), QStringLiteral("ename")}) +
           QStringLiteral(" as tname from pubdept where replaceflag='0' and useflag='0' and eid "
                          "like ") +
           ADialect.LikePrefix(ARoot);
}
