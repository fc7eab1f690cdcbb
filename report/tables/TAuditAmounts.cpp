#include "TAuditAmounts.h"

#include <algorithm>
#include <cmath>

TAuditAmounts& TAuditAmounts::operator+=(const TAuditAmounts& AOther) {
    for (std::size_t I = 0; I < Count; ++I)
        Value[I] += AOther.Value[I];
    return *this;
}

TAuditAmounts& TAuditAmounts::operator-=(const TAuditAmounts& AOther) {
    for (std::size_t I = 0; I < Count; ++I)
        Value[I] -= AOther.Value[I];
    return *this;
}

bool TAuditAmounts::Same(double A, double B) {
    // A cent is 0.000001 万元. Sums of many doubles drift by a few units of
    // their last place, relative to their size; the second term allows for
    // that on province-wide totals.
    const double Tolerance = 0.000001 + 1e-12 * std::max(std::fabs(A), std::fabs(B));
    return std::fabs(A - B) <= Tolerance;
}

int TAuditAmounts::FirstDifference(const TAuditAmounts& A, const TAuditAmounts& B,
                                   std::size_t AFirst) {
    for (std::size_t I = AFirst; I < Count; ++I) {
        if (!Same(A.Value[I], B.Value[I]))
            return int(I);
    }
    return -1;
}

bool TAuditAmounts::IsZero() const {
    return std::all_of(Value.begin(), Value.end(), [](double V) { return Same(V, 0); });
}
