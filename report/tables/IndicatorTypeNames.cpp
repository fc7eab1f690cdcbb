#include "IndicatorTypeNames.h"

namespace {

const char* const TypeNames[] = {"控制数", "预算数", "临时指标"};
const char* const SubTypes[] = {"当年预算", "结余预算", "追加预算"};

template <size_t N> QString Named(const char* const (&ANames)[N], int AIndex) {
    return AIndex >= 0 && AIndex < int(N) ? QString::fromUtf8(ANames[AIndex]) : QString();
}

} // namespace

QString IndicatorTypeName(int AType) {
    return Named(TypeNames, AType);
}

QString SubTypeName(int ASubType) {
    return Named(SubTypes, ASubType);
}

QStringList SubTypeNames() {
    QStringList Names;
    for (const char* Name : SubTypes)
        Names << QString::fromUtf8(Name);
    return Names;
}
