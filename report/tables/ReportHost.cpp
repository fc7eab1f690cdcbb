#include "ReportHost.h"

#include "db/SharedLookups.h"
#include "hostcontext/HostContext.h"

#include <algorithm>

namespace {

constexpr int UnitCodeItem = 0;
constexpr int DeptClassItem = 4;
constexpr int TemplateFolderParam = 11;

const TCurUnit* CurUnit() {
    return HostContext ? HostContext->CurUnit : nullptr;
}

} // namespace

int HostYear() {
    return HostContext ? HostContext->DataYear : 0;
}

int HostDeptClass() {
    const TCurUnit* Unit = CurUnit();
    return Unit ? Unit->Items(DeptClassItem).toInt() : 0;
}

QString HostUnitCode() {
    const TCurUnit* Unit = CurUnit();
    return Unit ? ItemText(Unit->Items(UnitCodeItem)) : QString();
}

QString UnitTreeRoot(const QString& ALogin) {
    return ALogin.left(std::max<qsizetype>(0, ALogin.size() - 3));
}

QString TopNodePrefix(const QString& ALogin) {
    return ALogin.left(3);
}

QString HostTemplateFolder() {
    return HostContext && HostContext->SysParams
               ? HostContext->SysParams->GetSysParam(TemplateFolderParam)
               : QString();
}

int HostDefBTypeIndex() {
    return HostContext && HostContext->SysOptions ? HostContext->SysOptions->DefBTypeIndex : 0;
}

bool HostIsDepartmentUser() {
    return IsDepartmentUnit(CurUnit());
}

TReportContext MakeReportContext(const TReportFilter& AFilter, const QString& ABTypeText,
                                 const QString& AFundCode) {
    TReportContext Context;
    Context.Filter = AFilter;
    Context.Filter.Year = HostYear();
    Context.Filter.DeptClass = HostDeptClass();
    Context.Titles = BuildTitles(ABTypeText, AFundCode, AFilter.UnitName, Context.Filter.Year);
    Context.DepartmentUser = HostIsDepartmentUser();
    Context.UnitWord = Context.DepartmentUser ? QStringLiteral("部门") : QStringLiteral("单位");
    Context.TemplateFolder = HostTemplateFolder();
    // Only the detail table asks: a summary needs no lookup of the unit's
    // parent group.
    Context.ParentHasFewUnits = !AFundCode.isEmpty() && ParentHasFewUnits(CurUnit());
    return Context;
}
