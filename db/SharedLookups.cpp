#include "SharedLookups.h"

#include "QueryLifetime.h"
#include "TARQuery.h"
#include "TQueryFailureWatch.h"
#include "hostcontext/HostContext.h"
#include "platform/Exception.h"
#include "platform/data/TAdoConn.h"

namespace {

constexpr int UnitCodeItem = 0;

} // namespace

bool OpenDefQuery(const QString& ASql, IARQueryPtr& AQuery) {
    QString Ignored;
    return OpenDefQuery(ASql, AQuery, Ignored);
}

bool OpenDefQuery(const QString& ASql, IARQueryPtr& AQuery, QString& AError) {
    AError.clear();
    try {
        IARQueryPtr Opened;
        OpenQuery(GetDefConnection(), ASql, Opened);
        AQuery = std::move(Opened);
        return true;
    } catch (const Exception& E) {
        AError = E.Message();
    } catch (const std::exception& E) {
        AError = QString::fromLocal8Bit(E.what());
    } catch (...) {
        AError = QStringLiteral("未知错误");
    }
    TQueryFailureWatch::Record(ASql, AError);
    return false;
}

QString ItemText(const QVariant& AItem) {
    return AItem.isNull() ? QString() : AItem.toString();
}

bool IsDepartmentUnit(const TCurUnit* AUnit) {
    if (!AUnit)
        return false;
    const QString Code = ItemText(AUnit->Items(UnitCodeItem));
    if (Code.size() != 6 || Code.mid(3, 3) != QLatin1String("001"))
        return false;
    const TSysOptions* Options = HostContext ? HostContext->SysOptions : nullptr;
    return Options && Options->DeptModeFlag == QLatin1String("1");
}

QString ParentGroupSql(const QString& APrefix, const TSqlDialect& ADialect) {
    return QStringLiteral("select * from pubdept where eid like ") + ADialect.LikePrefix(APrefix);
}

bool ParentHasFewUnits(const TCurUnit* AUnit) {
    if (IsDepartmentUnit(AUnit) || !AUnit)
        return false;
    const QString Code = ItemText(AUnit->Items(UnitCodeItem));
    const QString Prefix = Code.size() > 3 ? Code.left(Code.size() - 3) : QString();
    // The prefix is data: a code holding % or _ must match itself, not a
    // pattern (a code of %%%%%% would otherwise count every unit).
    TAdoConn* Conn = nullptr;
    try {
        Conn = GetDefConnection();
    } catch (...) {
        return false;
    }
    IARQueryPtr Query;
    if (!OpenDefQuery(ParentGroupSql(Prefix, Conn->Dialect()), Query))
        return false;
    return Query->GetQuery()->RecordCount() < 3;
}
